#pragma once
#include <chrono>
#include <functional>
#include <memory>

namespace quor {

// What the sound device layer, the script waits and the command-line tool need of the event loop
// of the thread they run on. The window runs Qt's loop (QtEventLoop); the command-line tool runs
// a plain one (PollEventLoop) and so never loads Qt, which would cost most of its start.
class EventLoop {
 public:
  // A watch or a timer lasts as long as its registration; dropping it, even from inside its own
  // callback, ends it.
  class Registration {
   public:
    virtual ~Registration() = default;
  };
  using Handle = std::unique_ptr<Registration>;

  virtual ~EventLoop() = default;

  // Calls `onReadable` on this loop's thread each time `fd` has something to read.
  virtual Handle watchReadable(int fd, std::function<void()> onReadable) = 0;
  // Calls `onTimeout` every `interval` (once, when `singleShot`).
  virtual Handle startTimer(std::chrono::milliseconds interval, bool singleShot,
                            std::function<void()> onTimeout) = 0;
  // From any thread: runs `task` on this loop's thread, after the work under way there, in the
  // order posted.
  virtual void post(std::function<void()> task) = 0;
  // Handles everything pending. With `waitForMore`, first sleeps until something arrives when
  // nothing is pending.
  virtual void processEvents(bool waitForMore) = 0;
};

// The loop of the calling thread: the one installed for it, or else a plain loop of its own,
// created at the first call.
EventLoop& threadEventLoop();
// Installs `loop` as the calling thread's loop (nullptr: back to the plain one). The loop must
// outlive everything that was created on this thread while it was installed.
void setThreadEventLoop(EventLoop* loop);

}  // namespace quor
