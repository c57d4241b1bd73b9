#include "PollEventLoop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace quor {

class PollEventLoop::Entry : public EventLoop::Registration {
 public:
  Entry(std::weak_ptr<Registry> registry, uint64_t id, bool timer)
      : registry_(std::move(registry)), id_(id), timer_(timer) {}
  ~Entry() override {
    if (const auto registry = registry_.lock()) {
      if (timer_)
        registry->timers.erase(id_);
      else
        registry->watches.erase(id_);
    }
  }

 private:
  std::weak_ptr<Registry> registry_;
  uint64_t id_;
  bool timer_;
};

PollEventLoop::PollEventLoop() : registry_(std::make_shared<Registry>()) {
  wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wakeFd_ < 0) std::perror("quor: eventfd");
}

PollEventLoop::~PollEventLoop() {
  if (wakeFd_ >= 0) ::close(wakeFd_);
}

EventLoop::Handle PollEventLoop::watchReadable(int fd, std::function<void()> onReadable) {
  const uint64_t id = registry_->nextId++;
  registry_->watches[id] = std::make_shared<Watch>(Watch{fd, std::move(onReadable)});
  return std::make_unique<Entry>(registry_, id, false);
}

EventLoop::Handle PollEventLoop::startTimer(std::chrono::milliseconds interval, bool singleShot,
                                            std::function<void()> onTimeout) {
  const uint64_t id = registry_->nextId++;
  registry_->timers[id] = std::make_shared<Timer>(
      Timer{Clock::now() + interval, interval, singleShot, std::move(onTimeout)});
  return std::make_unique<Entry>(registry_, id, true);
}

void PollEventLoop::post(std::function<void()> task) {
  {
    const std::lock_guard lock(postedLock_);
    posted_.push_back(std::move(task));
  }
  const uint64_t one = 1;
  if (wakeFd_ >= 0) {
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
  }
}

bool PollEventLoop::runPosted() {
  std::deque<std::function<void()>> tasks;
  {
    const std::lock_guard lock(postedLock_);
    tasks.swap(posted_);
  }
  // What these tasks post waits for the next pass, so that a task that posts again cannot keep
  // the loop from its files and timers.
  for (auto& task : tasks) task();
  return !tasks.empty();
}

bool PollEventLoop::fireDueTimers() {
  const Clock::time_point now = Clock::now();
  std::vector<uint64_t> due;
  for (const auto& [id, timer] : registry_->timers)
    if (timer->due <= now) due.push_back(id);
  for (const uint64_t id : due) {
    // An earlier callback may have ended this timer; a callback that ends its own timer keeps
    // the function alive through `timer` until it returns.
    const auto it = registry_->timers.find(id);
    if (it == registry_->timers.end()) continue;
    const std::shared_ptr<Timer> timer = it->second;
    if (timer->singleShot)
      registry_->timers.erase(it);
    else
      timer->due = Clock::now() + timer->interval;
    timer->onTimeout();
  }
  return !due.empty();
}

int64_t PollEventLoop::nsUntilNextTimer() const {
  if (registry_->timers.empty()) return -1;
  Clock::time_point next = Clock::time_point::max();
  for (const auto& [id, timer] : registry_->timers) next = std::min(next, timer->due);
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(next - Clock::now()).count();
  return ns > 0 ? ns : 0;
}

bool PollEventLoop::pollFiles(int64_t timeoutNs) {
  std::vector<pollfd> files;
  std::vector<uint64_t> ids;
  files.push_back(pollfd{wakeFd_, POLLIN, 0});
  for (const auto& [id, watch] : registry_->watches) {
    files.push_back(pollfd{watch->fd, POLLIN, 0});
    ids.push_back(id);
  }
  timespec limit{};
  if (timeoutNs >= 0) {
    limit.tv_sec = static_cast<time_t>(timeoutNs / 1'000'000'000);
    limit.tv_nsec = static_cast<long>(timeoutNs % 1'000'000'000);
  }
  const int ready = ppoll(files.data(), files.size(), timeoutNs >= 0 ? &limit : nullptr, nullptr);
  if (ready <= 0) return false;
  bool handled = false;
  if (files[0].revents != 0) {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &count, sizeof count);
    handled = runPosted() || handled;
  }
  for (size_t i = 1; i < files.size(); ++i) {
    if (files[i].revents == 0) continue;
    const auto it = registry_->watches.find(ids[i - 1]);
    if (it == registry_->watches.end()) continue;
    const std::shared_ptr<Watch> watch = it->second;
    watch->onReadable();
    handled = true;
  }
  return handled;
}

void PollEventLoop::processEvents(bool waitForMore) {
  bool handled = runPosted();
  handled = fireDueTimers() || handled;
  handled = pollFiles(waitForMore && !handled ? nsUntilNextTimer() : 0) || handled;
  if (!handled && waitForMore) fireDueTimers();
}

}  // namespace quor
