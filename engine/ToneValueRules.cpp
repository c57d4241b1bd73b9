#include "ToneValueRules.h"

#include <optional>

#include "Conversions.h"
#include "ToneError.h"
#include "ToneParameters.h"

namespace quor {

namespace {

std::optional<int32_t> wholeNumber(const std::string& text) {
  try {
    return StrictInteger(text);
  } catch (const ToneError&) {
    return std::nullopt;
  }
}

// Whole numbers that the spin control offers from `minimum` to `spinMaximum`, that play as
// typed up to `playedMaximum`, and that anything else changes.
ValueJudgement judgeWholeNumber(const std::string& text, int32_t minimum, int32_t spinMaximum,
                                int32_t playedMaximum, std::string rule) {
  const std::optional<int32_t> value = wholeNumber(text);
  ValueVerdict verdict = ValueVerdict::NotAsWritten;
  if (value && *value >= minimum && *value <= spinMaximum) {
    verdict = ValueVerdict::AsWritten;
  } else if (value && *value > spinMaximum && *value <= playedMaximum) {
    verdict = ValueVerdict::BeyondSpinRange;
  }
  return {verdict, std::move(rule)};
}

}  // namespace

ValueJudgement judgeFrequency(const std::string& text, const std::string& bandwidth) {
  ValueJudgement judgement{ValueVerdict::NotAsWritten,
                           "a frequency must be a number above 0 and below " + bandwidth + " Hz"};
  try {
    if (frequencyWithinBandwidth(IntlStrToFloat(text), sampleRateOfBandwidth(bandwidth)))
      judgement.verdict = ValueVerdict::AsWritten;
  } catch (const ToneError&) {
    // not a number: the change handling writes "1000" over it
  }
  return judgement;
}

ValueJudgement judgePeriod(const std::string& text) {
  // Longer periods play as long as they say; 0 or less cannot start.
  return judgeWholeNumber(text, 1, 120, INT32_MAX,
                          "the period must be a whole number of seconds from 1 to 120");
}

ValueJudgement judgeLevel(const std::string& text) {
  // The level's change handling holds it to 0..100 at once.
  return judgeWholeNumber(text, 0, 100, 100, "the level must be a whole number from 0 to 100");
}

ValueJudgement judgePulses(const std::string& text, int32_t sampleRate) {
  return judgeWholeNumber(text, 0, 120, sampleRate,
                          "the pulses per second must be a whole number from 0 to 120");
}

ValueJudgement judgeDuty(const std::string& text) {
  ValueJudgement judgement{
      ValueVerdict::NotAsWritten,
      "the duty cycle must be a number from 1 to 100 per cent, written with a decimal point"};
  try {
    // The apply reads the leading number only: the whole text must be that number.
    const float value = IntlStrToFloat(text);
    if (value == static_cast<float>(LenientDecimal(text))) {
      judgement.verdict =
          value >= 1 && value <= 100 ? ValueVerdict::AsWritten : ValueVerdict::BeyondSpinRange;
    }
  } catch (const ToneError&) {
    // not a number: read as its leading number, or 0
  }
  return judgement;
}

}  // namespace quor
