#include "EventLoop.h"

#include "PollEventLoop.h"

namespace quor {

namespace {
thread_local EventLoop* installed = nullptr;
}  // namespace

EventLoop& threadEventLoop() {
  if (installed != nullptr) return *installed;
  thread_local PollEventLoop own;
  return own;
}

void setThreadEventLoop(EventLoop* loop) {
  installed = loop;
}

}  // namespace quor
