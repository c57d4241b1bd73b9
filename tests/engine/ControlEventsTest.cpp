#include "EngineFixture.h"

namespace quor::testing {
namespace {

using ControlEvents = EngineTest;

TEST_F(ControlEvents, FrequencyFieldsFallBackToAThousandWhileTyping) {
  for (Control field : {Control::fEdit, Control::fInit, Control::fFinal}) {
    controls.userType(field, "-");
    EXPECT_EQ(controls.text(field), "1000");
    controls.userType(field, ".");
    EXPECT_EQ(controls.text(field), "1000");
    controls.userType(field, "");
    EXPECT_EQ(controls.text(field), "");  // corrected only when the field is left
    controls.userType(field, "12,5");
    EXPECT_EQ(controls.text(field), "12,5");
  }
}

TEST_F(ControlEvents, LeavingAToneFieldApplies) {
  for (Control field : {Control::fEdit, Control::Pulses, Control::DutyCycle, Control::Duration}) {
    v.SamplesPerPeriod = -1;
    controls.userLeave(field);
    EXPECT_EQ(v.SamplesPerPeriod, 66150);
  }
}

TEST_F(ControlEvents, ClicksOfLoopOffsetAndPulsedGroupApply) {
  for (Control c : {Control::chkLoop, Control::chkPositiveOffset, Control::GroupBox3}) {
    v.SamplesPerPeriod = -1;
    controls.userClick(c);
    EXPECT_EQ(v.SamplesPerPeriod, 66150);
  }
}

TEST_F(ControlEvents, ListChoicesByTheUserApplyButChoicesByCodeDoNot) {
  v.SamplesPerPeriod = -1;
  controls.setItemIndex(Control::WaveForm, 2);
  controls.setActivePage(SignalPage::Sweep);
  EXPECT_EQ(v.SamplesPerPeriod, -1);
  controls.userSelect(Control::WaveForm, 1);
  EXPECT_EQ(v.SamplesPerPeriod, 66150);
}

TEST_F(ControlEvents, ProgramChangesThatChangeNothingRaiseNothing) {
  v.SamplesPerPeriod = -1;
  controls.setChecked(Control::chkLoop, true);  // already checked
  controls.setText(Control::fEdit, "1000");     // already the text
  EXPECT_EQ(v.SamplesPerPeriod, -1);
}

TEST_F(ControlEvents, LogarithmicHasNoHandler) {
  v.SamplesPerPeriod = -1;
  controls.userClick(Control::Logarithmic);
  EXPECT_EQ(v.SamplesPerPeriod, -1);
}

}  // namespace
}  // namespace quor::testing
