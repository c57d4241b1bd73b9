#include "ScriptInterpreter.h"

#include <algorithm>
#include <exception>
#include <span>

#include "Conversions.h"
#include "ScriptFile.h"
#include "ScriptLine.h"

namespace quor {

namespace {

struct FieldTarget {
  Control control;
  int field;
};

// Where each line's fields go, in the order they are typed in.
constexpr FieldTarget kToneFields[] = {{Control::fEdit, 2},
                                       {Control::Duration, 3},
                                       {Control::Pulses, 4},
                                       {Control::DutyCycle, 5},
                                       {Control::Amplitude, 6}};
constexpr FieldTarget kSweepFields[] = {{Control::fInit, 2},     {Control::fFinal, 3},
                                        {Control::Duration, 4},  {Control::Pulses, 5},
                                        {Control::DutyCycle, 6}, {Control::Amplitude, 7}};
constexpr int kSweepLawField = 8;

// Enables the main window again however the run ends.
class MainWindowLock {
 public:
  explicit MainWindowLock(ScriptHost& host) : host_(host) { host_.setMainWindowEnabled(false); }
  ~MainWindowLock() { host_.setMainWindowEnabled(true); }
  MainWindowLock(const MainWindowLock&) = delete;
  MainWindowLock& operator=(const MainWindowLock&) = delete;

 private:
  ScriptHost& host_;
};

}  // namespace

int64_t delaySteps(int32_t seconds) {
  return std::max<int64_t>(1, int64_t{10} * seconds);
}

ScriptInterpreter::ScriptInterpreter(ToneControls& controls, ToneEngine& engine, ToneOutput& output,
                                     ScriptHost& host)
    : controls_(controls), engine_(engine), output_(output), host_(host) {}

void ScriptInterpreter::Runscript(const std::string& Filename) {
  const bool savedLoop = controls_.checked(Control::chkLoop);
  MainWindowLock lock(host_);
  host_.setDialogCaption(Filename);
  host_.showDialog();
  try {
    ScriptFile file(Filename);
    runLines(file);
  } catch (const std::exception& error) {
    host_.showMessage(error.what());
    host_.hideDialog();
  }
  // Each tone of the run played once; a change back runs the apply, as a click would.
  controls_.setChecked(Control::chkLoop, savedLoop);
}

void ScriptInterpreter::runLines(ScriptFile& file) {
  ScriptFields fields;
  int64_t lineCounter = 0;
  do {
    const std::string line = file.readLine();
    ++lineCounter;
    fields.take(trimScriptLine(line));
    host_.setStatus("Line " + std::to_string(lineCounter) + ": " + fields[1]);
    carryOut(fields, file, lineCounter);
    host_.waitWhileBusy([this] { return engine_.values.ToneBusy; });
  } while (host_.dialogVisible());
}

void ScriptInterpreter::carryOut(const ScriptFields& fields, ScriptFile& file,
                                 int64_t& lineCounter) {
  const std::string& word = fields[1];
  if (word == "tone") {
    prepareTone(SignalPage::Constant, fields);
    engine_.toneSwitch.OnButtonClick();
  } else if (word == "sweep") {
    prepareTone(SignalPage::Sweep, fields);
    controls_.setChecked(Control::Logarithmic, fields[kSweepLawField] == "1");
    engine_.toneSwitch.OnButtonClick();
  } else if (word == "pause") {
    host_.pause(kPauseMessage);
  } else if (word == "delay") {
    delay(fields[2]);
  } else if (word == "repeat") {
    file.rewind();
    lineCounter = 0;
  } else if (word != "rem" && word != "end") {
    host_.showMessage(kInvalidCommand + std::to_string(lineCounter));
    host_.hideDialog();
  } else if (word == "end") {
    host_.hideDialog();
  }
}

void ScriptInterpreter::prepareTone(SignalPage page, const ScriptFields& fields) {
  // The page is chosen without the handling of a user's choice; the apply reads it at the start.
  controls_.setActivePage(page);
  host_.redrawMainWindow();
  // The tone has to end by itself for the run to go on.
  controls_.setChecked(Control::chkLoop, false);
  using Targets = std::span<const FieldTarget>;
  const Targets targets =
      page == SignalPage::Constant ? Targets(kToneFields) : Targets(kSweepFields);
  for (const FieldTarget& target : targets) controls_.setText(target.control, fields[target.field]);
}

void ScriptInterpreter::delay(const std::string& seconds) {
  const int64_t steps = delaySteps(StrictInteger(seconds));
  // After Next the stopped tone's notification is still on its way. Arriving during the delay,
  // it would clear ToneBusy and cut the silence short after its first step.
  output_.finishPendingStop();
  bool& busy = engine_.values.ToneBusy;
  // However the delay ends, an error of the host's included, no tone is left busy behind it.
  struct ClearWhenDone {
    bool& flag;
    ~ClearWhenDone() { flag = false; }
  } clear{busy};
  int64_t done = 0;
  do {
    busy = true;
    host_.delayStep();
    ++done;
  } while (done < steps && busy);
}

void ScriptInterpreter::next() {
  engine_.toneSwitch.stopsignal();
  engine_.values.ToneBusy = false;
}

void ScriptInterpreter::cancel() {
  next();
  host_.hideDialog();
}

}  // namespace quor
