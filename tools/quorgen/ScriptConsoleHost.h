#pragma once
#include <ostream>
#include <string>

#include "ScriptHost.h"

namespace quor::tools {

// What the command-line hosts of a script run share: there is no dialog to show and no window
// to lock, and what the window would show in a message box goes to standard error. A run that
// showed any message has failed: that is an error, an invalid line or a device that would not
// start.
class ScriptConsoleHost : public ScriptHost {
 public:
  explicit ScriptConsoleHost(std::ostream& err) : err_(err) {}

  void setDialogCaption(const std::string&) override {}
  void showDialog() override { visible_ = true; }
  void hideDialog() override { visible_ = false; }
  bool dialogVisible() const override { return visible_; }
  void setMainWindowEnabled(bool) override {}
  void redrawMainWindow() override {}
  void showMessage(const std::string& text) override;

  bool failed() const { return failed_; }
  // Ctrl+C: whatever the host waits for ends now.
  virtual void interrupt() {}

 protected:
  // A line of text on standard error.
  virtual void say(const std::string& line);

 private:
  std::ostream& err_;
  bool visible_ = false;
  bool failed_ = false;
};

}  // namespace quor::tools
