#pragma once
#include <functional>

#include "AudioIO.h"
#include "ToneOutput.h"
#include "ToneSwitch.h"

namespace quor::audio {

// The engine's view of the output component: one TAudioOut, AudioOut1, whose events go to the
// tone switch once connectSwitch has run.
class ToneOutputAdapter : public quor::ToneOutput {
 public:
  explicit ToneOutputAdapter(WaveOutDevice& platform);
  ~ToneOutputAdapter() override;
  ToneOutputAdapter(const ToneOutputAdapter&) = delete;
  ToneOutputAdapter& operator=(const ToneOutputAdapter&) = delete;

  // OnStart, OnStop and OnFillBuffer of the component raise the switch's handlers. `afterStop`
  // and `afterStart`, if given, run after AudioOut1Stop and AudioOut1Start, for a host that
  // follows the output's state.
  void connectSwitch(quor::ToneSwitch& toneSwitch, std::function<void()> afterStop = {},
                     std::function<void()> afterStart = {});

  TAudioOut& component() { return *AudioOut1; }

  uint32_t waveDevice() const override { return AudioOut1->WaveDevice(); }
  void setWaveDevice(uint32_t device) override { AudioOut1->SetWaveDevice(device); }
  int quantization() const override { return AudioOut1->Quantization(); }
  void setQuantization(int bits) override;
  bool active() const override { return AudioOut1->Active; }
  void stopAtOnce() override { AudioOut1->StopAtOnce(); }
  void finishPendingStop() override { AudioOut1->FinishPendingClose(); }
  void setStereo(bool stereo) override { AudioOut1->SetStereo(stereo); }
  void setFrameRate(int32_t samplesPerSecond) override;
  void setNumBuffers(int32_t count) override { AudioOut1->SetNumBuffers(count); }
  void setBufferSize(int32_t bytes) override { AudioOut1->SetBufferSize(bytes); }
  bool start() override;
  std::string errorMessage() const override { return AudioOut1->ErrorMessage; }
  std::string failureSinceStart() const override;

 private:
  TAudioOut* AudioOut1;  // the host's variable that notifications read the component through
  bool started_ = false;
};

}  // namespace quor::audio
