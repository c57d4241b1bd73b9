#include "FakeClockHost.h"

#include <stdexcept>

#include "EventLoop.h"

namespace quor::testing {

namespace {

// A run that never ends would hang the test; it ends with this error instead.
constexpr int64_t kClockLimitMs = 2LL * 3600 * 1000;

}  // namespace

uint64_t FakeClockHost::framesPlayed() const {
  const uint32_t bytesPerFrame = device_.lastFormat().nBlockAlign;
  return device_.played().size() / (bytesPerFrame == 0 ? 1 : bytesPerFrame);
}

void FakeClockHost::setStatus(const std::string& text) {
  RecordingHost::setStatus(text);
  lines.push_back({text, nowMs_, nowMs_, framesPlayed(), framesPlayed()});
}

void FakeClockHost::waitWhileBusy(const std::function<bool()>& busy) {
  if (onLineCarriedOut) onLineCarriedOut();
  pass();
  while (busy()) {
    elapse(20);
    pass();
  }
  lines.back().endMs = nowMs_;
  lines.back().endFrame = framesPlayed();
}

void FakeClockHost::delayStep() {
  ++delaySteps;
  elapse(100);
  pass();
}

void FakeClockHost::elapse(int ms) {
  if (nowMs_ > kClockLimitMs) throw std::runtime_error("the fake clock ran out");
  nowMs_ += ms;
  device_.advance(device_.lastFormat().nSamplesPerSec * ms / 1000);
}

// As in an event loop, what the user's actions raise (the stop of a tone cut short) is handled
// in the next pass, not in the one that handled the action.
void FakeClockHost::pass() {
  device_.deliverPending();
  threadEventLoop().processEvents(false);
  while (!actions_.empty() && actions_.begin()->first <= nowMs_) {
    const auto action = actions_.begin()->second;
    actions_.erase(actions_.begin());
    action();
  }
}

}  // namespace quor::testing
