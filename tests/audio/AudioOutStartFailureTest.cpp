#include "AudioOutFixture.h"

namespace quor::audio::testing {
namespace {

class AudioOutStartFailure : public AudioOutFixture {
 protected:
  AudioOutStartFailure() { configure(4, 8192); }
};

TEST_F(AudioOutStartFailure, WithoutAFillHandlerOnStartAndOnStopStillFollow) {
  EXPECT_FALSE(out->Start(out));
  EXPECT_EQ(out->ErrorMessage, "There must be at least one filled buffer");
  EXPECT_FALSE(out->IsWaveDeviceOpen());
  EXPECT_FALSE(out->Active);
  EXPECT_TRUE(log.empty());
  pump();
  EXPECT_EQ(log, (std::vector<std::string>{"start", "stop"}));
  EXPECT_EQ(senders[0], senders[1]);
}

TEST_F(AudioOutStartFailure, AFirstFillAnsweringFalseClosesTheDeviceAgain) {
  useNumberingFill({false});
  EXPECT_FALSE(out->Start(out));
  EXPECT_EQ(out->ErrorMessage, "There must be at least one filled buffer");
  EXPECT_EQ(fills, 1);
  pump();
  EXPECT_EQ(log, (std::vector<std::string>{"start", "stop"}));
  EXPECT_TRUE(device.played().empty());
}

TEST_F(AudioOutStartFailure, ARefusedOpenGivesThePlatformTextAndNoEvents) {
  useNumberingFill();
  device.refuseNextOpen(MMSYSERR_ALLOCATED);
  EXPECT_FALSE(out->Start(out));
  EXPECT_EQ(out->ErrorMessage, device.errorText(MMSYSERR_ALLOCATED));
  EXPECT_EQ(fills, 0);
  EXPECT_EQ(out->CallBackWindow(), nullptr);  // released at once
  pump();
  EXPECT_TRUE(log.empty());
  // The component is Closed and starts normally afterwards.
  EXPECT_TRUE(out->Start(out));
  pump();
  EXPECT_EQ(log, std::vector<std::string>{"start"});
  out->StopAtOnce();
  pump();
}

TEST_F(AudioOutStartFailure, NoDeviceAtAllFailsWithThePlatformText) {
  useNumberingFill();
  device.setDevices({});
  EXPECT_FALSE(out->Start(out));
  EXPECT_EQ(out->ErrorMessage, device.errorText(MMSYSERR_NODRIVER));
  out->SetWaveDevice(0);
  device.setDevices({"One"});
  out->SetWaveDevice(1);
  EXPECT_FALSE(out->Start(out));
  EXPECT_EQ(out->ErrorMessage, device.errorText(MMSYSERR_BADDEVICEID));
}

TEST_F(AudioOutStartFailure, ARefusedPreparationClosesTheDeviceAgain) {
  useNumberingFill();
  device.refusePrepare(2, MMSYSERR_NOMEM);
  EXPECT_FALSE(out->Start(out));
  EXPECT_EQ(out->ErrorMessage, device.errorText(MMSYSERR_NOMEM));
  EXPECT_EQ(fills, 0);
  EXPECT_FALSE(out->IsWaveDeviceOpen());
  pump();
  EXPECT_EQ(log, (std::vector<std::string>{"start", "stop"}));
}

TEST_F(AudioOutStartFailure, ARefusedFirstHandOverClosesTheDeviceAgain) {
  useNumberingFill();
  device.refuseWrite(0, MMSYSERR_ERROR);
  EXPECT_FALSE(out->Start(out));
  EXPECT_EQ(out->ErrorMessage, device.errorText(MMSYSERR_ERROR));
  EXPECT_FALSE(out->Active);
  pump();
  EXPECT_EQ(log, (std::vector<std::string>{"start", "stop"}));
  EXPECT_TRUE(device.played().empty());
}

TEST_F(AudioOutStartFailure, ASuccessfulStartKeepsTheLastErrorText) {
  useNumberingFill();
  device.refuseNextOpen(MMSYSERR_ERROR);
  EXPECT_FALSE(out->Start(out));
  ASSERT_TRUE(out->Start(out));
  EXPECT_EQ(out->ErrorMessage, device.errorText(MMSYSERR_ERROR));
  out->StopAtOnce();
  pump();
}

}  // namespace
}  // namespace quor::audio::testing
