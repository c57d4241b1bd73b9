#pragma once
#include <QObject>

#include "EventLoop.h"

namespace quor {

// The event loop of a Qt program's thread, installed as that thread's loop for as long as it
// lives, so that the sound device layer and the script waits run on the loop the window runs.
class QtEventLoop : public EventLoop {
 public:
  QtEventLoop();
  ~QtEventLoop() override;
  QtEventLoop(const QtEventLoop&) = delete;
  QtEventLoop& operator=(const QtEventLoop&) = delete;

  Handle watchReadable(int fd, std::function<void()> onReadable) override;
  Handle startTimer(std::chrono::milliseconds interval, bool singleShot,
                    std::function<void()> onTimeout) override;
  void post(std::function<void()> task) override;
  void processEvents(bool waitForMore) override;

 private:
  QObject context_;  // posted tasks run in its name, on this thread
};

}  // namespace quor
