#include "WindowScriptHost.h"

#include <QCoreApplication>
#include <QEvent>
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
  // What the line has just changed (the page it chose) is painted now, before its tone starts;
  // the rest of the window is on the screen already, so it is not painted again.
  QCoreApplication::sendPostedEvents(&frmGenerator_, QEvent::UpdateRequest);
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
