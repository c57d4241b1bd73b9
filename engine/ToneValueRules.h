#pragma once
#include <cstdint>
#include <string>

namespace quor {

// How the window takes a text typed into one of its tone fields. The window never complains:
// it replaces a frequency that is no number, holds the level to its range, reads only the
// leading number of a period and quietly keeps the previous tone when a frequency lies outside
// the bandwidth. Whoever cannot watch the window (the command line, a script check) asks here.
enum class ValueVerdict {
  AsWritten,        // played as typed
  BeyondSpinRange,  // played as typed, though the field's spin control would never offer it
  NotAsWritten,     // replaced, held, read in part, refused or the end of a script run
};

struct ValueJudgement {
  ValueVerdict verdict = ValueVerdict::AsWritten;
  std::string rule;  // what the field takes: "the level must be a whole number from 0 to 100"
};

// `bandwidth` is an item of FSList ("11025"): a frequency must lie below it.
ValueJudgement judgeFrequency(const std::string& text, const std::string& bandwidth);
ValueJudgement judgePeriod(const std::string& text);
ValueJudgement judgeLevel(const std::string& text);
// Above the sample rate the apply holds the pulse rate at the sample rate.
ValueJudgement judgePulses(const std::string& text, int32_t sampleRate);
ValueJudgement judgeDuty(const std::string& text);

}  // namespace quor
