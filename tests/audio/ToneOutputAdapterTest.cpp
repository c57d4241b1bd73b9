#include <gtest/gtest.h>

#include "EventLoop.h"
#include "FirstStart.h"
#include "MemoryControls.h"
#include "SimulatedWaveOut.h"
#include "ToneEngine.h"
#include "ToneOutputAdapter.h"

namespace quor::audio {
namespace {

// The engine's tone switch over the real component on the simulated device: what the window
// shows (LED, locked settings, messages, flash) across start, failure and stop.
class ToneOnSimulatedDevice : public ::testing::Test {
 protected:
  ToneOnSimulatedDevice() : output(device), engine(controls, output) {
    output.connectSwitch(engine.toneSwitch, [this] { ++stops; });
    prepareFirstStart(engine, controls);
    controls.setChecked(Control::chkLoop, false);
  }

  static void pump() {
    for (int i = 0; i < 5; ++i) threadEventLoop().processEvents(false);
  }
  // Plays until the stop notification; false if it has not come after `limit` rounds. (The
  // output is inactive before that while a ring shorter than the tone plays out.)
  bool playToTheEnd(uint32_t framesPerRound = 1024, int limit = 10000) {
    const int before = stops;
    for (int i = 0; i < limit && stops == before; ++i) {
      device.advance(framesPerRound);
      pump();
    }
    return stops > before && !output.active();
  }
  bool settingsEnabled() const {
    for (Control c : {Control::FSList, Control::Buffers, Control::BufferSizeEdit,
                      Control::WaveDevice, Control::cboSoundQuality})
      if (!controls.enabled(c)) return false;
    return true;
  }
  void select(Control list, const std::string& item) {
    const auto items = controls.items(list);
    const auto at = std::find(items.begin(), items.end(), item);
    ASSERT_NE(at, items.end()) << item;
    controls.userSelect(list, static_cast<int>(at - items.begin()));
  }

