#pragma once
#include <functional>
#include <string>

namespace quor {

// What a script run needs around it besides the tone controls: the progress dialog, the main
// window, messages and the passing of time. The window, a command-line player and a renderer
// into a file each provide their own; everything is called on the one thread that runs the
// script.
class ScriptHost {
 public:
  virtual ~ScriptHost() = default;

  // The progress dialog. A run goes on only while it is visible. Hiding it, for whatever
  // reason, also enables the main window again. The controls' hideScriptDialog() (a tone
  // that could not start) must end up in hideDialog() of the host of the run.
  virtual void setDialogCaption(const std::string& caption) = 0;
  virtual void showDialog() = 0;  // not modal: the run goes on behind it
  virtual void hideDialog() = 0;
  virtual bool dialogVisible() const = 0;
  virtual void setStatus(const std::string& text) = 0;  // "Line 3: tone"

  // The main window takes no input while a script runs. Redrawing shows the page a line has
  // just chosen before its tone starts.
  virtual void setMainWindowEnabled(bool enabled) = 0;
  virtual void redrawMainWindow() = 0;

  // A message that the user acknowledges before the run goes on (an error, an invalid line).
  virtual void showMessage(const std::string& text) = 0;
  // The message of a "pause" line; returns when the user wants the script to go on. A host
  // without anyone to ask may go on at once.
  virtual void pause(const std::string& text) = 0;

  // Handles everything that is pending (the output's notifications, the dialog's buttons) at
  // least once, then goes on handling events as they come while busy() is true. It must not
  // spin: a host waits for its next event rather than asking again and again.
  virtual void waitWhileBusy(const std::function<bool()>& busy) = 0;
  // One tenth of a second of a delay line: the time passes, then everything pending is handled.
  virtual void delayStep() = 0;
};

}  // namespace quor
