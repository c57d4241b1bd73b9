#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ToneOutput.h"

namespace quor::testing {

// A stand-in for the audio output component that records what the engine asks of it. Its
// start fills the ring through `fill` as the component does: every buffer once, failing with
// the component's message when the first answer is false.
class FakeToneOutput : public ToneOutput {
 public:
  uint32_t waveDevice() const override { return device; }
  void setWaveDevice(uint32_t d) override { device = d; }
  int quantization() const override { return bits; }
  void setQuantization(int b) override { bits = b < 8 ? 8 : (b > 24 ? 24 : b); }
  bool active() const override { return isActive; }
  void stopAtOnce() override {
    ++stops;
    isActive = false;
  }
  void finishPendingStop() override { ++pendingStopsFinished; }
  void setStereo(bool s) override { stereo = s; }
  void setFrameRate(int32_t r) override { frameRate = r; }
  void setNumBuffers(int32_t n) override { numBuffers = n; }
  void setBufferSize(int32_t b) override { bufferSize = b; }
  bool start() override {
    ++starts;
    if (refuseOpen) {
      error = "The device is not available";
      return false;
    }
    ring.assign(numBuffers, std::vector<uint8_t>(bufferSize));
    for (int i = 0; i < numBuffers; ++i) {
      int32_t size = bufferSize;
      answers.push_back(fill && fill(ring[i].data(), size));
      if (i == 0 && !answers.back()) {
        error = "There must be at least one filled buffer";
        return false;
      }
    }
    isActive = true;
    return true;
  }
  std::string errorMessage() const override { return error; }
  std::string failureSinceStart() const override { return failure; }

  std::function<bool(uint8_t*, int32_t&)> fill;
  uint32_t device = 0xFFFFFFFF;
  int bits = 16;
  bool isActive = false;
  bool refuseOpen = false;
  bool stereo = true;
  int32_t frameRate = 0, numBuffers = 0, bufferSize = 0;
  int starts = 0, stops = 0, pendingStopsFinished = 0;
  std::string error;
  std::string failure;  // a device failure while playing, as the stop notification finds it
  std::vector<std::vector<uint8_t>> ring;
  std::vector<bool> answers;
};

}  // namespace quor::testing
