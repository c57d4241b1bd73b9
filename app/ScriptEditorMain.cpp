// Quor_ScriptEditor: the script editor that Quor Generator's "Open Script Editor" starts.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <iostream>

#include "ApplicationTitle.h"
#include "CommandLineInfo.h"
#include "TfrmScriptEditor.h"
#include "Version.h"
#include "WindowFont.h"

namespace {

// quorgen lies beside the editor once installed (both in bin); in the build tree it is built
// in tools/, beside the folder of the programs. No other copy is looked for: the editor plays
// with the quorgen of its own version.
QString quorgenBesideTheEditor() {
  const QDir here(QCoreApplication::applicationDirPath());
  for (const QString& candidate : {here.filePath("quorgen"), here.filePath("../tools/quorgen")}) {
    const QFileInfo file(candidate);
    if (file.isFile() && file.isExecutable()) return file.canonicalFilePath();
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto status = quor::answerScriptEditorInfoArgument(argc, argv, std::cout))
    return *status;
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quor Script Editor");
  QGuiApplication::setDesktopFileName(QString(quor::kDesktopFileName) + ".ScriptEditor");
  QApplication::setStyle("Fusion");
  QApplication::setFont(quor::windowFont());
  quor::setApplicationTitle("Quor Script Editor");

  quor::ScriptEditorServices services;
  services.quorgen = quorgenBesideTheEditor();
  services.play = quor::keptScriptPlaySettings();
  quor::TfrmScriptEditor editor(std::move(services));
  // A file name is taken as the bytes it was given as, as the generator takes its own.
  if (argc > 1) editor.openScript(QString::fromLocal8Bit(argv[1]));
  editor.show();
  return QApplication::exec();
}
