#include "ScriptRenderHost.h"

#include "EventLoop.h"
#include "EventLoopWaits.h"
#include "ToneError.h"

namespace quor::tools {

uint64_t delayStepEnd(int64_t step, int32_t sampleRate) {
  const auto tenths = static_cast<uint64_t>(step) * static_cast<uint64_t>(sampleRate);
  uint64_t frames = tenths / 10;
  const uint64_t rest = tenths % 10;
  if (rest > 5 || (rest == 5 && frames % 2 == 1)) ++frames;
  return frames;
}

void ScriptRenderHost::begin(int32_t sampleRate, uint64_t limitFrames,
                             std::function<void()> cancelRun, ProgressBar* progress) {
  sampleRate_ = sampleRate;
  limitFrames_ = limitFrames;
  cancelRun_ = std::move(cancelRun);
  progress_ = progress;
}

double ScriptRenderHost::secondsRendered() const {
  return sampleRate_ > 0 ? static_cast<double>(file_.framesInFile()) / sampleRate_ : 0.0;
}

void ScriptRenderHost::pause(const std::string& text) {
  say(text + " (skipped in a render)");
}

void ScriptRenderHost::waitWhileBusy(const std::function<bool()>& busy) {
  // The file device answers every buffer at once, so there is always an event until the tone
  // has ended: the wait never sleeps.
  waitForEventsWhile([&] {
    watch();
    return busy();
  });
}

void ScriptRenderHost::delayStep() {
  ++delayStepsDone_;
  const uint64_t frames =
      delayStepEnd(delayStepsDone_, sampleRate_) - delayStepEnd(delayStepsDone_ - 1, sampleRate_);
  std::string error;
  if (!file_.appendSilence(frames, error)) throw ToneError(error);
  // Ctrl+C among it.
  threadEventLoop().processEvents(false);
  watch();
}

void ScriptRenderHost::watch() {
  if (progress_) progress_->show(secondsRendered());
  if (limitFrames_ == 0 || limitReached_ || file_.framesInFile() < limitFrames_) return;
  limitReached_ = true;
  cancelRun_();
}

void ScriptRenderHost::say(const std::string& line) {
  if (progress_) progress_->clear();
  ScriptConsoleHost::say(line);
}

}  // namespace quor::tools
