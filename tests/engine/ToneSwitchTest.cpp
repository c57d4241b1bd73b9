#include "EngineFixture.h"

namespace quor::testing {
namespace {

using ToneSwitchTest = EngineTest;

TEST_F(ToneSwitchTest, StartConfiguresTheOutputAndLocksItsSettings) {
  v.Phase = 2.0;
  v.SampleCounter = 99;
  engine.toneSwitch.OnButtonClick();
  EXPECT_EQ(output.starts, 1);
  EXPECT_EQ(output.pendingStopsFinished, 1);
  EXPECT_FALSE(output.stereo);
  EXPECT_EQ(output.frameRate, 22050);
  EXPECT_EQ(output.numBuffers, 4);
  EXPECT_EQ(output.bufferSize, 16384);
  for (Control c : {Control::FSList, Control::Buffers, Control::BufferSizeEdit, Control::WaveDevice,
                    Control::cboSoundQuality}) {
    EXPECT_FALSE(controls.enabled(c));
  }
  // The ring was filled from phase 0 and counter 0.
  EXPECT_EQ(output.ring[0][0] | (output.ring[0][1] << 8), 9211);
  EXPECT_EQ(v.SampleCounter, 4 * 8192);
  // LED and busy flag follow the start notification, not the start.
  EXPECT_EQ(controls.led(), LedColour::Red);
  EXPECT_FALSE(v.ToneBusy);
  engine.toneSwitch.AudioOut1Start();
  EXPECT_EQ(controls.led(), LedColour::Lime);
  EXPECT_TRUE(v.ToneBusy);
}

TEST_F(ToneSwitchTest, SecondClickStopsAtOnceAndItsStopDoesNotFlash) {
  controls.setMenuChecked(MenuOption::Flashscreenwhenfinished1, true);
  engine.toneSwitch.OnButtonClick();
  engine.toneSwitch.AudioOut1Start();
  engine.toneSwitch.OnButtonClick();
  EXPECT_EQ(output.stops, 1);
  EXPECT_EQ(output.starts, 1);
  engine.toneSwitch.AudioOut1Stop();
  EXPECT_EQ(controls.flashes(), 0);
  EXPECT_TRUE(controls.menuChecked(MenuOption::Flashscreenwhenfinished1));
  EXPECT_EQ(controls.led(), LedColour::Red);
  EXPECT_FALSE(v.ToneBusy);
  EXPECT_TRUE(controls.enabled(Control::FSList));

  // The suppression holds for that one stop only.
  engine.toneSwitch.OnButtonClick();
  engine.toneSwitch.AudioOut1Start();
  engine.toneSwitch.AudioOut1Stop();  // the tone ended by itself
  EXPECT_EQ(controls.flashes(), 1);
}

TEST_F(ToneSwitchTest, StopByAnotherCallerFlashesWhenTheOptionIsChecked) {
  engine.toneSwitch.OnButtonClick();
  engine.toneSwitch.stopsignal();
  engine.toneSwitch.AudioOut1Stop();
  EXPECT_EQ(controls.flashes(), 0);  // option unchecked after a first start
  controls.setMenuChecked(MenuOption::Flashscreenwhenfinished1, true);
  engine.toneSwitch.OnButtonClick();
  engine.toneSwitch.stopsignal();
  engine.toneSwitch.AudioOut1Stop();
  EXPECT_EQ(controls.flashes(), 1);
}

TEST_F(ToneSwitchTest, ToneShorterThanOneBufferCannotStart) {
  controls.userSelect(Control::cboSoundQuality, 0);   // 8 bit
  controls.setItemIndex(Control::BufferSizeEdit, 3);  // 32768 samples per buffer
  controls.setChecked(Control::chkLoop, false);
  enter(Control::Duration, "1");
  engine.toneSwitch.OnButtonClick();
  ASSERT_EQ(controls.messages().size(), 1u);
  EXPECT_EQ(controls.messages()[0],
            "Soundcard Error! The system message returned by Windows was: \r"
            "There must be at least one filled buffer");
  EXPECT_EQ(output.stops, 1);
  EXPECT_EQ(controls.scriptDialogHides(), 1);
  EXPECT_FALSE(v.ToneBusy);
  EXPECT_TRUE(controls.enabled(Control::cboSoundQuality));
  EXPECT_EQ(controls.led(), LedColour::Red);

  enter(Control::Duration, "2");
  engine.toneSwitch.OnButtonClick();
  EXPECT_EQ(controls.messages().size(), 1u);
  EXPECT_TRUE(output.isActive);
}

TEST_F(ToneSwitchTest, PeriodWithoutSecondsCannotStartAndSaysWhy) {
  for (const char* period : {"0", "-1"}) {
    const size_t before = controls.messages().size();
    enter(Control::Duration, period);
    engine.toneSwitch.OnButtonClick();
    ASSERT_EQ(controls.messages().size(), before + 1) << period;
    EXPECT_EQ(controls.messages().back(),
              "The tone cannot start: the period must be at least 1 second.");
    EXPECT_FALSE(output.isActive);
    EXPECT_TRUE(controls.enabled(Control::FSList));
  }
}

TEST_F(ToneSwitchTest, RefusedDeviceReportsItsText) {
  output.refuseOpen = true;
  engine.toneSwitch.OnButtonClick();
  ASSERT_EQ(controls.messages().size(), 1u);
  EXPECT_EQ(controls.messages()[0],
            "Soundcard Error! The system message returned by Windows was: \r"
            "The device is not available");
}

TEST_F(ToneSwitchTest, InvalidFrequencyPlaysTheLastGoodToneFromTheStart) {
  controls.setText(Control::fEdit, "30000");
  engine.toneSwitch.OnButtonClick();
  EXPECT_EQ(output.ring[0][0] | (output.ring[0][1] << 8), 9211);  // 1000 Hz, phase 0
}

TEST_F(ToneSwitchTest, BufferListWithoutSelectionEndsTheStartBeforeLocking) {
  controls.setItemIndex(Control::Buffers, -1);
  EXPECT_THROW(engine.toneSwitch.OnButtonClick(), ToneError);
  EXPECT_EQ(output.starts, 0);
  EXPECT_TRUE(controls.enabled(Control::Buffers));
}

}  // namespace
}  // namespace quor::testing
