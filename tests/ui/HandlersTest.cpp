#include <QMenu>
#include <QMenuBar>

#include "ApplicationTitle.h"
#include "ToneError.h"
#include "UpDown.h"
#include "WindowFixture.h"

namespace quor::testing {
namespace {

class HandlersTest : public WindowTest {
 protected:
  HandlersTest() { showWindow(); }
};

TEST_F(HandlersTest, AMinusOrAFullStopTypedFirstBecomes1000) {
  for (const char* first : {"-", "."}) {
    field("fEdit")->clear();
    type("fEdit", first);
    EXPECT_EQ(field("fEdit")->text(), "1000") << first;
  }
}

TEST_F(HandlersTest, AClearedFrequencyStaysEmptyUntilItIsLeft) {
  field("fEdit")->setFocus();
  field("fEdit")->selectAll();
  QTest::keyClick(field("fEdit"), Qt::Key_Delete);
  EXPECT_EQ(field("fEdit")->text(), "");
  child<QPushButton>("Mem1")->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(field("fEdit")->text(), "1000");
}

TEST_F(HandlersTest, SweepFrequenciesFallBackTo1000NotToTheirStartValues) {
  window->setActivePage(SignalPage::Sweep);
  for (const char* name : {"fInit", "fFinal"}) {
    field(name)->clear();
    type(name, "x");
    EXPECT_EQ(field(name)->text(), "1000") << name;
  }
}

TEST_F(HandlersTest, DecimalCommaAndPointAreBothTyped) {
  field("fEdit")->clear();
  type("fEdit", "12,5");
  EXPECT_EQ(field("fEdit")->text(), "12,5");
  type("fEdit", "");
  child<QPushButton>("Mem1")->setFocus(Qt::MouseFocusReason);
  EXPECT_FLOAT_EQ(window->engine().values.NormInitFreq,
                  12.5f / static_cast<float>(window->engine().values.SampleRate));
}

TEST_F(HandlersTest, TheFrequencySpinStopsAt22050AndStepsBy100) {
  auto* spin = child<UpDown>("UpDown2");
  window->setText(Control::fEdit, "21980");
  spin->stepUp();
  EXPECT_EQ(field("fEdit")->text(), "22050");
  spin->stepUp();
  EXPECT_EQ(field("fEdit")->text(), "22050");
  spin->stepDown();
  EXPECT_EQ(field("fEdit")->text(), "21950");
}

TEST_F(HandlersTest, AFrequencyTypedBeyondTheSpinRangeStaysAsTyped) {
  field("fEdit")->clear();
  type("fEdit", "30000");
  child<QPushButton>("Mem1")->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(field("fEdit")->text(), "30000");
}

TEST_F(HandlersTest, EnterInAFieldPressesOnOff) {
  type("Duration", "");
  QTest::keyClick(field("Duration"), Qt::Key_Return);
  EXPECT_EQ(output.starts, 1);
  EXPECT_TRUE(output.active());
  QTest::keyClick(field("Duration"), Qt::Key_Enter);
  EXPECT_FALSE(output.active());
}

TEST_F(HandlersTest, F5TogglesFromAnywhereInTheWindow) {
  for (const char* name : {"chkLoop", "WaveForm", "fEdit"}) {
    QWidget* focus = child<QWidget>(name);
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key_F5);
    EXPECT_TRUE(output.active()) << name;
    QTest::keyClick(focus, Qt::Key_F5);
    EXPECT_FALSE(output.active()) << name;
  }
  EXPECT_EQ(output.starts, 3);
}

TEST_F(HandlersTest, TheMenusShortcutsWinInEveryFieldOfTheWindow) {
  const auto ctrlX = [this](QLineEdit* edit, const char* name) {
    edit->selectAll();
    const QString before = edit->text();
    QTest::keyClick(window->windowHandle(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), before) << name;  // not cut: the window closed instead
    EXPECT_FALSE(window->isVisible()) << name;
  };
  type("fEdit", "");
  ctrlX(field("fEdit"), "fEdit");
  showWindow();
  window->findChild<QAction*>("Rename")->trigger();  // the name edit of preset 1
  ctrlX(field("Mem1Edit"), "Mem1Edit");
}

TEST_F(HandlersTest, TabNeverStopsAtTheHiddenFlashButton) {
  QWidget* const start = QApplication::focusWidget();
  ASSERT_NE(start, nullptr);
  bool aroundTheWindow = false;
  for (int press = 0; press < 100 && !aroundTheWindow; ++press) {
    QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), child<QWidget>("btnFlash"));
    aroundTheWindow = QApplication::focusWidget() == start;
  }
  EXPECT_TRUE(aroundTheWindow);
}

