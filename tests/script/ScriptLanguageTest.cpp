// The script language line by line: what each line puts into which field, the status lines,
// how long each line lasts on the clock and where and how a run ends.
#include <cstdlib>

#include "ScriptFixture.h"

namespace quor::testing {
namespace {

const std::string kInvalid = ScriptInterpreter::kInvalidCommand;
constexpr int64_t kBufferFrames = 8192;  // 16384 bytes of 16-bit samples at first start

// A non-looping tone is heard for its whole buffers: less than one buffer short of its period.
void expectLasted(const FakeClockHost::Line& line, int seconds, bool sounds) {
  const int64_t frames = seconds * kRate;
  if (!sounds) {
    EXPECT_EQ(line.ms(), seconds * 1000);
    EXPECT_EQ(line.frames(), 0u);
    return;
  }
  EXPECT_GT(static_cast<int64_t>(line.frames()), frames - kBufferFrames);
  EXPECT_LE(static_cast<int64_t>(line.frames()), frames);
  EXPECT_GT(line.ms(), seconds * 1000 - 400);
  EXPECT_LE(line.ms(), seconds * 1000 + 40);
}

// Sign changes per second of the 16-bit samples in a range of frames.
double crossingsPerSecond(const std::vector<uint8_t>& bytes, uint64_t from, uint64_t to) {
  int crossings = 0;
  auto sample = [&](uint64_t i) {
    return static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  };
  for (uint64_t i = from + 1; i < to; ++i) {
    if ((sample(i - 1) < 0) != (sample(i) < 0)) ++crossings;
  }
  return crossings * static_cast<double>(kRate) / static_cast<double>(to - from);
}

struct ExampleLine {
  const char* status;
  std::map<Control, std::string> texts;
  SignalPage page;
  bool logarithmic, pulsed;
  int seconds;
  bool sounds;
};

TEST_F(ScriptTest, TheExampleScriptPlaysEachLineThroughTheWindowsFields) {
  controls.setChecked(Control::Logarithmic, false);
  const std::string file = scriptFile(
      "rem warm-up\r\n"
      "tone 440 5 0 50 100\r\n"
      "delay 2\r\n"
      "sweep 100 1000 10 0 50 90 1\r\n"
      "sweep 200 300 4 2 25 100 0\r\n"
      "tone 7,83 60 10 50 100\r\n"
      "pause\r\n"
      "end\r\n");
  interpreter.Runscript(file);

  using C = Control;
  const SignalPage K = SignalPage::Constant, S = SignalPage::Sweep;
  // clang-format off
  const std::vector<ExampleLine> expected = {
      {"Line 1: rem", {{C::fEdit, "1000"}, {C::Duration, "3"}}, K, false, false, 0, false},
      {"Line 2: tone", {{C::fEdit, "440"}, {C::Duration, "5"}, {C::Pulses, "0"},
                        {C::DutyCycle, "50"}, {C::Amplitude, "100"}}, K, false, false, 5, true},
      {"Line 3: delay", {{C::fEdit, "440"}}, K, false, false, 2, false},
      {"Line 4: sweep", {{C::fInit, "100"}, {C::fFinal, "1000"}, {C::Duration, "10"},
                         {C::Pulses, "0"}, {C::DutyCycle, "50"}, {C::Amplitude, "90"},
                         {C::fEdit, "440"}}, S, true, false, 10, true},
      {"Line 5: sweep", {{C::fInit, "200"}, {C::fFinal, "300"}, {C::Duration, "4"},
                         {C::Pulses, "2"}, {C::DutyCycle, "25"}, {C::Amplitude, "100"}},
                        S, false, true, 4, true},
      {"Line 6: tone", {{C::fEdit, "7,83"}, {C::Duration, "60"}, {C::Pulses, "10"},
                        {C::DutyCycle, "50"}, {C::Amplitude, "100"}, {C::fInit, "200"}},
                       K, false, true, 60, true},
      {"Line 7: pause", {{C::fEdit, "7,83"}}, K, false, true, 0, false},
      {"Line 8: end", {{C::fEdit, "7,83"}}, K, false, true, 0, false},
  };
  // clang-format on
  ASSERT_EQ(host.lines.size(), expected.size());
  ASSERT_EQ(snapshots.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(expected[i].status);
    EXPECT_EQ(host.lines[i].status, expected[i].status);
    expectTexts(snapshots[i], expected[i].texts);
    EXPECT_EQ(snapshots[i].page, expected[i].page);
    EXPECT_EQ(snapshots[i].logarithmic, expected[i].logarithmic);
    EXPECT_EQ(snapshots[i].pulsed, expected[i].pulsed);
    EXPECT_EQ(snapshots[i].loop, i == 0);  // unchecked by the first tone, so that tones end
    expectLasted(host.lines[i], expected[i].seconds, expected[i].sounds);
  }
  EXPECT_NEAR(crossingsPerSecond(device.played(), host.lines[1].startFrame, host.lines[1].endFrame),
              880.0, 2.0);
  EXPECT_EQ(host.pauses, std::vector<std::string>{"Pause in script. Please press OK to continue"});
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(controls.messages().empty());
  EXPECT_EQ(host.log,
            (std::vector<std::string>{"disable", "caption " + file, "show", "hide", "enable"}));
  EXPECT_EQ(host.redraws, 4);  // once for each tone and sweep
  EXPECT_TRUE(controls.checked(Control::chkLoop));
}

// Which line a run ends on, with which message, and what the fields hold at a line.
struct RunCase {
  const char* name;
  std::string script;
  std::vector<std::string> statuses;
  std::vector<std::string> messages;  // the run's own messages
  size_t line;                        // the line whose fields are checked
  std::map<Control, std::string> texts;
};

void PrintTo(const RunCase& c, std::ostream* os) {
  *os << c.name;
}

class RunCases : public ScriptTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(RunCases, EndAndFields) {
  const RunCase& c = GetParam();
  run(c.script);
  EXPECT_EQ(host.statuses, c.statuses);
  EXPECT_EQ(host.messages, c.messages);
  EXPECT_FALSE(host.visible);
  EXPECT_TRUE(host.mainWindowEnabled);
  if (!c.texts.empty()) {
    ASSERT_LT(c.line, snapshots.size());
    expectTexts(snapshots[c.line], c.texts);
  }
}

using C = Control;

// Trimming and the single-space split.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Splitting, RunCases,
    ::testing::Values(
        RunCase{"CapitalT", "Tone 440 2 0 50 100\nend\n", {"Line 1: Tone"}, {kInvalid + "1"}, 0,
                {{C::fEdit, "1000"}}},
        RunCase{"TabAfterTheWord", "tone\t440 2 0 50 100\nend\n", {"Line 1: tone\t440"},
                {kInvalid + "1"}, 0, {}},
        RunCase{"TabBetweenArgumentsMakesOneFieldThatTheWindowRepairs",
                "tone 440\t1 2 0 50 100\nend\n", {"Line 1: tone", "Line 2: end"}, {}, 0,
                {{C::fEdit, "1000"}, {C::Duration, "2"}, {C::Pulses, "0"}}},
        RunCase{"BlankLine", "rem\n\nend\n", {"Line 1: rem", "Line 2: "}, {kInvalid + "2"}, 0, {}},
        RunCase{"LineOfSpaces", "rem\n    \nend\n", {"Line 1: rem", "Line 2: "},
                {kInvalid + "2"}, 0, {}},
        RunCase{"BlanksAroundTheLineAreTrimmed", " \t tone 440 2 0 50 100 \t\x01\nend\n",
                {"Line 1: tone", "Line 2: end"}, {}, 0,
                {{C::fEdit, "440"}, {C::Duration, "2"}, {C::Amplitude, "100"}}},
        RunCase{"TwoSpacesShiftTheArguments", "tone  2 0 50 100\nend\n",
                {"Line 1: tone", "Line 2: end"}, {}, 0,
                {{C::fEdit, "1000"}, {C::Duration, "2"}, {C::Pulses, "0"}, {C::DutyCycle, "50"},
                 {C::Amplitude, "100"}}},
        RunCase{"TextAfterTheNinthSpaceIsDropped",
                "sweep 100 200 2 0 50 90 1 nine and the rest\nend\n",
                {"Line 1: sweep", "Line 2: end"}, {}, 0,
                {{C::fInit, "100"}, {C::fFinal, "200"}, {C::Duration, "2"}, {C::Amplitude, "90"}}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Fields that carry over, and the ends of a run.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    CarryOverAndEnds, RunCases,
    ::testing::Values(
        RunCase{"AShortToneLineKeepsTheFieldsOfTheLineBefore",
                "tone 1000 3 0 50 80\ntone 440\nend\n",
                {"Line 1: tone", "Line 2: tone", "Line 3: end"}, {}, 1,
                {{C::fEdit, "440"}, {C::Duration, "3"}, {C::Pulses, "0"}, {C::DutyCycle, "50"},
                 {C::Amplitude, "80"}}},
        RunCase{"AToneAfterASweepTakesTheSweepsFieldsByPosition",
                "sweep 300 2 4 0 50 90 1\ntone 440\nend\n",
                {"Line 1: sweep", "Line 2: tone", "Line 3: end"}, {}, 1,
                {{C::fEdit, "440"}, {C::Duration, "2"}, {C::Pulses, "4"}, {C::DutyCycle, "0"},
                 {C::Amplitude, "50"}}},
        RunCase{"CommentsReachFieldsToo", "rem a 2 0 50 70\ntone 440\nend\n",
                {"Line 1: rem", "Line 2: tone", "Line 3: end"}, {}, 1,
                {{C::fEdit, "440"}, {C::Duration, "2"}, {C::Amplitude, "70"}}},
        RunCase{"ArgumentsThatTheWindowCorrects", "tone abc 2 0 50 250\nend\n",
                {"Line 1: tone", "Line 2: end"}, {}, 0,
                {{C::fEdit, "1000"}, {C::Amplitude, "100"}}},
        RunCase{"AThreeLineScriptWithoutEndFailsOnLineFour", "rem a\nrem b\nrem c",
                {"Line 1: rem", "Line 2: rem", "Line 3: rem", "Line 4: "}, {kInvalid + "4"}, 0, {}},
        RunCase{"AnErrorOfTheWindowsHandlingEndsTheRun", "tone 440 2 0 50 50.5\nend\n",
                {"Line 1: tone"}, {"'50.5' is not a valid integer value"}, 0, {}},
        RunCase{"AnEmptyFileFailsOnLineOne", "", {"Line 1: "}, {kInvalid + "1"}, 0, {}},
        RunCase{"EndEndsTheRunBeforeTheLinesAfterIt", "end\ntone 440 2 0 50 100\n",
                {"Line 1: end"}, {}, 0, {{C::fEdit, "1000"}}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

using namespace std::string_literals;

// Script files as Windows writes them: Windows-1252, lines ending in CR LF or LF.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    LineEndsAndCodePage, RunCases,
    ::testing::Values(
        RunCase{"LineFeeds", "rem a\nend\n", {"Line 1: rem", "Line 2: end"}, {}, 0, {}},
        RunCase{"CarriageReturnLineFeeds", "rem a\r\nend\r\n", {"Line 1: rem", "Line 2: end"},
                {}, 0, {}},
        RunCase{"NoLineEndAtTheEnd", "rem a\r\nend", {"Line 1: rem", "Line 2: end"}, {}, 0, {}},
        RunCase{"ALoneCarriageReturnIsDroppedAndEndsNoLine", "rem a\rend\n",
                {"Line 1: rem", "Line 2: "}, {kInvalid + "2"}, 0, {}},
        RunCase{"ACarriageReturnInsideAWordIsDropped", "e\rnd\r\r\n", {"Line 1: end"}, {}, 0, {}},
        RunCase{"Windows1252Bytes", "rem caf\xE9\nt\xF6ne 440\n",
                {"Line 1: rem", "Line 2: t\u00F6ne"}, {kInvalid + "2"}, 0, {}},
        RunCase{"AByteOrderMarkIsNotRecognised", "\xEF\xBB\xBF" "end\n",
                {"Line 1: \u00EF\u00BB\u00BF" "end"}, {kInvalid + "1"}, 0, {}},
        RunCase{"ANulByteBelongsToItsField", "rem\0x\nend\n"s, {"Line 1: rem\0x"s},
                {kInvalid + "1"}, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// On the first line of a run the fields it does not reach are empty: a period of no seconds
// cannot start, and the failed start ends the run.
TEST_F(ScriptTest, MissingFieldsOnTheFirstLineAreEmptyTexts) {
  run("tone 440\nend\n");
  EXPECT_EQ(host.statuses, std::vector<std::string>{"Line 1: tone"});
  expectTexts(snapshots.at(0), {{Control::fEdit, "440"},
                                {Control::Duration, ""},
                                {Control::Pulses, ""},
                                {Control::DutyCycle, ""},
                                {Control::Amplitude, "100"}});
  EXPECT_EQ(controls.messages(), std::vector<std::string>{ToneSwitch::kPeriodTooShort});
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(host.visible);
}

struct DelayCase {
  const char* name;
  const char* script;
  size_t line;
  int64_t ms;  // how long that line lasts; -1: the run ends there with `message`
  const char* message;
};

void PrintTo(const DelayCase& c, std::ostream* os) {
  *os << c.name;
}

class Delays : public ScriptTest, public ::testing::WithParamInterface<DelayCase> {};

TEST_P(Delays, LastTenStepsASecondAndAtLeastOne) {
  const DelayCase& c = GetParam();
  run(c.script);
  ASSERT_GT(host.lines.size(), c.line);
  EXPECT_FALSE(engine.values.ToneBusy);
  if (c.ms < 0) {
    EXPECT_EQ(host.lines.size(), c.line + 1);
    EXPECT_EQ(host.messages, std::vector<std::string>{c.message});
    return;
  }
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.lines[c.line].ms(), c.ms);
  EXPECT_EQ(host.lines[c.line].frames(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Script, Delays,
    ::testing::Values(
        DelayCase{"TwoSeconds", "delay 2\nend\n", 0, 2000, ""},
        DelayCase{"Zero", "delay 0\nend\n", 0, 100, ""},
        DelayCase{"Negative", "delay -3\nend\n", 0, 100, ""},
        DelayCase{"BareAfterAToneTakesItsFrequency", "tone 440 2 0 50 100\ndelay\nend\n", 1, 440000,
                  ""},
        DelayCase{"BareOnTheFirstLine", "delay\nend\n", 0, -1, "'' is not a valid integer value"},
        DelayCase{"NotWhole", "delay 1.5\nend\n", 0, -1, "'1.5' is not a valid integer value"},
        DelayCase{"Beyond32Bits", "delay 3000000000\nend\n", 0, -1,
                  "'3000000000' is not a valid integer value"},
        DelayCase{"AnErrorOfTheHostEndsIt", "delay 8000\nend\n", 0, -1, "the fake clock ran out"}),
    [](const auto& info) { return std::string(info.param.name); });

// 10 x 214748365 steps do not fit in 32 bits; the delay still lasts what it says instead of
// wrapping round to a single step.
TEST_F(ScriptTest, ADelayOfMoreThan32BitsOfStepsLastsAsLongAsItSays) {
  EXPECT_EQ(delaySteps(214748365), 2147483650LL);
  EXPECT_EQ(delaySteps(2147483647), 21474836470LL);
  EXPECT_EQ(delaySteps(-2147483647 - 1), 1);
  host.at(60000, [this] { interpreter.cancel(); });
  run("delay 214748365\nend\n");
  EXPECT_EQ(host.delaySteps, 600);
  EXPECT_EQ(host.statuses, std::vector<std::string>{"Line 1: delay"});
}

}  // namespace
}  // namespace quor::testing
