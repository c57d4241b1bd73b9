#include "EventLoopWaits.h"

#include <chrono>
#include <thread>

#include "EventLoop.h"

namespace quor {

void waitForEventsWhile(const std::function<bool()>& busy) {
  EventLoop& loop = threadEventLoop();
  loop.processEvents(false);
  while (busy()) loop.processEvents(true);
}

void sleepOneDelayStep() {
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  threadEventLoop().processEvents(false);
}

}  // namespace quor
