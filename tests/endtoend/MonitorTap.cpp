#include "MonitorTap.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

extern char** environ;

namespace quor::testing {

double steadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

MonitorTap::MonitorTap() {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return;
  const char* source = std::getenv("PULSE_SOURCE");
  const std::string device = std::string("--device=") + (source != nullptr ? source : "");
  // Small fragments: each sample reaches this process a few milliseconds after the sink played
  // it, which is what places it on the clock.
  std::vector<std::string> args = {"parec",        "--raw",        "--format=s16le",
                                   "--channels=1", "--rate=48000", "--latency-msec=5"};
  if (source != nullptr) args.push_back(device);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
  if (posix_spawnp(&pid_, "parec", &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  fd_ = pipeFds[0];
  if (pid_ > 0) reader_ = std::thread([this] { read(); });
}

MonitorTap::~MonitorTap() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  if (reader_.joinable()) reader_.join();
  if (fd_ >= 0) ::close(fd_);
}

void MonitorTap::read() {
  std::vector<int16_t> block(1024);
  size_t pendingByte = 0;  // a read may end inside a sample
  auto* bytes = reinterpret_cast<char*>(block.data());
  for (;;) {
    const ssize_t n = ::read(fd_, bytes + pendingByte, block.size() * 2 - pendingByte);
    if (n <= 0) return;
    const double arrived = steadySeconds();
    const size_t total = pendingByte + static_cast<size_t>(n);
    const size_t whole = total / 2;
    std::lock_guard lock(mutex_);
    samples_.insert(samples_.end(), block.begin(), block.begin() + static_cast<ptrdiff_t>(whole));
    origin_ = std::min(origin_, arrived - static_cast<double>(samples_.size()) / kRate);
    pendingByte = total % 2;
    if (pendingByte != 0) bytes[0] = bytes[total - 1];
    flowing_.notify_all();
  }
}

bool MonitorTap::waitUntilListening(double seconds) {
  if (pid_ <= 0) return false;
  std::unique_lock lock(mutex_);
  // A tenth of a second heard: the stream runs steadily.
  return flowing_.wait_for(lock, std::chrono::duration<double>(seconds),
                           [this] { return samples_.size() >= kRate / 10; });
}

std::optional<double> MonitorTap::firstSoundAfter(double since, double fraction) const {
  std::lock_guard lock(mutex_);
  if (samples_.empty()) return std::nullopt;
  const double from = (since - origin_) * kRate;
  const auto threshold = static_cast<int>(fraction * 32767);
  for (size_t i = from > 0 ? static_cast<size_t>(from) : 0; i < samples_.size(); ++i)
    if (std::abs(samples_[i]) >= threshold) return origin_ + static_cast<double>(i) / kRate - since;
  return std::nullopt;
}

}  // namespace quor::testing
