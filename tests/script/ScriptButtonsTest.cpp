// Next and Cancel as the progress dialog's buttons drive them (inside the run's waits), the
// failures that end a run, Loop kept across a run, and repeat.
#include "ScriptFixture.h"

namespace quor::testing {
namespace {

struct ButtonCase {
  const char* name;
  const char* script;
  bool cancel;  // Cancel, else Next, pressed at 1 s
  std::vector<std::string> statuses;
  std::vector<int64_t> ms;  // how long each line lasts; -1: not checked
};

void PrintTo(const ButtonCase& c, std::ostream* os) {
  *os << c.name;
}

class Buttons : public ScriptTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(Buttons, ActThroughToneBusyAndTheDialog) {
  const ButtonCase& c = GetParam();
  host.at(1000, [&] { c.cancel ? interpreter.cancel() : interpreter.next(); });
  run(c.script);
  EXPECT_EQ(host.statuses, c.statuses);
  ASSERT_EQ(host.lines.size(), c.ms.size());
  for (size_t i = 0; i < c.ms.size(); ++i) {
    if (c.ms[i] >= 0) {
      EXPECT_EQ(host.lines[i].ms(), c.ms[i]) << host.lines[i].status;
    }
  }
  // A tone cut short has played exactly up to the press: what was queued is dropped.
  EXPECT_LE(host.lines[0].frames(), static_cast<uint64_t>(kRate));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(host.visible);
  EXPECT_TRUE(host.mainWindowEnabled);
  EXPECT_FALSE(output.active());
}

INSTANTIATE_TEST_SUITE_P(
    Script, Buttons,
    ::testing::Values(ButtonCase{"NextDuringAToneGoesOnWithTheNextLine",
                                 "tone 440 5 0 50 100\ntone 880 2 0 50 100\nend\n",
                                 false,
                                 {"Line 1: tone", "Line 2: tone", "Line 3: end"},
                                 {1000, -1, 0}},
                      ButtonCase{"NextDuringADelayEndsIt",
                                 "delay 5\nend\n",
                                 false,
                                 {"Line 1: delay", "Line 2: end"},
                                 {1000, 0}},
                      ButtonCase{"ADelayAfterNextLastsItsWholeTime",
                                 "tone 440 5 0 50 100\ndelay 2\nend\n",
                                 false,
                                 {"Line 1: tone", "Line 2: delay", "Line 3: end"},
                                 {1000, 2000, 0}},
                      ButtonCase{"CancelDuringAToneReadsNoFurtherLine",
                                 "tone 440 5 0 50 100\ntone 880 2 0 50 100\nend\n",
                                 true,
                                 {"Line 1: tone"},
                                 {1000}},
                      ButtonCase{
                          "CancelDuringADelay", "delay 5\nend\n", true, {"Line 1: delay"}, {1000}}),
    [](const auto& info) { return std::string(info.param.name); });

// A tone that Next cuts short flashes the screen when its stop arrives, before the next line
// goes on; a tone that ends by itself flashes too.
TEST_F(ScriptTest, ToneStopsFlashAlsoAfterNext) {
  controls.setMenuChecked(MenuOption::Flashscreenwhenfinished1, true);
  host.at(1000, [this] { interpreter.next(); });
  int flashesAtTheDelay = -1;
  host.at(1100, [&] { flashesAtTheDelay = controls.flashes(); });
  run("tone 440 5 0 50 100\ndelay 1\ntone 880 2 0 50 100\nend\n");
  EXPECT_EQ(flashesAtTheDelay, 1);
  EXPECT_EQ(controls.flashes(), 2);
}

TEST_F(ScriptTest, ARefusedDeviceEndsTheRunAfterItsLine) {
  host.at(500, [this] { device.refuseNextOpen(audio::MMSYSERR_ALLOCATED); });
  const std::string file = scriptFile("tone 440 2 0 50 100\ntone 880 2 0 50 100\nend\n");
  interpreter.Runscript(file);
  EXPECT_EQ(host.statuses, (std::vector<std::string>{"Line 1: tone", "Line 2: tone"}));
  EXPECT_EQ(controls.messages(),
            std::vector<std::string>{std::string(ToneSwitch::kSoundcardError) + "\r" +
                                     device.errorText(audio::MMSYSERR_ALLOCATED)});
  EXPECT_EQ(host.log,
            (std::vector<std::string>{"disable", "caption " + file, "show", "hide", "enable"}));
  EXPECT_TRUE(controls.checked(Control::chkLoop));
  EXPECT_FALSE(engine.values.ToneBusy);
}

TEST_F(ScriptTest, LoopIsRestoredAndItsApplyRunsAfterTheRun) {
  ASSERT_TRUE(controls.checked(Control::chkLoop));
  // Typed while the run is on (no handler follows the period field): only the apply of
  // Loop's restoring derives the new period.
  host.at(100, [this] { controls.setText(Control::Duration, "7"); });
  run("tone 440 2 0 50 100\nend\n");
  EXPECT_FALSE(snapshots.at(0).loop);
  EXPECT_TRUE(controls.checked(Control::chkLoop));
  EXPECT_EQ(engine.values.SamplesPerPeriod, 7 * kRate);

  // Unchecked before, unchecked after; and an error ending the run restores it too.
  controls.setChecked(Control::chkLoop, false);
  run("delay 1.5\n");
  EXPECT_FALSE(controls.checked(Control::chkLoop));
  controls.setChecked(Control::chkLoop, true);
  run("tone 440 2 0 50 100\ndelay 1.5\n");
  EXPECT_TRUE(controls.checked(Control::chkLoop));
}

// Repeat starts the line numbers again and keeps the fields: the second sweep is logarithmic,
// because field 8 now comes from the comment line.
TEST_F(ScriptTest, RepeatRewindsAndKeepsTheFields) {
  host.at(3500, [this] { interpreter.cancel(); });  // in the third sweep
  run("sweep 100 200 1 0 50 90\nrem a b c d e f 1\nrepeat\n");
  EXPECT_EQ(host.statuses, (std::vector<std::string>{
                               "Line 1: sweep", "Line 2: rem", "Line 3: repeat", "Line 1: sweep",
                               "Line 2: rem", "Line 3: repeat", "Line 1: sweep"}));
  ASSERT_EQ(snapshots.size(), 7u);
  EXPECT_FALSE(snapshots[0].logarithmic);
  EXPECT_TRUE(snapshots[3].logarithmic);
  EXPECT_TRUE(snapshots[6].logarithmic);
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace quor::testing
