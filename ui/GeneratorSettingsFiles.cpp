// The main window's side of tone settings files: the File menu's load and save, and the file
// named on the command line.
#include "FileDialogs.h"
#include "TfrmGenerator.h"
#include "ToneSettingsFile.h"

namespace quor {

namespace {

FileDialogRequest saveDialog2() {
  return {"Save Tone Settings As", "QVP presets|*.qvp", "qvp"};
}

FileDialogRequest openDialog1() {
  return {"Load Tone Settings", "Quor Tone Presets|*.qvp", "qvp"};
}

}  // namespace

void TfrmGenerator::SaveSweepSettingsAs1Click() {
  // Before the dialog: a playing tone stops even when the dialog is cancelled.
  engine_->toneSwitch.stopsignal();
  const QString fileName = dialogs_->saveFileName(saveDialog2());
  if (fileName.isEmpty()) return;
  SaveToneSettings(fileName.toStdString(), presets_->memories);
}

void TfrmGenerator::LoadSweepSettings1Click() {
  engine_->toneSwitch.stopsignal();
  const QString fileName = dialogs_->openFileName(openDialog1());
  if (fileName.isEmpty()) return;
  LoadSettings(fileName.toStdString());
}

void TfrmGenerator::LoadSettings(const std::string& Filename) {
  // A failure leaves the captions as they were, over whatever slots were read by then.
  LoadToneSettings(Filename, presets_->memories);
  presets_->showNames();
}

void TfrmGenerator::loadSettingsFileArgument() {
  if (services_.arguments.empty()) return;
  const std::string& first = services_.arguments.front();
  if (isToneSettingsArgument(first)) guarded([this, &first] { LoadSettings(first); });
}

}  // namespace quor
