#pragma once
#include <cstdint>
#include <string>

#include "ScriptHost.h"
#include "ToneControls.h"
#include "ToneEngine.h"
#include "ToneOutput.h"

namespace quor {

class ScriptFields;
class ScriptFile;

// Plays tone scripts through the window's own controls: each tone or sweep line is typed into
// the tone fields and switched on with the ON/OFF operation, and the run waits until the tone
// has ended before it reads the next line. The script itself never touches the samples or the
// device.
class ScriptInterpreter {
 public:
  ScriptInterpreter(ToneControls& controls, ToneEngine& engine, ToneOutput& output,
                    ScriptHost& host);

  // Runs the script file `Filename` and returns when the run has ended. Errors of the run are
  // shown as messages and end it; only an error of the apply that restoring Loop runs at the
  // very end reaches the caller, once the main window is enabled again.
  void Runscript(const std::string& Filename);

  // The progress dialog's buttons. They act on a run only through ToneBusy and the dialog's
  // visibility. Next cuts the current tone or delay short and the run goes on with the next
  // line; Cancel also ends the run after the current line.
  void next();
  void cancel();

  static constexpr const char* kPauseMessage = "Pause in script. Please press OK to continue";
  static constexpr const char* kInvalidCommand = "An invalid script command was found in line ";

 private:
  void runLines(ScriptFile& file);
  void carryOut(const ScriptFields& fields, ScriptFile& file, int64_t& lineCounter);
  void prepareTone(SignalPage page, const ScriptFields& fields);
  void delay(const std::string& seconds);

  ToneControls& controls_;
  ToneEngine& engine_;
  ToneOutput& output_;
  ScriptHost& host_;
};

// How many 100 ms steps a delay of `seconds` lasts: ten a second, and at least one. Counted in
// 64 bits, so that a delay of more than 6.8 years lasts as long as it says.
int64_t delaySteps(int32_t seconds);

}  // namespace quor
