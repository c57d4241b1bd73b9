#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "AudioIO.h"
#include "EventLoop.h"
#include "SimulatedWaveOut.h"

namespace quor::audio::testing {

// A component on a simulated device, with a fill that numbers its buffers and a log of the
// events it raises in the order they come.
class AudioOutFixture : public ::testing::Test {
 protected:
  AudioOutFixture() {
    out = new TAudioOut(device);
    out->SetOnStart([this](TCallBackWinOut* sender) {
      log.push_back("start");
      senders.push_back(sender);
    });
    out->SetOnStop([this](TCallBackWinOut* sender) {
      log.push_back("stop");
      senders.push_back(sender);
    });
  }
  ~AudioOutFixture() override { delete out; }

  // Ring of `count` buffers of `bytes`, 16-bit mono at 22050 samples per second.
  void configure(int32_t count, int32_t bytes) {
    out->SetNumBuffers(count);
    out->SetFrameRate(22050);
    out->SetStereo(false);
    out->SetQuantization(16);
    out->SetBufferSize(bytes);
  }

  // Fills every byte of buffer k with k (k counts from 1); `answers` gives the answer of each
  // fill in turn, the last one repeating (all true when empty).
  void useNumberingFill(std::vector<bool> answers = {}) {
    fillAnswers = std::move(answers);
    out->SetOnFillBuffer([this](uint8_t* buffer, int32_t& size) {
      ++fills;
      std::fill(buffer, buffer + size, static_cast<uint8_t>(fills));
      const size_t i = static_cast<size_t>(fills - 1);
      if (fillAnswers.empty()) return true;
      return static_cast<bool>(fillAnswers[std::min(i, fillAnswers.size() - 1)]);
    });
  }

  // Lets the event loop deliver what is queued.
  static void pump() {
    for (int i = 0; i < 5; ++i) threadEventLoop().processEvents(false);
  }

  // Plays `frames` frames and delivers the resulting notifications.
  void play(uint32_t frames) {
    device.advance(frames);
    pump();
  }

  int count(const std::string& event) const {
    return static_cast<int>(std::count(log.begin(), log.end(), event));
  }

  SimulatedWaveOut device;
  TAudioOut* out = nullptr;  // the host's variable, as Start needs it
  std::vector<std::string> log;
  std::vector<TCallBackWinOut*> senders;
  std::vector<bool> fillAnswers;
  int fills = 0;
};

}  // namespace quor::audio::testing
