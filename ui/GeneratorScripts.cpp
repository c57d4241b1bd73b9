// The main window's side of tone scripts: the File menu's run and editor items, the run itself
// with the progress dialog, and the script named on the command line.
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include "FileDialogs.h"
#include "ScriptFile.h"
#include "ScriptInterpreter.h"
#include "TfrmGenerator.h"
#include "TfrmScript.h"
#include "WindowScriptHost.h"

namespace quor {

namespace {

// No title of its own: the dialog shows the platform's.
FileDialogRequest openDialog2() {
  return {"", "QVP Script|*.qvs|All Files|*.*", "qvs"};
}

#ifdef Q_OS_WIN
constexpr const char* kScriptEditor = "Quor_ScriptEditor.exe";
#else
constexpr const char* kScriptEditor = "Quor_ScriptEditor";
#endif

}  // namespace

void TfrmGenerator::attachScriptDialog(std::unique_ptr<TfrmScript> dialog) {
  frmScript_ = std::move(dialog);
  scriptHost_ = std::make_unique<WindowScriptHost>(*this, *frmScript_);
  scriptInterpreter_ =
      std::make_unique<ScriptInterpreter>(*this, *engine_, *services_.output, *scriptHost_);
  // A tone that cannot start hides the dialog, which ends the run.
  onHideScriptDialog = [this] { scriptHost_->hideDialog(); };
  findChild<QAction*>("RunScript1")->setEnabled(true);
}

void TfrmGenerator::RunScript1Click() {
  // Before the dialog: a playing tone stops even when the dialog is cancelled.
  engine_->toneSwitch.stopsignal();
  const QString fileName = dialogs_->openFileName(openDialog2());
  if (fileName.isEmpty()) return;
  Runscript(fileName.toStdString());
}

void TfrmGenerator::Runscript(const std::string& Filename) {
  scriptInterpreter_->Runscript(Filename);
}

bool TfrmGenerator::runScriptArgument() {
  if (services_.arguments.empty()) return false;
  const std::string& first = services_.arguments.front();
  if (!isToneScriptArgument(first)) return false;
  guarded([this, &first] { Runscript(first); });
  return true;
}

void TfrmGenerator::OpenScriptEditor1Click() {
  const QString folder = services_.programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                           : services_.programFolder;
  // The editor is a program of its own: it is not waited for, and a missing or broken editor
  // is not reported.
  QProcess::startDetached(QDir(folder).filePath(kScriptEditor), {});
}

}  // namespace quor
