#pragma once
#include <cstdint>
#include <functional>
#include <map>

#include "RecordingHost.h"
#include "SimulatedWaveOut.h"

namespace quor::testing {

// A host whose time is a fake clock over the simulated device. Time passes only while the run
// waits: while the run waits for a tone the device plays 20 ms at a time, and a delay step is
// 100 ms. What the user does (Next, Cancel) is scheduled on the clock and happens inside the
// waits, where the dialog's buttons are handled.
class FakeClockHost : public RecordingHost {
 public:
  explicit FakeClockHost(audio::SimulatedWaveOut& device) : device_(device) {}

  // Runs `action` in the first pass of a wait at or after `ms` on the clock.
  void at(int64_t ms, std::function<void()> action) { actions_.emplace(ms, std::move(action)); }
  int64_t now() const { return nowMs_; }

  // One line of the run: its status and the clock and the device from the status to the end
  // of its wait.
  struct Line {
    std::string status;
    int64_t startMs = 0, endMs = 0;
    uint64_t startFrame = 0, endFrame = 0;
    int64_t ms() const { return endMs - startMs; }
    uint64_t frames() const { return endFrame - startFrame; }
  };
  std::vector<Line> lines;
  // Called when a line has been carried out, before its wait.
  std::function<void()> onLineCarriedOut;
  int delaySteps = 0;

  void setStatus(const std::string& text) override;
  void waitWhileBusy(const std::function<bool()>& busy) override;
  void delayStep() override;

 private:
  void elapse(int ms);
  void pass();
  uint64_t framesPlayed() const;

  audio::SimulatedWaveOut& device_;
  std::multimap<int64_t, std::function<void()>> actions_;
  int64_t nowMs_ = 0;
};

}  // namespace quor::testing
