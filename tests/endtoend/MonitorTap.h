#pragma once
#include <sys/types.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace quor::testing {

// Listens to the null sink's monitor through parec and keeps what it hears with the time it
// arrived, so that a moment on the steady clock can be found in the recording.
class MonitorTap {
 public:
  MonitorTap();
  ~MonitorTap();
  MonitorTap(const MonitorTap&) = delete;
  MonitorTap& operator=(const MonitorTap&) = delete;

  // Waits until the monitor's sound flows (parec takes a while to begin); false if it does
  // not within `seconds`.
  bool waitUntilListening(double seconds);
  // Seconds from `since` (steady clock, seconds) to the first sample at least `fraction` of
  // full scale heard after it; nullopt when nothing that loud has come yet.
  std::optional<double> firstSoundAfter(double since, double fraction = 0.1) const;

  static constexpr int kRate = 48000;

 private:
  void read();

  pid_t pid_ = -1;
  int fd_ = -1;
  std::thread reader_;
  mutable std::mutex mutex_;
  std::condition_variable flowing_;
  std::vector<int16_t> samples_;
  // The earliest moment the first sample can have been heard: every read that brings the
  // recording to n samples arrives n / kRate seconds after it at the earliest.
  double origin_ = 1e300;
};

// Seconds on the steady clock.
double steadySeconds();

}  // namespace quor::testing
