#include "FirstPaintReport.h"

#include <QEvent>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "TfrmStartSplash.h"

namespace quor {

namespace {

bool partOfTheSplash(QObject* object) {
  const auto* widget = qobject_cast<QWidget*>(object);
  return widget != nullptr && dynamic_cast<const TfrmStartSplash*>(widget->window()) != nullptr;
}

}  // namespace

bool FirstPaintReport::eventFilter(QObject* watched, QEvent* event) {
  if (!reported_ && event->type() == QEvent::Paint && !partOfTheSplash(watched)) {
    reported_ = true;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::printf(
        "first-paint %lld\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    std::fflush(stdout);
  }
  return QObject::eventFilter(watched, event);
}

void reportFirstPaintIfAsked(QObject* application) {
  const char* asked = std::getenv("QUOR_REPORT_FIRST_PAINT");
  if (asked == nullptr || std::strcmp(asked, "1") != 0) return;
  application->installEventFilter(new FirstPaintReport(application));
}

}  // namespace quor
