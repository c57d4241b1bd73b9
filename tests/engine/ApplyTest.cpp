#include <cmath>

#include "EngineFixture.h"

namespace quor::testing {
namespace {

using Apply = EngineTest;

TEST_F(Apply, FirstStartDerivesAThousandHertzToneAtTwiceTheBandwidth) {
  EXPECT_EQ(v.SampleRate, 22050);
  EXPECT_EQ(v.NormInitFreq, static_cast<float>(1000.0L / 22050));
  EXPECT_EQ(v.NormFinalFreq, v.NormInitFreq);
  EXPECT_EQ(v.PhaseIncrement,
            static_cast<double>(static_cast<long double>(v.NormInitFreq) * 2.0L * kPi));
  EXPECT_EQ(v.SweepStep, 0.0f);
  EXPECT_EQ(v.SweepFactor, 1.0f);
  EXPECT_EQ(v.SamplesPerPeriod, 66150);  // 3 s at 22050
  EXPECT_EQ(v.PulsesPerSecond, 0);
  EXPECT_EQ(v.DutyFraction, 0.5f);
  EXPECT_EQ(output.device, 0xFFFFFFFFu);  // item 0, the default device
  EXPECT_EQ(output.bits, 16);
}

TEST_F(Apply, FrequencyWithPointOrCommaGivesTheSameTone) {
  enter(Control::fEdit, "12.5");
  const float withPoint = v.NormInitFreq;
  enter(Control::fEdit, "12,5");
  EXPECT_EQ(v.NormInitFreq, withPoint);
  EXPECT_EQ(withPoint, static_cast<float>(12.5L / 22050));
}

TEST_F(Apply, RepairsFrequencyTextsThatAreNoNumber) {
  controls.setText(Control::fEdit, "");
  controls.setText(Control::fInit, "");
  controls.setText(Control::fFinal, "");
  engine.parameters.fEditExit();
  EXPECT_EQ(controls.text(Control::fEdit), "1000");
  EXPECT_EQ(controls.text(Control::fInit), "100");
  EXPECT_EQ(controls.text(Control::fFinal), "10000");
  EXPECT_EQ(v.NormInitFreq, static_cast<float>(1000.0L / 22050));
}

TEST_F(Apply, AcceptsFrequenciesStrictlyBelowHalfTheSampleRate) {
  enter(Control::fEdit, "11024.99");
  EXPECT_EQ(v.NormInitFreq, static_cast<float>(static_cast<long double>(11024.99f) / 22050));
  enter(Control::fEdit, "11025");
  EXPECT_EQ(v.NormInitFreq, static_cast<float>(static_cast<long double>(11024.99f) / 22050));
}

// Found by fuzzing quorgen: 1e-45 Hz is above 0, but divided by the sample rate it is 0 in
// single precision, and a logarithmic sweep from there multiplied its increment by infinity.
TEST_F(Apply, AFrequencyThatVanishesAtTheSampleRateIsRefusedAndOneJustAboveIsNot) {
  controls.setActivePage(SignalPage::Sweep);
  engine.parameters.fEditExit();
  const WorkingValues before = v;
  enter(Control::fInit, "1e-45");
  EXPECT_EQ(v.NormInitFreq, before.NormInitFreq);
  EXPECT_EQ(v.SweepFactor, before.SweepFactor);
  enter(Control::fInit, "1e-40");
  EXPECT_GT(v.NormInitFreq, 0.0f);
  EXPECT_TRUE(std::isfinite(v.SweepFactor));
}

TEST_F(Apply, InvalidFrequencyKeepsDerivedValuesButUpdatesTheEarlierSteps) {
  controls.setChecked(Control::chkPositiveOffset, true);  // runs the apply itself
  const WorkingValues before = v;
  v.PositiveOffsetOn = false;
  controls.setText(Control::Pulses, "5");  // texts without change handlers
  controls.setText(Control::DutyCycle, "30");
  controls.setText(Control::Duration, "7");
  controls.setText(Control::fFinal, "0");  // on the Constant page, still checked
  engine.parameters.fEditExit();

  EXPECT_EQ(v.PulsesPerSecond, 5);
  EXPECT_TRUE(controls.checked(Control::PulsedOn));
  EXPECT_EQ(v.DutyFraction, 0.3f);
  EXPECT_TRUE(v.PositiveOffsetOn);
  EXPECT_EQ(v.SamplesPerPeriod, before.SamplesPerPeriod);
  EXPECT_EQ(v.NormInitFreq, before.NormInitFreq);
  EXPECT_EQ(v.PhaseIncrement, before.PhaseIncrement);
}

TEST_F(Apply, InvalidFrequencyStopsASoundingTone) {
  output.isActive = true;
  enter(Control::fEdit, "20000");
  EXPECT_EQ(output.stops, 1);
  output.isActive = false;
  enter(Control::fEdit, "30000");
  EXPECT_EQ(output.stops, 1);  // nothing to stop
}

TEST_F(Apply, PulsesSwitchThePulsedGroup) {
  EXPECT_FALSE(controls.checked(Control::PulsedOn));
  EXPECT_FALSE(controls.enabled(Control::Pulses));
  controls.userClick(Control::PulsedOn);
  EXPECT_EQ(controls.text(Control::Pulses), "1");
  EXPECT_EQ(v.PulsesPerSecond, 1);
  EXPECT_TRUE(controls.enabled(Control::Pulses));
  EXPECT_TRUE(controls.enabled(Control::DutyCycleUpDown));

  enter(Control::Pulses, "0");  // the apply unchecks, and the click handler applies again
  EXPECT_FALSE(controls.checked(Control::PulsedOn));
  EXPECT_FALSE(controls.enabled(Control::DutyCycle));
  EXPECT_EQ(v.PulsesPerSecond, 0);
}

TEST_F(Apply, PulseRatesOutsideZeroToSampleRateAreHeldInRange) {
  enter(Control::Pulses, "100000");
  EXPECT_EQ(v.PulsesPerSecond, 22050);
  enter(Control::Pulses, "-5");
  EXPECT_EQ(v.PulsesPerSecond, 0);
  EXPECT_FALSE(controls.checked(Control::PulsedOn));
  EXPECT_EQ(controls.text(Control::Pulses), "0");  // unchecking the group wrote "0"
}

TEST_F(Apply, DutyCycleAndPeriod) {
  enter(Control::DutyCycle, "50");
  EXPECT_EQ(v.DutyFraction, 0.5f);
  // Read to float32 first, then divided and rounded again. For the last three, one rounding
  // of the exact quotient would give another float.
  const struct {
    const char* text;
    long double typed;
  } duties[] = {{"33.3", 33.3L}, {"0.03", 0.03L}, {"0.09", 0.09L}, {"0.18", 0.18L}};
  for (const auto& d : duties) {
    enter(Control::DutyCycle, d.text);
    EXPECT_EQ(v.DutyFraction, static_cast<float>(static_cast<float>(d.typed) / 100.0L)) << d.text;
    if (d.typed < 1) {
      EXPECT_NE(v.DutyFraction, static_cast<float>(d.typed / 100.0L)) << d.text;
    }
  }
  // Beyond the range of a float (a script's field, found by fuzzing): still a number, and
  // still more than a whole pulse.
  for (const char* text : {"50000000000000000000000000000000000000000000000000000", "1e5000"}) {
    enter(Control::DutyCycle, text);
    EXPECT_TRUE(std::isfinite(v.DutyFraction)) << text;
    EXPECT_GT(v.DutyFraction, 1e30f) << text;
  }
  enter(Control::DutyCycle, "-1e5000");
  EXPECT_TRUE(std::isfinite(v.DutyFraction));
  EXPECT_LT(v.DutyFraction, 0.0f);
  enter(Control::Duration, "3");
  EXPECT_EQ(v.SamplesPerPeriod, 66150);
}

TEST_F(Apply, PeriodsBeyondThirtyTwoBitsAreHeldAtTheLongestCountablePeriod) {
  enter(Control::Duration, "1000000");
  EXPECT_EQ(v.SamplesPerPeriod, 2147483647);
  enter(Control::Duration, "-1000000");
  EXPECT_EQ(v.SamplesPerPeriod, -2147483647 - 1);
  enter(Control::Duration, "0");
  EXPECT_EQ(v.SamplesPerPeriod, 0);
}

TEST_F(Apply, LogarithmicAndLinearSweeps) {
  controls.setActivePage(SignalPage::Sweep);
  engine.parameters.fEditExit();  // fInit 100, fFinal 10000, 3 s, logarithmic
  EXPECT_NEAR(v.NormInitFreq, 0.0045351475f, 1e-10);
  EXPECT_EQ(v.NormInitFreq, static_cast<float>(100.0L / 22050));
  EXPECT_EQ(v.NormFinalFreq, static_cast<float>(10000.0L / 22050));
  EXPECT_EQ(v.SweepFactor,
            static_cast<float>(expl((logl(v.NormFinalFreq) - logl(v.NormInitFreq)) / 66149.0L)));
  EXPECT_NEAR(v.SweepFactor, 1.0000696f, 1e-7);
  EXPECT_EQ(v.SweepStep, 0.0f);

  controls.setChecked(Control::Logarithmic, false);  // no handler of its own
  EXPECT_NE(v.SweepFactor, 1.0f);
  engine.parameters.fEditExit();
  EXPECT_EQ(v.SweepFactor, 1.0f);
  EXPECT_NEAR(v.SweepStep, 4.2646e-5f, 1e-9);
}

TEST_F(Apply, SweepOfOneSampleDoesNotDivideByZero) {
  controls.setActivePage(SignalPage::Sweep);
  controls.setItemIndex(Control::FSList, 0);  // 11025 samples/s
  engine.parameters.FSListChange();
  controls.setText(Control::fFinal, "5000");
  enter(Control::Duration, "0");
  EXPECT_EQ(v.SweepFactor, 1.0f);
  controls.setChecked(Control::Logarithmic, false);
  engine.parameters.fEditExit();
  EXPECT_EQ(v.SweepStep, 0.0f);
}

TEST_F(Apply, DeviceNumberIsTheDeviceListIndexMinusOne) {
  controls.setItems(Control::WaveDevice, {"Default Windows Device", "Card A", "Card B"});
  controls.userSelect(Control::WaveDevice, 2);
  EXPECT_EQ(output.device, 1u);
  controls.userSelect(Control::WaveDevice, 0);
  EXPECT_EQ(output.device, 0xFFFFFFFFu);
}

TEST_F(Apply, MovesTheFrequencySliderOnlyWhenShownAndCreated) {
  controls.setMenuChecked(MenuOption::FreqSlider1, true);
  enter(Control::fEdit, "2000");
  EXPECT_EQ(controls.sliderPosition(), 0);  // no slider window yet
  controls.createSlider();
  enter(Control::fEdit, "1000");
  EXPECT_EQ(controls.sliderPosition(), 2699);  // 1000 * log10(500)
  controls.setMenuChecked(MenuOption::FreqSlider1, false);
  enter(Control::fEdit, "2000");
  EXPECT_EQ(controls.sliderPosition(), 2699);
}

TEST_F(Apply, NeverTouchesTheRunningStateOrTheLevel) {
  v.Phase = 1.25;
  v.SampleCounter = 77;
  v.CurrentSample = -5;
  v.AmplitudeFactor = 0.5f;
  enter(Control::fEdit, "440");
  EXPECT_EQ(v.Phase, 1.25);
  EXPECT_EQ(v.SampleCounter, 77);
  EXPECT_EQ(v.CurrentSample, -5);
  EXPECT_EQ(v.AmplitudeFactor, 0.5f);
}

}  // namespace
}  // namespace quor::testing
