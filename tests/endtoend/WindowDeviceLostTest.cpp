// The window on the real sound device while its sound server is killed and started again.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>

#include "DeviceList.h"
#include "LedFrame.h"
#include "PortAudioWaveOut.h"
#include "PrivateSoundServer.h"
#include "TfrmGenerator.h"
#include "ToneOutputAdapter.h"
#include "WindowFixture.h"

namespace quor::testing {
namespace {

const QColor kGreen(0, 255, 0);
const QColor kRed(255, 0, 0);

class WindowDeviceLost : public PrivateSoundServerTest {};

TEST_F(WindowDeviceLost, TheWindowSaysTheServerIsGoneStaysUsableAndPlaysOnTheNewOne) {
  server->exportToThisProcess();  // PortAudio looks for its server once, when it starts

  audio::PortAudioWaveOut platform;
  audio::ToneOutputAdapter output(platform);
  RecordingPresenter presenter;
  GeneratorServices services;
  services.output = &output;
  const audio::OutputDeviceList devices = audio::outputDeviceList(platform);
  services.deviceItems = devices.items;
  services.hideDeviceList = devices.hidden;
  services.messages = &presenter;
  services.helpFolder = QUOR_HELP_SOURCE_DIR;
  TfrmGenerator window(services);
  output.connectSwitch(window.engine().toneSwitch);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  const auto led = [&window] { return window.findChild<LedFrame*>("LED")->colour(); };

  QTest::keyClick(&window, Qt::Key_F5);
  ASSERT_TRUE(QTest::qWaitFor([&] { return led() == kGreen; }, 5000));
  QTest::qWait(500);
  server->kill();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !output.active() && led() == kRed; }, 10000))
      << "the window went on playing into a sound server that is gone";
  ASSERT_EQ(presenter.messages.size(), 1u);
  EXPECT_EQ(presenter.messages[0].rfind(
                "Soundcard Error! The system message returned by Windows was: \r", 0),
            0u)
      << presenter.messages[0];
  EXPECT_TRUE(window.findChild<QComboBox*>("FSList")->isEnabled());
  EXPECT_TRUE(presenter.errors.empty());

  ASSERT_TRUE(server->start()) << "the sound server did not start again";
  QTest::keyClick(&window, Qt::Key_F5);
  ASSERT_TRUE(QTest::qWaitFor([&] { return led() == kGreen; }, 5000)) << presenter.messages.back();
  // A server that has just started takes a moment before it asks for sound.
  const double before = output.component().ElapsedTime();
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return output.component().ElapsedTime() - before > 1.0 || !output.active(); }, 8000))
      << "the new server hears nothing";
  EXPECT_TRUE(output.active());
  EXPECT_EQ(presenter.messages.size(), 1u);
  QTest::keyClick(&window, Qt::Key_F5);
  EXPECT_TRUE(QTest::qWaitFor([&] { return led() == kRed; }, 5000));
}

}  // namespace
}  // namespace quor::testing