TEST_F(HandlersTest, ActivationSetsTheCaptionOfWindowAndApplication) {
  EXPECT_EQ(window->windowTitle(), "Quor Generator 3.4");
  EXPECT_EQ(applicationTitle(), "Quor Generator 3.4");
}

TEST_F(HandlersTest, ActivationLetsThePulseFieldsFollowPulsedOn) {
  QCheckBox* pulsed = child<QCheckBox>("PulsedOn");
  pulsed->setChecked(true);  // bypasses the click handler, which would set the fields itself
  window->FormActivate();
  for (const char* name : {"Pulses", "DutyCycle", "PulsesUpDown", "DutyCycleUpDown"}) {
    EXPECT_TRUE(child<QWidget>(name)->isEnabled()) << name;
  }
  pulsed->setChecked(false);
  window->FormActivate();
  for (const char* name : {"Pulses", "DutyCycle", "PulsesUpDown", "DutyCycleUpDown"}) {
    EXPECT_FALSE(child<QWidget>(name)->isEnabled()) << name;
  }
}

TEST_F(HandlersTest, AnErrorInAUsersHandlerShowsOneErrorBoxAndTheProgramGoesOn) {
  window->setText(Control::Amplitude, "50");
  type("Amplitude", ".");
  ASSERT_EQ(presenter.errors.size(), 1u);
  EXPECT_EQ(presenter.errors[0], "'50.' is not a valid integer value.");
  EXPECT_EQ(field("Amplitude")->text(), "50.");
  child<QPushButton>("Mem1")->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(field("Amplitude")->text(), "50");
  EXPECT_EQ(presenter.errors.size(), 1u);
}

TEST_F(HandlersTest, ProgramChangesLetTheHandlersErrorReachTheCaller) {
  EXPECT_THROW(window->setText(Control::Amplitude, "50.5"), ToneError);
  EXPECT_TRUE(presenter.errors.empty());
}

TEST_F(HandlersTest, GuardedEndsTheHandlerAtTheFailingStep) {
  bool after = false;
  window->guarded([&] {
    throw std::runtime_error("Device lost");
    after = true;
  });
  EXPECT_FALSE(after);
  EXPECT_EQ(presenter.errors, std::vector<std::string>{"Device lost."});
}

TEST_F(HandlersTest, SignalTypeChangingAlwaysAllowsTheChange) {
  bool allow = false;
  window->SignalTypeChanging(nullptr, allow);
  EXPECT_TRUE(allow);
}

TEST_F(HandlersTest, ExitClosesTheWindowAndStopsTheTone) {
  window->engine().toneSwitch.OnButtonClick();
  ASSERT_TRUE(output.active());
  window->findChild<QAction*>("Exit1")->trigger();
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(output.active());
}

TEST_F(HandlersTest, FlashHookRunsWhenSetAndNothingOtherwise) {
  window->flashScreen();  // nothing set: nothing happens
  int flashes = 0;
  window->onFlashScreen = [&] { ++flashes; };
  child<QPushButton>("btnFlash")->click();
  window->flashScreen();
  EXPECT_EQ(flashes, 2);
}

}  // namespace
}  // namespace quor::testing
