#include "AudioOutFixture.h"

namespace quor::audio::testing {
namespace {

class AudioOutStop : public AudioOutFixture {
 protected:
  AudioOutStop() { configure(4, 8192); }
  static constexpr uint32_t kFrames = 4096;
};

TEST_F(AudioOutStop, StopsDoNothingWhileTheDeviceIsClosed) {
  out->StopAtOnce();
  out->StopGracefully();
  pump();
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(device.openCount(), 0);
}

TEST_F(AudioOutStop, StopAtOnceIsInactiveAtOnceAndClosesAfterTheLateCompletions) {
  useNumberingFill();
  ASSERT_TRUE(out->Start(out));
  pump();
  play(kFrames);
  out->StopAtOnce();
  EXPECT_FALSE(out->Active);
  EXPECT_FALSE(out->IsWaveDeviceOpen());
  EXPECT_EQ(device.buffersReturnedByReset(), 4);
  EXPECT_EQ(count("stop"), 0);
  const int fillsAtStop = fills;
  pump();
  // The four returned buffers are handled as completions, without fills, and OnStop follows
  // them once.
  EXPECT_EQ(out->ProcessedBuffers, 5);
  EXPECT_EQ(out->QueuedBuffers, 0);
  EXPECT_FALSE(out->Active);
  EXPECT_EQ(fills, fillsAtStop);
  EXPECT_EQ(log, (std::vector<std::string>{"start", "stop"}));
  EXPECT_EQ(device.played().size(), 8192u);
}

TEST_F(AudioOutStop, StopGracefullyPlaysWhatTheDeviceHolds) {
  useNumberingFill();
  ASSERT_TRUE(out->Start(out));
  pump();
  out->StopGracefully();
  EXPECT_TRUE(out->Active);
  play(3 * kFrames);
  EXPECT_EQ(count("stop"), 0);
  play(kFrames);
  EXPECT_EQ(fills, 4);
  EXPECT_EQ(device.played().size(), 4u * 8192u);
  EXPECT_EQ(log, (std::vector<std::string>{"start", "stop"}));
}

// A refused hand-over takes its buffer out of the count, so the drain that follows still ends
// with OnStop instead of waiting for a buffer the device never got.
TEST_F(AudioOutStop, ARefusedHandOverDrainsAndStops) {
  useNumberingFill();
  device.refuseWrite(5, MMSYSERR_NODRIVER);
  ASSERT_TRUE(out->Start(out));
  pump();
  play(2 * kFrames);
  EXPECT_EQ(out->ErrorMessage, device.errorText(MMSYSERR_NODRIVER));
  EXPECT_TRUE(out->Active);
  const int fillsAtRefusal = fills;
  play(10 * kFrames);
  EXPECT_EQ(fills, fillsAtRefusal);  // draining: no more fills
  EXPECT_EQ(device.played().size(), 5u * 8192u);
  EXPECT_EQ(log, (std::vector<std::string>{"start", "stop"}));
  EXPECT_FALSE(out->Active);
  EXPECT_EQ(out->QueuedBuffers, 0);
}

// A start while the previous device still plays buffers after its refused close: that device
// is finished first, its OnStop raised once inside Start, and the new one counts from zero.
TEST_F(AudioOutStop, AStartFinishesADeviceWhoseCloseWasRefused) {
  useNumberingFill({true, false, false, false});
  ASSERT_TRUE(out->Start(out));
  pump();
  play(kFrames);
  ASSERT_FALSE(out->IsWaveDeviceOpen());
  ASSERT_EQ(count("stop"), 0);
  const HWAVEOUT first = out->WaveHandle;

  std::vector<std::string> atStart;
  useNumberingFill();
  fills = 10;
  out->SetOnStart([&](TCallBackWinOut*) { atStart.push_back("start"); });
  ASSERT_TRUE(out->Start(out));
  EXPECT_EQ(count("stop"), 1);  // the old device's end, delivered before the new open
  EXPECT_EQ(device.outstanding(first), 0);
  EXPECT_NE(out->WaveHandle, first);
  EXPECT_EQ(out->ProcessedBuffers, 0);
  EXPECT_EQ(out->FilledBuffers, 4);
  pump();
  EXPECT_EQ(atStart.size(), 1u);
  play(kFrames);
  EXPECT_TRUE(out->Active);
  EXPECT_EQ(count("stop"), 1);
  EXPECT_EQ(out->ProcessedBuffers, 1);
  out->StopAtOnce();
  pump();
  EXPECT_EQ(count("stop"), 2);
}

TEST_F(AudioOutStop, AStartRightAfterStopAtOnceDeliversTheOldCompletionsFirst) {
  useNumberingFill();
  ASSERT_TRUE(out->Start(out));
  pump();
  out->StopAtOnce();
  ASSERT_TRUE(out->Start(out));
  EXPECT_EQ(log, (std::vector<std::string>{"start", "stop"}));
  EXPECT_EQ(out->ProcessedBuffers, 0);
  EXPECT_TRUE(out->Active);
  pump();
  EXPECT_EQ(log, (std::vector<std::string>{"start", "stop", "start"}));
  play(2 * kFrames);
  EXPECT_EQ(out->ProcessedBuffers, 2);
  EXPECT_TRUE(out->Active);
  out->StopAtOnce();
  pump();
  EXPECT_EQ(count("stop"), 2);
}

TEST_F(AudioOutStop, AStartAfterAFailedStartDeliversItsLateEventsFirst) {
  EXPECT_FALSE(out->Start(out));  // no fill handler
  useNumberingFill();
  ASSERT_TRUE(out->Start(out));
  EXPECT_EQ(log, (std::vector<std::string>{"start", "stop"}));
  pump();
  EXPECT_EQ(log, (std::vector<std::string>{"start", "stop", "start"}));
  out->StopAtOnce();
  pump();
}

// A real device still plays what it took from the last buffers when they come back. Here it
// plays one buffer's worth after its close.
class AudioOutPlayOut : public AudioOutStop {
 protected:
  AudioOutPlayOut() { device.setPlayOut(kFrames); }
  // Four buffers of tone, then the fill runs dry and the ring drains: the device is closed.
  void playToTheClose() {
    useNumberingFill({true, true, true, true, false});
    ASSERT_TRUE(out->Start(out));
    pump();
    play(4 * kFrames);
    ASSERT_FALSE(out->IsWaveDeviceOpen());
    ASSERT_FALSE(out->Active);
  }
};

TEST_F(AudioOutPlayOut, OnStopComesWhenTheDeviceHasPlayedOut) {
  playToTheClose();
  play(kFrames - 1);
  EXPECT_EQ(count("stop"), 0);
  play(1);
  EXPECT_EQ(log, (std::vector<std::string>{"start", "stop"}));
}

// A start while the old device plays out cuts it short: its OnStop comes once, inside the start,
// and none of its notifications reaches the new output.
TEST_F(AudioOutPlayOut, AStartWhileTheOldDevicePlaysOutHearsItsEndOnce) {
  playToTheClose();
  useNumberingFill();
  ASSERT_TRUE(out->Start(out));
  EXPECT_EQ(log, (std::vector<std::string>{"start", "stop"}));
  pump();
  play(2 * kFrames);
  EXPECT_EQ(log, (std::vector<std::string>{"start", "stop", "start"}));
  EXPECT_EQ(out->ProcessedBuffers, 2);
  EXPECT_TRUE(out->Active);
  out->StopAtOnce();
  pump();
  EXPECT_EQ(count("stop"), 2);
}

TEST_F(AudioOutStop, FinishPendingCloseLeavesARunningOutputAlone) {
  useNumberingFill();
  ASSERT_TRUE(out->Start(out));
  out->FinishPendingClose();
  EXPECT_TRUE(out->IsWaveDeviceOpen());
  EXPECT_TRUE(log.empty());
  pump();
  play(kFrames);
  EXPECT_EQ(out->ProcessedBuffers, 1);
  out->StopAtOnce();
  pump();
  out->FinishPendingClose();  // nothing pending any more
  EXPECT_EQ(count("stop"), 1);
}

TEST_F(AudioOutStop, DestroyingAPlayingComponentClosesItsDeviceSilently) {
  useNumberingFill();
  ASSERT_TRUE(out->Start(out));
  const HWAVEOUT handle = out->WaveHandle;
  delete out;
  out = nullptr;
  EXPECT_EQ(device.outstanding(handle), 0);
  play(10 * kFrames);
  EXPECT_TRUE(log.empty());
  uint64_t frames = 0;
  EXPECT_EQ(device.position(handle, frames), MMSYSERR_INVALHANDLE);
}

}  // namespace
}  // namespace quor::audio::testing
