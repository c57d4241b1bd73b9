#include "EventLoopWaits.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

namespace quor {

void waitForEventsWhile(const std::function<bool()>& busy) {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  while (busy()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
}

void sleepOneDelayStep() {
  QThread::msleep(100);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace quor