  SimulatedWaveOut device;
  MemoryControls controls;
  ToneOutputAdapter output;
  ToneEngine engine;
  int stops = 0;
};

TEST_F(ToneOnSimulatedDevice, StartLocksTheSettingsAndTheStopNotificationReleasesThem) {
  controls.setMenuChecked(MenuOption::Flashscreenwhenfinished1, true);
  engine.toneSwitch.OnButtonClick();
  EXPECT_TRUE(output.active());
  EXPECT_FALSE(settingsEnabled());
  EXPECT_EQ(controls.led(), LedColour::Red);  // the LED follows the notification
  pump();
  EXPECT_EQ(controls.led(), LedColour::Lime);
  EXPECT_TRUE(engine.values.ToneBusy);
  ASSERT_TRUE(playToTheEnd());
  EXPECT_TRUE(settingsEnabled());
  EXPECT_EQ(controls.led(), LedColour::Red);
  EXPECT_FALSE(engine.values.ToneBusy);
  EXPECT_EQ(controls.flashes(), 1);  // the tone ended by itself
  EXPECT_EQ(stops, 1);
}

// The documented lengths: 3 s at 22050 samples/s in four 16384-byte buffers is eight buffers;
// a 1 s tone is the whole ring.
TEST_F(ToneOnSimulatedDevice, ANonLoopingToneIsHeardForItsBuffers) {
  engine.toneSwitch.OnButtonClick();
  ASSERT_TRUE(playToTheEnd(4096));
  EXPECT_EQ(device.played().size(), 65536u * 2);
  EXPECT_EQ(device.lastFormat().nSamplesPerSec, 22050u);
  EXPECT_EQ(device.lastFormat().wBitsPerSample, 16);

  controls.userType(Control::Duration, "1");
  controls.userLeave(Control::Duration);
  engine.toneSwitch.OnButtonClick();
  ASSERT_TRUE(playToTheEnd(4096));
  EXPECT_EQ(device.played().size(), (65536u + 32768u) * 2);
}

TEST_F(ToneOnSimulatedDevice, AStopByTheToggleDoesNotFlash) {
  controls.setMenuChecked(MenuOption::Flashscreenwhenfinished1, true);
  controls.setChecked(Control::chkLoop, true);
  engine.toneSwitch.OnButtonClick();
  pump();
  device.advance(8192);
  pump();
  engine.toneSwitch.OnButtonClick();  // off
  EXPECT_FALSE(output.active());
  EXPECT_FALSE(settingsEnabled());  // until the stop notification
  pump();
  EXPECT_TRUE(settingsEnabled());
  EXPECT_EQ(controls.led(), LedColour::Red);
  EXPECT_EQ(controls.flashes(), 0);
  EXPECT_EQ(stops, 1);
  // stopsignal from elsewhere (a script's Next button) does flash.
  engine.toneSwitch.OnButtonClick();
  pump();
  engine.toneSwitch.stopsignal();
  pump();
  EXPECT_EQ(controls.flashes(), 1);
}

// 1 s at 22050 samples/s in 8-bit buffers of 32768 samples: the first buffer already ends the
// tone, so the start fails; 2 s starts.
TEST_F(ToneOnSimulatedDevice, AToneTooShortForOneBufferFailsAndLeavesTheWindowIdle) {
  select(Control::cboSoundQuality, "8 bit");
  select(Control::BufferSizeEdit, "32768");
  controls.userType(Control::Duration, "1");
  controls.userLeave(Control::Duration);
  engine.toneSwitch.OnButtonClick();
  ASSERT_EQ(controls.messages().size(), 1u);
  EXPECT_EQ(controls.messages()[0],
            "Soundcard Error! The system message returned by Windows was: \r"
            "There must be at least one filled buffer");
  EXPECT_TRUE(settingsEnabled());
  EXPECT_FALSE(output.active());
  pump();  // the late OnStart and OnStop of the opened device
  EXPECT_EQ(controls.led(), LedColour::Red);
  EXPECT_FALSE(engine.values.ToneBusy);
  EXPECT_EQ(stops, 1);

  controls.userType(Control::Duration, "2");
  controls.userLeave(Control::Duration);
  engine.toneSwitch.OnButtonClick();
  EXPECT_EQ(controls.messages().size(), 1u);
  EXPECT_TRUE(output.active());
  ASSERT_TRUE(playToTheEnd(4096));
}

TEST_F(ToneOnSimulatedDevice, ARefusedDeviceShowsThePlatformText) {
  device.refuseNextOpen(MMSYSERR_ALLOCATED);
  engine.toneSwitch.OnButtonClick();
  ASSERT_EQ(controls.messages().size(), 1u);
  EXPECT_EQ(controls.messages()[0],
            "Soundcard Error! The system message returned by Windows was: \r" +
                device.errorText(MMSYSERR_ALLOCATED));
  EXPECT_TRUE(settingsEnabled());
  pump();
  EXPECT_EQ(stops, 0);  // nothing was opened, so nothing follows
}

// Pressing ON at once after OFF: the old device's stop comes first, inside the start.
TEST_F(ToneOnSimulatedDevice, OnRightAfterOffFinishesTheOldToneFirst) {
  controls.setChecked(Control::chkLoop, true);
  engine.toneSwitch.OnButtonClick();
  pump();
  engine.toneSwitch.OnButtonClick();
  engine.toneSwitch.OnButtonClick();
  EXPECT_EQ(stops, 1);
  EXPECT_TRUE(output.active());
  pump();
  EXPECT_EQ(controls.led(), LedColour::Lime);
  EXPECT_TRUE(engine.values.ToneBusy);
  EXPECT_FALSE(settingsEnabled());
  engine.toneSwitch.OnButtonClick();
  pump();
  EXPECT_EQ(stops, 2);
}

TEST_F(ToneOnSimulatedDevice, TheDeviceListItemChoosesTheDevice) {
  device.setDevices({"First", "Second"});
  controls.setItems(Control::WaveDevice, {"Default Windows Device", "First", "Second"});
  controls.userSelect(Control::WaveDevice, 2);
  engine.toneSwitch.OnButtonClick();
  EXPECT_EQ(device.lastOpenedDevice(), 1u);
  engine.toneSwitch.OnButtonClick();
  pump();
  controls.userSelect(Control::WaveDevice, 0);
  engine.toneSwitch.OnButtonClick();
  EXPECT_EQ(device.lastOpenedDevice(), WAVE_MAPPER);
  engine.toneSwitch.OnButtonClick();
  pump();
}

}  // namespace
}  // namespace quor::audio
