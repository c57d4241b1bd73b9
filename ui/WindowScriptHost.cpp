#include "WindowScriptHost.h"

#include <QLabel>

#include "EventLoopWaits.h"
#include "TfrmGenerator.h"
#include "TfrmScript.h"

namespace quor {

void WindowScriptHost::setDialogCaption(const std::string& caption) {
  frmScript_.setWindowTitle(QString::fromStdString(caption));
}

void WindowScriptHost::showDialog() {
  frmScript_.show();
  frmScript_.raise();
  frmScript_.activateWindow();
}

void WindowScriptHost::hideDialog() {
  frmScript_.hide();
}

bool WindowScriptHost::dialogVisible() const {
  return frmScript_.isVisible();
}

void WindowScriptHost::setStatus(const std::string& text) {
  frmScript_.label1()->setText(QString::fromStdString(text));
}

void WindowScriptHost::setMainWindowEnabled(bool enabled) {
  frmGenerator_.setTakesInput(enabled);
}

void WindowScriptHost::redrawMainWindow() {
  frmGenerator_.repaint();
}

void WindowScriptHost::showMessage(const std::string& text) {
  frmGenerator_.showMessage(text);
}

void WindowScriptHost::pause(const std::string& text) {
  frmGenerator_.showMessage(text);
}

void WindowScriptHost::waitWhileBusy(const std::function<bool()>& busy) {
  waitForEventsWhile(busy);
}

void WindowScriptHost::delayStep() {
  sleepOneDelayStep();
}

}  // namespace quor
