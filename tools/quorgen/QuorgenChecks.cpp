#include "QuorgenChecks.h"

#include <algorithm>

#include "Conversions.h"
#include "ToneError.h"
#include "ToneParameters.h"
#include "WindowLayout.h"

namespace quor::tools {

namespace {

std::string refusal(const char* option, const std::string& value, const std::string& rule) {
  return std::string("--") + option + " '" + value + "': " + rule;
}

// The text as the spin controls write it: a whole number, in their range.
bool wholeNumberWithin(const std::string& text, int minimum, int maximum) {
  try {
    const int32_t value = StrictInteger(text);
    return value >= minimum && value <= maximum;
  } catch (const ToneError&) {
    return false;
  }
}

// The apply reads the duty cycle's leading number only: the whole text must be that number.
bool dutyWithin(const std::string& text, int minimum, int maximum) {
  try {
    const float value = IntlStrToFloat(text);
    return value == static_cast<float>(LenientDecimal(text)) && value >= minimum &&
           value <= maximum;
  } catch (const ToneError&) {
    return false;
  }
}

bool frequencyPlayable(const std::string& text, int32_t sampleRate) {
  try {
    return frequencyWithinBandwidth(IntlStrToFloat(text), sampleRate);
  } catch (const ToneError&) {
    return false;
  }
}

int firstStartBandwidth() {
  const auto& selections = firstStartSelections();
  const auto found =
      std::find_if(selections.begin(), selections.end(),
                   [](const DefaultSelection& s) { return s.list == Control::FSList; });
  return found->index;
}

}  // namespace

std::string toneValueError(const QuorgenRequest& request) {
  const std::string& bandwidth =
      bandwidthItems().at(static_cast<size_t>(request.bandwidth.value_or(firstStartBandwidth())));
  const int32_t sampleRate = sampleRateOfBandwidth(bandwidth);
  const struct {
    const char* option;
    const std::optional<std::string>& text;
  } frequencies[] = {{"freq", request.freq}, {"init", request.init}, {"final", request.final}};
  for (const auto& f : frequencies) {
    if (f.text && !frequencyPlayable(*f.text, sampleRate)) {
      return refusal(f.option, *f.text,
                     "a frequency must be a number above 0 and below " + bandwidth +
                         " Hz at --bandwidth " + bandwidth);
    }
  }

  const struct {
    const char* option;
    const std::optional<std::string>& text;
    int minimum, maximum;
    const char* rule;
  } wholeNumbers[] = {
      {"period", request.period, 1, 120,
       "the period must be a whole number of seconds from 1 to 120"},
      {"level", request.level, 0, 100, "the level must be a whole number from 0 to 100"},
      {"pulses", request.pulses, 0, 120,
       "the pulses per second must be a whole number from 0 to 120"},
  };
  for (const auto& w : wholeNumbers) {
    if (w.text && !wholeNumberWithin(*w.text, w.minimum, w.maximum)) {
      return refusal(w.option, *w.text, w.rule);
    }
  }
  if (request.duty && !dutyWithin(*request.duty, 1, 100)) {
    return refusal(
        "duty", *request.duty,
        "the duty cycle must be a number from 1 to 100 per cent, written with a decimal point");
  }
  return {};
}

}  // namespace quor::tools
