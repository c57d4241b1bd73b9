#pragma once
#include "ScriptHost.h"

namespace quor {

class TfrmGenerator;
class TfrmScript;

// A script run in the window: the progress dialog TfrmScript, the main window locked and
// redrawn, the window's own message boxes, and waits in the application's event loop.
class WindowScriptHost : public ScriptHost {
 public:
  WindowScriptHost(TfrmGenerator& frmGenerator, TfrmScript& frmScript)
      : frmGenerator_(frmGenerator), frmScript_(frmScript) {}

  void setDialogCaption(const std::string& caption) override;
  void showDialog() override;
  void hideDialog() override;
  bool dialogVisible() const override;
  void setStatus(const std::string& text) override;
  void setMainWindowEnabled(bool enabled) override;
  void redrawMainWindow() override;
  void showMessage(const std::string& text) override;
  void pause(const std::string& text) override;
  void waitWhileBusy(const std::function<bool()>& busy) override;
  void delayStep() override;

 private:
  TfrmGenerator& frmGenerator_;
  TfrmScript& frmScript_;
};

}  // namespace quor
