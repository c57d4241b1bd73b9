#include "ToneOutputAdapter.h"

#include <algorithm>
#include <limits>

namespace quor::audio {

ToneOutputAdapter::ToneOutputAdapter(WaveOutDevice& platform)
    : AudioOut1(new TAudioOut(platform)) {}

ToneOutputAdapter::~ToneOutputAdapter() {
  delete AudioOut1;
}

void ToneOutputAdapter::connectSwitch(quor::ToneSwitch& toneSwitch, std::function<void()> afterStop,
                                      std::function<void()> afterStart) {
  AudioOut1->SetOnStart([&toneSwitch, afterStart = std::move(afterStart)](TCallBackWinOut*) {
    toneSwitch.AudioOut1Start();
    if (afterStart) afterStart();
  });
  AudioOut1->SetOnStop([&toneSwitch, afterStop = std::move(afterStop)](TCallBackWinOut*) {
    toneSwitch.AudioOut1Stop();
    if (afterStop) afterStop();
  });
  AudioOut1->SetOnFillBuffer([&toneSwitch](uint8_t* Buffer, int32_t& Size) {
    return toneSwitch.AudioOut1FillBuffer(Buffer, Size);
  });
}

void ToneOutputAdapter::setQuantization(int bits) {
  AudioOut1->SetQuantization(static_cast<uint16_t>(std::clamp(bits, 0, 0xFFFF)));
}

bool ToneOutputAdapter::start() {
  // The component keeps its last error text across starts; the host clears it, so that a text
  // that appears later tells of a failure of this output.
  AudioOut1->ErrorMessage.clear();
  started_ = AudioOut1->Start(AudioOut1);
  return started_;
}

std::string ToneOutputAdapter::failureSinceStart() const {
  return started_ ? AudioOut1->ErrorMessage : std::string();
}

void ToneOutputAdapter::setFrameRate(int32_t samplesPerSecond) {
  AudioOut1->SetFrameRate(samplesPerSecond);
}

}  // namespace quor::audio
