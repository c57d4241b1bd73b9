#include "AudioOutFixture.h"

namespace quor::audio::testing {
namespace {

class AudioOutStream : public AudioOutFixture {
 protected:
  AudioOutStream() { configure(4, 8192); }
  static constexpr uint32_t kFrames = 4096;  // frames in one buffer

  // Fill numbers of the buffers played so far, one per buffer.
  std::vector<int> playedBuffers() const {
    std::vector<int> numbers;
    const auto& bytes = device.played();
    for (size_t i = 0; i < bytes.size(); i += 8192) numbers.push_back(bytes[i]);
    return numbers;
  }
};

TEST_F(AudioOutStream, OnStartFollowsTheStartWithTheCallbackWindowAsSender) {
  useNumberingFill();
  ASSERT_TRUE(out->Start(out));
  EXPECT_TRUE(log.empty());  // never from inside the call
  EXPECT_EQ(fills, 4);
  pump();
  ASSERT_EQ(log, std::vector<std::string>{"start"});
  EXPECT_EQ(senders[0], out->CallBackWindow());
  out->StopAtOnce();
  pump();
}

TEST_F(AudioOutStream, BuffersComeBackInRingOrderAndTheRingClosesWhenItRunsDry) {
  useNumberingFill({true, true, true, true, true, true, false});
  ASSERT_TRUE(out->Start(out));
  pump();
  play(5 * kFrames);
  EXPECT_TRUE(out->Active);
  EXPECT_EQ(count("stop"), 0);
  play(10 * kFrames);
  EXPECT_EQ(playedBuffers(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(log, (std::vector<std::string>{"start", "stop"}));
  EXPECT_FALSE(out->Active);
  EXPECT_FALSE(out->IsWaveDeviceOpen());
  EXPECT_EQ(out->FilledBuffers, 6);
  EXPECT_EQ(out->ProcessedBuffers, 6);
  EXPECT_EQ(out->QueuedBuffers, 0);
  // Fill events go on while the ring drains: one for each of the six completions.
  EXPECT_EQ(fills, 10);
  EXPECT_EQ(device.refusedCloses(), 0);
}

TEST_F(AudioOutStream, AFillThatAnswersTrueAgainResumesWithTheSameBuffer) {
  useNumberingFill({true, true, true, true, false, true, true, false});
  ASSERT_TRUE(out->Start(out));
  pump();
  for (int i = 0; i < 10; ++i) play(kFrames);
  // Fill 5 answered false, so fill 6 went into the same free buffer.
  EXPECT_EQ(playedBuffers(), (std::vector<int>{1, 2, 3, 4, 6, 7}));
  EXPECT_EQ(count("stop"), 1);
}

TEST_F(AudioOutStream, ASecondStartWhilePlayingIsRefusedAndChangesNothing) {
  useNumberingFill();
  ASSERT_TRUE(out->Start(out));
  const HWAVEOUT handle = out->WaveHandle;
  EXPECT_FALSE(out->Start(out));
  EXPECT_EQ(out->ErrorMessage, "Wave output device is already open");
  EXPECT_EQ(out->WaveHandle, handle);
  EXPECT_EQ(device.openCount(), 1);
  pump();
  play(2 * kFrames);
  EXPECT_TRUE(out->Active);
  EXPECT_EQ(fills, 6);
  EXPECT_EQ(log, std::vector<std::string>{"start"});
  out->StopAtOnce();
  pump();
}

TEST_F(AudioOutStream, PausedBeforeStartQueuesTheWholeRingOnAHaltedDevice) {
  useNumberingFill();
  out->SetPaused(true);
  ASSERT_TRUE(out->Start(out));
  pump();
  play(10 * kFrames);
  EXPECT_TRUE(device.played().empty());
  EXPECT_EQ(device.outstanding(out->WaveHandle), 4);
  out->SetPaused(false);
  play(kFrames);
  EXPECT_EQ(playedBuffers(), std::vector<int>{1});
  out->SetPaused(true);
  play(10 * kFrames);
  EXPECT_EQ(device.played().size(), 8192u);
  out->StopAtOnce();
  EXPECT_FALSE(out->Paused());  // a close clears the pause
  pump();
}

// The buffers filled at the start all play, whatever the answers after the first; the queue
// count reaches zero early, the close is refused until the last buffer is back, and OnStop
// comes once, after it.
TEST_F(AudioOutStream, FillsAnsweringFalseDuringTheStartStillPlayAndCloseOnce) {
  useNumberingFill({true, false, false, false});
  ASSERT_TRUE(out->Start(out));
  pump();
  play(kFrames);
  EXPECT_FALSE(out->Active);
  EXPECT_FALSE(out->IsWaveDeviceOpen());
  EXPECT_GE(device.refusedCloses(), 1);
  play(2 * kFrames);
  EXPECT_EQ(count("stop"), 0);
  play(kFrames);
  EXPECT_EQ(playedBuffers(), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(log, (std::vector<std::string>{"start", "stop"}));
  EXPECT_EQ(out->ProcessedBuffers, 4);
  EXPECT_EQ(out->QueuedBuffers, -3);
}

TEST_F(AudioOutStream, ASmallerSizeFromTheFillIsWhatPlays) {
  out->SetOnFillBuffer([this](uint8_t* buffer, int32_t& size) {
    ++fills;
    size = 100;
    std::fill(buffer, buffer + size, 7);
    return fills < 3;
  });
  ASSERT_TRUE(out->Start(out));
  pump();
  play(10 * kFrames);
  EXPECT_EQ(device.played().size(), 400u);  // the whole ring at 100 bytes each
  EXPECT_EQ(count("stop"), 1);
}

}  // namespace
}  // namespace quor::audio::testing
