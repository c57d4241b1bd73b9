#pragma once
#include <string>
#include <vector>

#include "ScriptHost.h"

namespace quor::testing {

// What a user sees of a script run: the progress dialog, the main window's state and the
// messages, kept as they happen. The waits are left to the host that derives from it.
class RecordingHost : public ScriptHost {
 public:
  void setDialogCaption(const std::string& caption) override {
    log.push_back("caption " + caption);
  }
  void showDialog() override {
    visible = true;
    log.push_back("show");
  }
  void hideDialog() override {
    visible = false;
    mainWindowEnabled = true;  // the dialog's FormHide
    log.push_back("hide");
  }
  bool dialogVisible() const override { return visible; }
  void setStatus(const std::string& text) override { statuses.push_back(text); }
  void setMainWindowEnabled(bool enabled) override {
    mainWindowEnabled = enabled;
    log.push_back(enabled ? "enable" : "disable");
  }
  void redrawMainWindow() override { ++redraws; }
  void showMessage(const std::string& text) override {
    messages.push_back(text);
    log.push_back("message " + text);
  }
  void pause(const std::string& text) override { pauses.push_back(text); }

  std::vector<std::string> log;  // dialog, main window and messages, in order
  std::vector<std::string> statuses;
  std::vector<std::string> messages;
  std::vector<std::string> pauses;
  bool visible = false;
  bool mainWindowEnabled = true;
  int redraws = 0;
};

}  // namespace quor::testing
