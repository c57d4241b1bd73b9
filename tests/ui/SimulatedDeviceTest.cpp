// The window on the real output component over the simulated device: the device list it
// reports, and start, failure and stop with the notifications the device queues.
#include <QLabel>

#include "DeviceList.h"
#include "LedFrame.h"
#include "SimulatedWaveOut.h"
#include "ToneOutputAdapter.h"
#include "WindowFixture.h"

namespace quor::testing {
namespace {

using audio::SimulatedWaveOut;

class SimulatedDeviceTest : public ::testing::Test {
 protected:
  void create(std::vector<std::string> devices) {
    platform.setDevices(std::move(devices));
    const audio::OutputDeviceList list = audio::outputDeviceList(platform);
    GeneratorServices services;
    services.output = &output;
    services.deviceItems = list.items;
    services.hideDeviceList = list.hidden;
    services.messages = &presenter;
    services.helpFolder = QUOR_HELP_SOURCE_DIR;
    window = createProgramWindows(services);
    output.connectSwitch(window->engine().toneSwitch);
    window->onFlashScreen = [this] { ++flashes; };
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }
  void deliver() {
    platform.deliverPending();
    QCoreApplication::processEvents();
  }
  void pressF5() { QTest::keyClick(window.get(), Qt::Key_F5); }
  bool listsEnabled() const {
    bool all = true;
    for (const char* name :
         {"FSList", "Buffers", "BufferSizeEdit", "WaveDevice", "cboSoundQuality"}) {
      all = all && window->findChild<QComboBox*>(name)->isEnabled();
    }
    return all;
  }
  bool noneEnabled() const {
    for (const char* name :
         {"FSList", "Buffers", "BufferSizeEdit", "WaveDevice", "cboSoundQuality"}) {
      if (window->findChild<QComboBox*>(name)->isEnabled()) return false;
    }
    return true;
  }
  QColor led() const { return window->findChild<LedFrame*>("LED")->colour(); }
  // Plays until the output stops by itself; then the window is idle again.
  void playUntilTheOutputStops(uint32_t framesAtATime) {
    for (int i = 0; i < 20 && output.active(); ++i) {
      platform.advance(framesAtATime);
      deliver();
    }
    EXPECT_FALSE(output.active());
    EXPECT_EQ(led(), QColor(255, 0, 0));
    EXPECT_TRUE(listsEnabled());
  }

  SimulatedWaveOut platform;
  audio::ToneOutputAdapter output{platform};
  RecordingPresenter presenter;
  std::unique_ptr<TfrmGenerator> window;
  int flashes = 0;
};

QStringList itemsOf(const TfrmGenerator& window) {
  QStringList items;
  for (const std::string& item : window.items(Control::WaveDevice)) {
    items << QString::fromStdString(item);
  }
  return items;
}

TEST_F(SimulatedDeviceTest, NoDeviceLeavesOnlyTheDefaultEntryInView) {
  create({});
  EXPECT_EQ(itemsOf(*window), QStringList{"Default Windows Device"});
  EXPECT_TRUE(window->visible(Control::WaveDevice));
  EXPECT_TRUE(window->visible(Control::Label11));
}

TEST_F(SimulatedDeviceTest, OneDeviceHidesTheChoice) {
  create({"Speakers"});
  EXPECT_EQ(itemsOf(*window), (QStringList{"Default Windows Device", "Speakers"}));
  EXPECT_FALSE(window->visible(Control::WaveDevice));
  EXPECT_FALSE(window->visible(Control::Label11));
  EXPECT_EQ(output.waveDevice(), audio::WAVE_MAPPER);
}

TEST_F(SimulatedDeviceTest, TheThirdOfThreeItemsPlaysOnDeviceOne) {
  create({"Speakers", "Headphones"});
  EXPECT_EQ(itemsOf(*window), (QStringList{"Default Windows Device", "Speakers", "Headphones"}));
  auto* list = window->findChild<QComboBox*>("WaveDevice");
  list->setFocus();
  QTest::keyClick(list, Qt::Key_End);
  pressF5();
  EXPECT_EQ(platform.lastOpenedDevice(), 1u);
  pressF5();
}

TEST_F(SimulatedDeviceTest, StartLightsTheLedWhenTheDeviceOpensAndStopPutsItOut) {
  create({"Speakers", "Headphones"});
  pressF5();
  EXPECT_TRUE(output.active());
  EXPECT_TRUE(noneEnabled());
  EXPECT_EQ(led(), QColor(255, 0, 0));  // the open notification has not arrived yet
  deliver();
  EXPECT_EQ(led(), QColor(0, 255, 0));
  EXPECT_TRUE(window->engine().values.ToneBusy);
  EXPECT_EQ(platform.lastFormat().nSamplesPerSec, 22050u);

  platform.advance(22050);
  deliver();
  EXPECT_TRUE(output.active());  // a looping tone plays on
  EXPECT_GT(platform.played().size(), 0u);

  pressF5();
  deliver();
  EXPECT_FALSE(output.active());
  EXPECT_TRUE(listsEnabled());
  EXPECT_EQ(led(), QColor(255, 0, 0));
  EXPECT_FALSE(window->engine().values.ToneBusy);
  EXPECT_EQ(flashes, 0);  // switched off by hand: no flash
}

TEST_F(SimulatedDeviceTest, AFailedOpenIsReportedAndLeavesTheWindowIdle) {
  create({"Speakers", "Headphones"});
  platform.refuseNextOpen(audio::MMSYSERR_ALLOCATED);
  pressF5();
  deliver();
  ASSERT_EQ(presenter.messages.size(), 1u);
  EXPECT_EQ(presenter.messages[0].rfind("Soundcard Error! The system message returned by "
                                        "Windows was: \r",
                                        0),
            0u);
  EXPECT_GT(presenter.messages[0].size(), 70u);  // the device layer's own text follows
  EXPECT_FALSE(output.active());
  EXPECT_TRUE(listsEnabled());
  EXPECT_EQ(led(), QColor(255, 0, 0));
}

TEST_F(SimulatedDeviceTest, ADeviceThatFailsWhilePlayingIsSaidAndTheNextStartPlays) {
  create({"Speakers", "Headphones"});
  pressF5();
  deliver();
  ASSERT_EQ(led(), QColor(0, 255, 0));
  platform.refuseWrite(0, audio::MMSYSERR_NODRIVER);  // the next buffer handed over
  playUntilTheOutputStops(8192);
  ASSERT_EQ(presenter.messages.size(), 1u);
  EXPECT_EQ(presenter.messages[0],
            "Soundcard Error! The system message returned by Windows was: \r" +
                audio::standardErrorText(audio::MMSYSERR_NODRIVER));

  pressF5();
  deliver();
  EXPECT_EQ(led(), QColor(0, 255, 0));
  pressF5();
  deliver();
  EXPECT_EQ(presenter.messages.size(), 1u);  // a stop by hand is no failure
}

TEST_F(SimulatedDeviceTest, AToneThatEndsByItselfFlashesWhenAsked) {
  create({"Speakers", "Headphones"});
  window->setChecked(Control::chkLoop, false);
  window->setText(Control::Duration, "2");
  window->setMenuChecked(MenuOption::Flashscreenwhenfinished1, true);
  pressF5();
  deliver();
  ASSERT_EQ(led(), QColor(0, 255, 0));
  playUntilTheOutputStops(11025);
  EXPECT_EQ(flashes, 1);
}

}  // namespace
}  // namespace quor::testing
