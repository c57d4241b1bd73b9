#include <QGroupBox>
#include <QTabWidget>
#include <QToolButton>

#include "UpDown.h"
#include "WindowFixture.h"

namespace quor::testing {
namespace {

// Records the events the controls raise, in place of the engine's wiring.
class RecordingSink : public ControlEventSink {
 public:
  void controlEvent(Control control, ControlEvent event) override {
    events.emplace_back(control, event);
  }
  int count(Control control, ControlEvent event) const {
    return static_cast<int>(std::count(events.begin(), events.end(), std::pair{control, event}));
  }
  std::vector<std::pair<Control, ControlEvent>> events;
};

class EventMappingTest : public WindowTest {
 protected:
  EventMappingTest() {
    showWindow();
    window->setEventSink(&sink);
  }
  ~EventMappingTest() override { window->setEventSink(&window->engine().wiring); }
  RecordingSink sink;
};

struct Field {
  const char* name;
  Control control;
};
const Field kFields[] = {{"fEdit", Control::fEdit},        {"fInit", Control::fInit},
                         {"fFinal", Control::fFinal},      {"Amplitude", Control::Amplitude},
                         {"Duration", Control::Duration},  {"Pulses", Control::Pulses},
                         {"DutyCycle", Control::DutyCycle}};

TEST_F(EventMappingTest, EveryTypedCharacterRaisesTheFieldsChange) {
  window->setChecked(Control::PulsedOn, true);  // the pulse fields take typing only when on
  window->setActivePage(SignalPage::Sweep);
  for (const Field& f : kFields) {
    sink.events.clear();
    field(f.name)->setEnabled(true);
    type(f.name, "12");
    EXPECT_EQ(sink.count(f.control, ControlEvent::Change), 2) << f.name;
  }
}

TEST_F(EventMappingTest, ProgramTextChangesRaiseChangeOnlyWhenTheTextDiffers) {
  for (const Field& f : kFields) {
    sink.events.clear();
    const std::string before = window->text(f.control);
    window->setText(f.control, before);
    EXPECT_EQ(sink.count(f.control, ControlEvent::Change), 0) << f.name;
    window->setText(f.control, before + "0");
    EXPECT_EQ(sink.count(f.control, ControlEvent::Change), 1) << f.name;
    EXPECT_EQ(field(f.name)->text().toStdString(), before + "0");
  }
}

TEST_F(EventMappingTest, ASpinStepRewritesTheTextAndRaisesChange) {
  const struct {
    const char* spin;
    Control field;
    const char* after;
  } spins[] = {{"UpDown2", Control::fEdit, "1100"},          {"UpDown6", Control::fInit, "200"},
               {"UpDown7", Control::fFinal, "10100"},        {"UpDown1", Control::Amplitude, "100"},
               {"UpDown5", Control::Duration, "4"},          {"PulsesUpDown", Control::Pulses, "1"},
               {"DutyCycleUpDown", Control::DutyCycle, "60"}};
  for (const auto& s : spins) {
    sink.events.clear();
    child<UpDown>(s.spin)->stepUp();
    EXPECT_EQ(window->text(s.field), s.after) << s.spin;
    // The level is already at its top: the text stays, and so no change is raised.
    EXPECT_EQ(sink.count(s.field, ControlEvent::Change), s.field == Control::Amplitude ? 0 : 1)
        << s.spin;
  }
}

TEST_F(EventMappingTest, ClickingTheSpinArrowsSteps) {
  auto* spin = child<UpDown>("UpDown5");
  auto arrows = spin->findChildren<QToolButton*>();
  ASSERT_EQ(arrows.size(), 2);
  for (QToolButton* arrow : arrows) {
    if (arrow->arrowType() == Qt::DownArrow) QTest::mouseClick(arrow, Qt::LeftButton);
  }
  EXPECT_EQ(window->text(Control::Duration), "2");
  EXPECT_EQ(sink.count(Control::Duration, ControlEvent::Change), 1);
}

TEST_F(EventMappingTest, LeavingAFieldForAnotherControlRaisesExit) {
  for (const Field& f : kFields) {
    field(f.name)->setEnabled(true);
    window->setActivePage(std::string(f.name) == "fEdit" ? SignalPage::Constant
                                                         : SignalPage::Sweep);
    field(f.name)->setFocus(Qt::OtherFocusReason);
    sink.events.clear();
    child<QPushButton>("OnButton")->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(sink.count(f.control, ControlEvent::Exit), 1) << f.name;
  }
}

TEST_F(EventMappingTest, LosingTheWindowsActivationIsNoExit) {
  field("fEdit")->setFocus();
  sink.events.clear();
  QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(field("fEdit"), &away);
  QFocusEvent menu(QEvent::FocusOut, Qt::PopupFocusReason);
  QApplication::sendEvent(field("fEdit"), &menu);
  EXPECT_TRUE(sink.events.empty());
}

TEST_F(EventMappingTest, CheckBoxesRaiseClickByUserAndByCodeWhenTheStateChanges) {
  const struct {
    const char* name;
    Control control;
  } boxes[] = {{"chkLoop", Control::chkLoop},
               {"chkPositiveOffset", Control::chkPositiveOffset},
               {"PulsedOn", Control::PulsedOn},
               {"Logarithmic", Control::Logarithmic}};
  window->setActivePage(SignalPage::Sweep);
  for (const auto& b : boxes) {
    sink.events.clear();
    QCheckBox* box = child<QCheckBox>(b.name);
    const bool before = box->isChecked();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(7, box->height() / 2));
    EXPECT_NE(box->isChecked(), before) << b.name;
    window->setChecked(b.control, box->isChecked());  // no change: no event
    window->setChecked(b.control, !box->isChecked());
    EXPECT_EQ(sink.count(b.control, ControlEvent::Click), 2) << b.name;
  }
}

TEST_F(EventMappingTest, ListsRaiseChangeOnlyForTheUsersChoice) {
  const struct {
    const char* name;
    Control control;
  } lists[] = {{"WaveForm", Control::WaveForm},
               {"WaveDevice", Control::WaveDevice},
               {"FSList", Control::FSList},
               {"cboSoundQuality", Control::cboSoundQuality},
               {"BufferSizeEdit", Control::BufferSizeEdit},
               {"Buffers", Control::Buffers}};
  for (const auto& l : lists) {
    sink.events.clear();
    window->setItemIndex(l.control, 0);
    EXPECT_TRUE(sink.events.empty()) << l.name;
    QComboBox* box = child<QComboBox>(l.name);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down);  // the next item, chosen from the keyboard
    EXPECT_EQ(box->currentIndex(), 1) << l.name;
    EXPECT_EQ(sink.count(l.control, ControlEvent::Change), 1) << l.name;
  }
}

TEST_F(EventMappingTest, APageSetByCodeRaisesNothing) {
  window->setActivePage(SignalPage::Sweep);
  EXPECT_EQ(child<QTabWidget>("SignalType")->currentWidget()->objectName(), "Sweep");
  EXPECT_EQ(window->activePage(), SignalPage::Sweep);
  EXPECT_TRUE(sink.events.empty());
}

TEST_F(EventMappingTest, AClickOnThePulsedGroupRaisesItsClick) {
  auto* group = child<QGroupBox>("GroupBox3");
  QTest::mouseClick(group, Qt::LeftButton, {}, QPoint(90, 60));
  EXPECT_EQ(sink.count(Control::GroupBox3, ControlEvent::Click), 1);
}

}  // namespace
}  // namespace quor::testing
