#pragma once
#include <cstdint>
#include <functional>

#include "FileWaveOut.h"
#include "ProgressBar.h"
#include "ScriptConsoleHost.h"

namespace quor::tools {

// The host of `quorgen render SCRIPT`: virtual time, as fast as the machine allows. Tones go
// through the output component into the file device as in a render of one tone; a delay
// step adds a tenth of a second of silence to the file instead of sleeping; a pause is
// skipped with its message on standard error. At the frame limit the run is cancelled.
class ScriptRenderHost : public ScriptConsoleHost {
 public:
  ScriptRenderHost(std::ostream& err, audio::FileWaveOut& file)
      : ScriptConsoleHost(err), file_(file) {}

  // Before the run: the sample rate of the script's tones, the frames at which the run ends
  // (0: none), what ends it, and the progress bar to keep up to date, if any.
  void begin(int32_t sampleRate, uint64_t limitFrames, std::function<void()> cancelRun,
             ProgressBar* progress);
  double secondsRendered() const;

  void setStatus(const std::string&) override { delayStepsDone_ = 0; }
  void pause(const std::string& text) override;
  void waitWhileBusy(const std::function<bool()>& busy) override;
  void delayStep() override;

 protected:
  void say(const std::string& line) override;

 private:
  void watch();

  audio::FileWaveOut& file_;
  int32_t sampleRate_ = 0;
  uint64_t limitFrames_ = 0;
  bool limitReached_ = false;
  std::function<void()> cancelRun_;
  ProgressBar* progress_ = nullptr;
  int64_t delayStepsDone_ = 0;  // in the delay line being rendered
};

// Where step `step` of a delay ends, in frames from the delay's start: step × rate / 10,
// rounded to the nearest frame (ties to even). At a rate that is no multiple of ten the steps
// differ by a frame, and each whole second holds exactly `rate` frames.
uint64_t delayStepEnd(int64_t step, int32_t sampleRate);

}  // namespace quor::tools
