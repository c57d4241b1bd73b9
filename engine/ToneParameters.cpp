#include "ToneParameters.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "Conversions.h"
#include "FrequencyScale.h"
#include "ToneError.h"

namespace quor {
namespace {

struct FrequencyField {
  Control control;
  const char* repairText;  // what the apply writes over a text that is no number
};

constexpr FrequencyField kFrequencyFields[] = {
    {Control::fEdit, "1000"}, {Control::fInit, "100"}, {Control::fFinal, "10000"}};

float normalised(float hertz, int32_t sampleRate) {
  return static_cast<float>(static_cast<long double>(hertz) / sampleRate);
}

double incrementOf(float normalisedFrequency) {
  return static_cast<double>(static_cast<long double>(normalisedFrequency) * 2.0L * kPi);
}

// Period in whole seconds times the sample rate. Beyond 32 bits the product is held at the
// largest period that can be counted instead of wrapping to a negative number.
int32_t samplesPerPeriod(int32_t seconds, int32_t sampleRate) {
  const long long product = static_cast<long long>(seconds) * sampleRate;
  return static_cast<int32_t>(std::clamp<long long>(product, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t sampleRateOfBandwidth(const std::string& bandwidthText) {
  return RoundHalfEven(2.0L * IntlStrToFloat(bandwidthText));
}

bool frequencyWithinBandwidth(float hertz, int32_t sampleRate) {
  // A frequency whose share of the sample rate rounds to nothing is none: a logarithmic sweep
  // from it multiplies by infinity, and the phase becomes no number.
  return hertz > 0 && hertz < static_cast<long double>(sampleRate) / 2 &&
         normalised(hertz, sampleRate) > 0;
}

ToneParameters::ToneParameters(WorkingValues& values, ToneControls& controls, ToneOutput& output)
    : values_(values), controls_(controls), output_(output) {}

int32_t ToneParameters::sampleRateFromBandwidth() const {
  return sampleRateOfBandwidth(controls_.text(Control::FSList));
}

void ToneParameters::fEditExit() {
  for (const auto& field : kFrequencyFields) {
    try {
      IntlStrToFloat(controls_.text(field.control));
    } catch (const ToneError&) {
      controls_.setText(field.control, field.repairText);
    }
  }

  output_.setWaveDevice(static_cast<uint32_t>(controls_.itemIndex(Control::WaveDevice) - 1));
  values_.SampleRate = sampleRateFromBandwidth();

  // Pulse rates beyond the sample rate would give a pulse period of no samples, and negative
  // ones a period that never sounds: both are held within 0..SampleRate.
  values_.PulsesPerSecond = std::clamp(LenientInteger(controls_.text(Control::Pulses)), 0,
                                       std::max(values_.SampleRate, 0));
  // A change of state runs PulsedOnClick, and with it a nested apply, right here.
  controls_.setChecked(Control::PulsedOn, values_.PulsesPerSecond > 0);

  // A duty beyond the range of a float would round to infinity, which is no working value. Any
  // duty of 100 or more lets every sample sound, so the largest float does the same.
  constexpr long double kLargestDuty = std::numeric_limits<float>::max();
  const float duty = static_cast<float>(
      std::clamp(LenientDecimal(controls_.text(Control::DutyCycle)), -kLargestDuty, kLargestDuty));
  values_.DutyFraction = static_cast<float>(static_cast<long double>(duty) / 100.0L);
  values_.PositiveOffsetOn = controls_.checked(Control::chkPositiveOffset);

  if (!frequenciesValid()) {
    if (output_.active()) output_.stopAtOnce();
    return;
  }

  const float f = IntlStrToFloat(controls_.text(Control::fEdit));
  if (controls_.menuChecked(MenuOption::FreqSlider1) && controls_.sliderExists()) {
    controls_.setSliderPosition(SliderPosition(f));
  }

  values_.SamplesPerPeriod =
      samplesPerPeriod(LenientInteger(controls_.text(Control::Duration)), values_.SampleRate);
  deriveFrequencies();
}

bool ToneParameters::frequenciesValid() const {
  for (const auto& field : kFrequencyFields) {
    if (!frequencyWithinBandwidth(IntlStrToFloat(controls_.text(field.control)),
                                  values_.SampleRate))
      return false;
  }
  return true;
}

void ToneParameters::deriveFrequencies() {
  WorkingValues& v = values_;
  if (controls_.activePage() == SignalPage::Constant) {
    v.NormInitFreq = normalised(IntlStrToFloat(controls_.text(Control::fEdit)), v.SampleRate);
    v.NormFinalFreq = v.NormInitFreq;
    v.PhaseIncrement = incrementOf(v.NormInitFreq);
    v.SweepStep = 0.0f;
    v.SweepFactor = 1.0f;
    return;
  }

  v.NormInitFreq = normalised(IntlStrToFloat(controls_.text(Control::fInit)), v.SampleRate);
  v.NormFinalFreq = normalised(IntlStrToFloat(controls_.text(Control::fFinal)), v.SampleRate);
  v.PhaseIncrement = incrementOf(v.NormInitFreq);
  // A period of one sample or none has no step between samples: it cannot sweep.
  const bool canSweep = v.SamplesPerPeriod > 1;
  const long double steps = canSweep ? static_cast<long double>(v.SamplesPerPeriod) - 1 : 1;
  if (controls_.checked(Control::Logarithmic)) {
    v.SweepFactor =
        canSweep ? static_cast<float>(expl((logl(v.NormFinalFreq) - logl(v.NormInitFreq)) / steps))
                 : 1.0f;
    v.SweepStep = 0.0f;
  } else {
    v.SweepFactor = 1.0f;
    v.SweepStep =
        canSweep ? static_cast<float>((static_cast<long double>(v.NormFinalFreq) - v.NormInitFreq) *
                                      2.0L * kPi / steps)
                 : 0.0f;
  }
}

void ToneParameters::AmplitudeChange() {
  const Control a = Control::Amplitude;
  if (controls_.text(a).empty()) {
    controls_.setText(a, "100");
  } else {
    try {
      if (IntlStrToFloat(controls_.text(a)) > 100) controls_.setText(a, "100");
      if (IntlStrToFloat(controls_.text(a)) < 0) controls_.setText(a, "0");
    } catch (const ToneError&) {
      controls_.setText(a, "100");
    }
  }
  const int32_t level = StrictInteger(controls_.text(a));
  values_.AmplitudeFactor = static_cast<float>(powl(10.0L, (level - 100) / 20.0L));
}

void ToneParameters::AmplitudeExit() {
  const int32_t level = std::clamp(LenientInteger(controls_.text(Control::Amplitude)), 0, 100);
  controls_.setText(Control::Amplitude, std::to_string(level));
}

void ToneParameters::FSListChange() {
  values_.SampleRate = sampleRateFromBandwidth();
  const int32_t half = values_.SampleRate / 2;
  if (controls_.sliderExists()) {
    controls_.setSliderRange(SliderMaximumOfRate(values_.SampleRate), std::to_string(half));
  }
  for (const auto& field : kFrequencyFields) {
    if (IntlStrToFloat(controls_.text(field.control)) > half) {
      controls_.setText(field.control, std::to_string(half));
    }
  }
  fEditExit();
}

void ToneParameters::cboSoundQualityChange() {
  output_.setQuantization(8 * controls_.itemIndex(Control::cboSoundQuality) + 8);
}

void ToneParameters::PulsedOnClick() {
  const bool on = controls_.checked(Control::PulsedOn);
  for (Control c :
       {Control::Pulses, Control::DutyCycle, Control::PulsesUpDown, Control::DutyCycleUpDown}) {
    controls_.setEnabled(c, on);
  }
  if (!on) {
    controls_.setText(Control::Pulses, "0");
  } else if (controls_.text(Control::Pulses) == "0") {
    controls_.setText(Control::Pulses, "1");
  }
  fEditExit();
}

void ToneParameters::frequencyTextChange(Control field) {
  const std::string text = controls_.text(field);
  if (text.empty()) return;
  try {
    IntlStrToFloat(text);
  } catch (const ToneError&) {
    controls_.setText(field, "1000");
  }
}

}  // namespace quor
