#include "LedFrame.h"
#include "WindowFixture.h"

namespace quor::testing {
namespace {

const char* const kOutputLists[] = {"FSList", "Buffers", "BufferSizeEdit", "WaveDevice",
                                    "cboSoundQuality"};

class ToneSwitchWindowTest : public WindowTest {
 protected:
  ToneSwitchWindowTest() { showWindow(); }

  bool listsEnabled(bool expected) const {
    bool all = true;
    for (const char* name : kOutputLists) {
      const bool enabled = child<QComboBox>(name)->isEnabled();
      EXPECT_EQ(enabled, expected) << name;
      all = all && enabled == expected;
    }
    return all;
  }
  LedFrame* led() const { return child<LedFrame>("LED"); }
  ToneSwitch& toneSwitch() { return window->engine().toneSwitch; }
};

TEST_F(ToneSwitchWindowTest, TheLedFramesOnOffWithAFourPixelMargin) {
  EXPECT_EQ(led()->geometry(), QRect(530, 28, 83, 32));
  EXPECT_EQ(led()->colour(), QColor(255, 0, 0));
}

TEST_F(ToneSwitchWindowTest, StartLocksTheListsAndTheStartNotificationLightsTheLed) {
  QTest::mouseClick(child<QPushButton>("OnButton"), Qt::LeftButton);
  ASSERT_TRUE(output.active());
  listsEnabled(false);
  EXPECT_EQ(window->led(), LedColour::Red);  // until the device reports that it has opened
  toneSwitch().AudioOut1Start();
  EXPECT_EQ(led()->colour(), QColor(0, 255, 0));
  EXPECT_TRUE(window->engine().values.ToneBusy);

  QTest::mouseClick(child<QPushButton>("OnButton"), Qt::LeftButton);
  EXPECT_FALSE(output.active());
  listsEnabled(false);  // until the stop notification
  toneSwitch().AudioOut1Stop();
  listsEnabled(true);
  EXPECT_EQ(led()->colour(), QColor(255, 0, 0));
  EXPECT_FALSE(window->engine().values.ToneBusy);
}

TEST_F(ToneSwitchWindowTest, AFailedStartShowsTheMessageAndLeavesTheWindowIdle) {
  output.refuseOpen = true;
  QTest::mouseClick(child<QPushButton>("OnButton"), Qt::LeftButton);
  ASSERT_EQ(presenter.messages.size(), 1u);
  EXPECT_EQ(presenter.messages[0],
            "Soundcard Error! The system message returned by Windows was: \r"
            "The device is not available");
  EXPECT_TRUE(presenter.errors.empty());
  listsEnabled(true);
  EXPECT_EQ(window->led(), LedColour::Red);
}

TEST_F(ToneSwitchWindowTest, AToneTooShortForOneBufferCannotStart) {
  window->setItemIndex(Control::cboSoundQuality, 0);
  window->engine().parameters.cboSoundQualityChange();
  window->setItemIndex(Control::BufferSizeEdit, 3);  // 32768 bytes
  window->setChecked(Control::chkLoop, false);
  window->setText(Control::Duration, "1");
  QTest::keyClick(window.get(), Qt::Key_F5);
  ASSERT_EQ(presenter.messages.size(), 1u);
  EXPECT_NE(presenter.messages[0].find("There must be at least one filled buffer"),
            std::string::npos);
  listsEnabled(true);
}

}  // namespace
}  // namespace quor::testing
