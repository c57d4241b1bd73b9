// The check of a script without playing it: its findings, and how the first pass of a run
// ends.
#include <gtest/gtest.h>

#include "ScriptCheck.h"
#include "ScriptText.h"

namespace quor {
// A finding in a failure message as the check prints it.
void PrintTo(const ScriptFinding& f, std::ostream* os) {
  *os << formatFinding("", f);
}
}  // namespace quor

namespace quor::testing {
namespace {

ScriptFinding E(int line, std::string message) {
  return {ScriptFinding::Severity::Error, line, std::move(message)};
}
ScriptFinding W(int line, std::string message) {
  return {ScriptFinding::Severity::Warning, line, std::move(message)};
}

struct CheckCase {
  const char* name;
  const char* script;
  std::vector<ScriptFinding> findings;
  const char* bandwidth = "11025";
};

void PrintTo(const CheckCase& c, std::ostream* os) {
  *os << c.name;
}

class ScriptCheckFindings : public ::testing::TestWithParam<CheckCase> {};

TEST_P(ScriptCheckFindings, AreReportedOnTheirLinesWithTheExactText) {
  const CheckCase& c = GetParam();
  EXPECT_EQ(checkScript(scriptLinesOf(c.script), c.bandwidth).findings, c.findings);
}

const char* const kPeriodRule = "the period must be a whole number of seconds from 1 to 120";
const char* const kDutyRule =
    "the duty cycle must be a number from 1 to 100 per cent, written with a decimal point";
const std::string kBeyond = " plays as written, beyond the window's range: ";

INSTANTIATE_TEST_SUITE_P(
    Script, ScriptCheckFindings,
    ::testing::Values(
        CheckCase{"TheLanguagesExample",
                  "rem warm-up\ntone 440 5 0 50 100\ndelay 2\nsweep 100 1000 10 0 50 90 1\n"
                  "sweep 200 300 4 2 25 100 0\ntone 7,83 60 10 50 100\npause\nend\n",
                  {}},
        CheckCase{"CommentsWithAnySpacing", "rem  two  spaces\ttab\nend", {}},
        CheckCase{"CapitalLetter",
                  "Tone 440 3 0 50 100\nend",
                  {E(1, "'Tone' is no command: command words are lower case (\"tone\")")}},
        CheckCase{"TabAfterTheWord",
                  "tone\t440 3 0 50 100\nend",
                  {E(1,
                     "a tab after \"tone\" makes 'tone\\t440' one word, which is no command: "
                     "separate them with a space")}},
        CheckCase{"UnknownWord",
                  "play 440\nend",
                  {E(1,
                     "'play' is no command: a line starts with tone, sweep, delay, pause, rem, "
                     "repeat or end")}},
        CheckCase{"BlankLineAndLineOfBlanks",
                  "tone 440 1 0 50 100\n\n \t \nend",
                  {E(2,
                     "a blank line stops the run with \"An invalid script command was found "
                     "in line 2\""),
                   E(3,
                     "a blank line stops the run with \"An invalid script command was found "
                     "in line 3\"")}},
        CheckCase{"NoEnd",
                  "tone 440 1 0 50 100\r\n",
                  {E(1,
                     "the script ends without \"end\" or \"repeat\": the run stops with \"An "
                     "invalid script command was found in line 2\"")}},
        CheckCase{"Empty",
                  "",
                  {E(1,
                     "the script is empty: the run stops with \"An invalid script command was "
                     "found in line 1\"")}},
        CheckCase{"TwoSpacesShiftTheArguments",
                  "tone 440 1  0 50 100\nend",
                  {W(1,
                     "two spaces in a row leave field 4 empty: every argument after it moves "
                     "one field on"),
                   W(1, "not used by tone: '100'")}},
        CheckCase{"SweepFieldsCarriedIntoATone",
                  "sweep 100 1000 10 0 50 90 1\ntone 440\nend",
                  {W(2,
                     "fields missing from this line carry over from earlier lines: period "
                     "'1000' (line 1), pulses per second '10' (line 1), duty cycle '0' (line "
                     "1), level '50' (line 1)"),
                   W(2, "period '1000'" + kBeyond + kPeriodRule),
                   W(2, "duty cycle '0'" + kBeyond + kDutyRule)}},
        CheckCase{"CommentWordsCarriedIntoADelay",
                  "rem wait a while\ndelay\nend",
                  {W(2,
                     "fields missing from this line carry over from earlier lines: seconds "
                     "'wait' (line 1)"),
                   E(2,
                     "seconds 'wait': a delay lasts a whole number of seconds; the run stops "
                     "with \"'wait' is not a valid integer value\"")}},
        CheckCase{"TextAfterTheNinthSpace",
                  "tone 440 1 0 50 100 a b c d e\nend",
                  {W(1, "the text after the ninth space is ignored: 'd e'"),
                   W(1, "not used by tone: 'a' 'b' 'c'")}},
        CheckCase{"DelaysOfNoWholeNumber",
                  "delay\ndelay 1.5\ndelay 0\nend",
                  {E(1,
                     "no seconds (field 2): a delay lasts a whole number of seconds; the run "
                     "stops with \"'' is not a valid integer value\""),
                   E(2,
                     "seconds '1.5': a delay lasts a whole number of seconds; the run stops "
                     "with \"'1.5' is not a valid integer value\""),
                   W(3, "seconds '0': a delay of 0 seconds or less lasts one step of 0.1 s")}},
        CheckCase{"FirstLineWithoutAPeriod",
                  "tone 440\nend",
                  {E(1, std::string("no period (field 3): ") + kPeriodRule)}},
        CheckCase{"ValuesTheWindowDoesNotTakeAsWritten",
                  "tone 11025 1\ntone abc 3\ntone 440 3,5\ntone 440 3 0 50 150\n"
                  "tone 440 3 0 50 50.5\ntone 440 3 30000 50 100\ntone 440 3 5 33,3 100\n"
                  "tone 440 3 -1 50 100\nend",
                  {E(1,
                     "frequency '11025': a frequency must be a number above 0 and below 11025 "
                     "Hz at bandwidth 11025"),
                   E(2,
                     "frequency 'abc': a frequency must be a number above 0 and below 11025 Hz "
                     "at bandwidth 11025"),
                   E(3, std::string("period '3,5': ") + kPeriodRule),
                   E(4, "level '150': the level must be a whole number from 0 to 100"),
                   E(5, "level '50.5': the level must be a whole number from 0 to 100"),
                   E(6,
                     "pulses per second '30000': the pulses per second must be a whole number "
                     "from 0 to 120"),
                   E(7, std::string("duty cycle '33,3': ") + kDutyRule),
                   E(8,
                     "pulses per second '-1': the pulses per second must be a whole number "
                     "from 0 to 120")}},
        CheckCase{"ValuesBeyondTheSpinRangesStillPlay",
                  "tone 440 300 200 150 100\nend",
                  {W(1, "period '300'" + kBeyond + kPeriodRule),
                   W(1, "pulses per second '200'" + kBeyond +
                            "the pulses per second must be a whole number from 0 to 120"),
                   W(1, "duty cycle '150'" + kBeyond + kDutyRule)},
                  "22050"},
        CheckCase{"FrequencyBelowAWiderBandwidth", "tone 11025 1\nend", {}, "22050"},
        CheckCase{"SweepLawOtherThanOneOrZero",
                  "sweep 100 1000 3 0 50 100 log\nend",
                  {W(1,
                     "sweep law 'log': only \"1\" sweeps logarithmically, anything else "
                     "linearly")}},
        CheckCase{"RepeatWithoutSound",
                  "rem nothing\npause\nrepeat",
                  {E(3,
                     "the script repeats without a tone, sweep or delay before this line: it "
                     "runs for ever and plays nothing")}},
        CheckCase{"LinesAfterTheEnd",
                  "end\n\ntone 440 1\nfoo\n",
                  {W(3, "never played: the run does not get past line 1 (end)")}},
        CheckCase{"ArgumentsNoCommandReads",
                  "pause now\ndelay 1 2\nend",
                  {W(1, "not used by pause: 'now'"), W(2, "not used by delay: '2'")}}),
    [](const auto& info) { return std::string(info.param.name); });

struct PassCase {
  const char* name;
  const char* script;
  ScriptPass::Ending ending;
  int endingLine;
  double seconds;
  bool sounds;
};

void PrintTo(const PassCase& c, std::ostream* os) {
  *os << c.name;
}

class ScriptCheckPass : public ::testing::TestWithParam<PassCase> {};

// How a run's first pass ends decides whether a render needs a length, and its seconds are
// what a progress bar counts towards.
TEST_P(ScriptCheckPass, EndsWhereTheRunWouldAndCountsItsSeconds) {
  const PassCase& c = GetParam();
  const ScriptPass pass = checkScript(scriptLinesOf(c.script), "11025").pass;
  EXPECT_EQ(pass.ending, c.ending);
  EXPECT_EQ(pass.endingLine, c.endingLine);
  EXPECT_DOUBLE_EQ(pass.seconds, c.seconds);
  EXPECT_EQ(pass.sounds, c.sounds);
}

INSTANTIATE_TEST_SUITE_P(
    Script, ScriptCheckPass,
    ::testing::Values(PassCase{"End", "tone 440 5 0 50 100\ndelay 2\nsweep 1 9 10\nend\nrepeat",
                               ScriptPass::Ending::End, 4, 17, true},
                      PassCase{"Repeat", "delay 0\ntone 440 3\nrepeat\nend",
                               ScriptPass::Ending::Repeat, 3, 3.1, true},
                      PassCase{"InvalidLineFirst", "tone 440 3\nTone 440 3\nrepeat",
                               ScriptPass::Ending::Invalid, 2, 3, true},
                      PassCase{"NoEnd", "rem\n", ScriptPass::Ending::Invalid, 2, 0, false},
                      PassCase{"BareDelayTakesTheFrequency", "tone 440 5 0 50 100\ndelay\nend",
                               ScriptPass::Ending::End, 3, 445, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quor::testing
