#include "EventTime.h"

#include <QEventLoop>
#include <QTimer>

namespace quor::bench {

void runEventsFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace quor::bench
