#pragma once
#include <cstdint>
#include <string>

namespace quor {

// What the engine needs of the audio output component. The component reports back through
// ToneSwitch::AudioOut1Start / AudioOut1Stop and ToneSwitch::AudioOut1FillBuffer.
class ToneOutput {
 public:
  virtual ~ToneOutput() = default;

  virtual uint32_t waveDevice() const = 0;  // 0xFFFFFFFF: the system's default output
  virtual void setWaveDevice(uint32_t device) = 0;
  virtual int quantization() const = 0;  // bits per sample
  virtual void setQuantization(int bits) = 0;
  virtual bool active() const = 0;
  virtual void stopAtOnce() = 0;
  // Completes a stop whose notifications are still pending (a previous device still closing):
  // the previous device is reset and closed and its notifications, the stop notification
  // included, are delivered now. Called before a new start so that a late stop notification of
  // the old device never arrives while the new tone plays.
  virtual void finishPendingStop() = 0;

  // Configuration before a start, then the start itself.
  virtual void setStereo(bool stereo) = 0;
  virtual void setFrameRate(int32_t samplesPerSecond) = 0;
  virtual void setNumBuffers(int32_t count) = 0;
  virtual void setBufferSize(int32_t bytes) = 0;
  virtual bool start() = 0;  // false with errorMessage() set
  virtual std::string errorMessage() const = 0;
  // The device's error text when the output started last has failed since (its device went
  // away while playing); empty after a failed start and while all is well.
  virtual std::string failureSinceStart() const = 0;
};

}  // namespace quor
