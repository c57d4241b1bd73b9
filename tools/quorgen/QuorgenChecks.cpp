#include "QuorgenChecks.h"

#include <algorithm>

#include "ToneParameters.h"
#include "ToneValueRules.h"
#include "WindowLayout.h"

namespace quor::tools {

namespace {

std::string refusal(const char* option, const std::string& value, const std::string& rule) {
  return std::string("--") + option + " '" + value + "': " + rule;
}

int firstStartBandwidth() {
  const auto& selections = firstStartSelections();
  const auto found =
      std::find_if(selections.begin(), selections.end(),
                   [](const DefaultSelection& s) { return s.list == Control::FSList; });
  return found->index;
}

}  // namespace

const std::string& requestedBandwidth(const QuorgenRequest& request) {
  return bandwidthItems().at(
      static_cast<size_t>(request.bandwidth.value_or(firstStartBandwidth())));
}

std::string toneValueError(const QuorgenRequest& request) {
  const std::string& bandwidth = requestedBandwidth(request);
  const int32_t sampleRate = sampleRateOfBandwidth(bandwidth);
  const auto refused = [](const ValueJudgement& j) { return j.verdict != ValueVerdict::AsWritten; };
  const struct {
    const char* option;
    const std::optional<std::string>& text;
  } frequencies[] = {{"freq", request.freq}, {"init", request.init}, {"final", request.final}};
  for (const auto& f : frequencies) {
    if (!f.text) continue;
    if (const ValueJudgement j = judgeFrequency(*f.text, bandwidth); refused(j))
      return refusal(f.option, *f.text, j.rule + " at --bandwidth " + bandwidth);
  }

  const struct {
    const char* option;
    const std::optional<std::string>& text;
    ValueJudgement (*judge)(const std::string&, int32_t);
  } values[] = {
      {"period", request.period, [](const std::string& t, int32_t) { return judgePeriod(t); }},
      {"level", request.level, [](const std::string& t, int32_t) { return judgeLevel(t); }},
      {"pulses", request.pulses, judgePulses},
      {"duty", request.duty, [](const std::string& t, int32_t) { return judgeDuty(t); }},
  };
  for (const auto& v : values) {
    if (!v.text) continue;
    if (const ValueJudgement j = v.judge(*v.text, sampleRate); refused(j))
      return refusal(v.option, *v.text, j.rule);
  }
  return {};
}

}  // namespace quor::tools
