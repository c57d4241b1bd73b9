#include "FlashWindowPacing.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <chrono>

namespace quor {

void EventLoopPacing::processMessages() {
  QCoreApplication::processEvents();
}

void EventLoopPacing::wait(int milliseconds) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  for (auto now = Clock::now(); now < deadline; now = Clock::now()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
    QThread::msleep(static_cast<unsigned long>(std::clamp<long long>(left.count(), 1, kStepMs)));
    QCoreApplication::processEvents();
  }
}

}  // namespace quor
