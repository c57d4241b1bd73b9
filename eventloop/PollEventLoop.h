#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>

#include "EventLoop.h"

namespace quor {

// An event loop on poll(2) alone: file watches, timers on the steady clock, and tasks posted
// from any thread, which wake it through an eventfd. A program that uses only this loop does not
// load Qt.
class PollEventLoop : public EventLoop {
 public:
  PollEventLoop();
  ~PollEventLoop() override;
  PollEventLoop(const PollEventLoop&) = delete;
  PollEventLoop& operator=(const PollEventLoop&) = delete;

  Handle watchReadable(int fd, std::function<void()> onReadable) override;
  Handle startTimer(std::chrono::milliseconds interval, bool singleShot,
                    std::function<void()> onTimeout) override;
  void post(std::function<void()> task) override;
  void processEvents(bool waitForMore) override;

 private:
  using Clock = std::chrono::steady_clock;
  struct Watch {
    int fd;
    std::function<void()> onReadable;
  };
  struct Timer {
    Clock::time_point due;
    std::chrono::milliseconds interval;
    bool singleShot;
    std::function<void()> onTimeout;
  };
  // Shared with the registrations, which may outlive the loop (a thread's own loop goes at the
  // thread's end, maybe before objects that still hold a watch).
  struct Registry {
    std::map<uint64_t, std::shared_ptr<Watch>> watches;
    std::map<uint64_t, std::shared_ptr<Timer>> timers;
    uint64_t nextId = 1;
  };
  class Entry;

  bool runPosted();
  bool fireDueTimers();
  // Waits up to `timeoutNs` (negative: without limit) for the wake-up or a watched file, and
  // handles what came.
  bool pollFiles(int64_t timeoutNs);
  int64_t nsUntilNextTimer() const;

  std::shared_ptr<Registry> registry_;
  std::mutex postedLock_;
  std::deque<std::function<void()>> posted_;
  int wakeFd_ = -1;
};

}  // namespace quor
