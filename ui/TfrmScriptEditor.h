#pragma once
#include <QMainWindow>
#include <QMessageBox>
#include <QProcess>
#include <functional>
#include <memory>

#include "ScriptPlaySettings.h"

class QAction;
class QComboBox;
class QListWidget;
class QPlainTextEdit;
class QTabWidget;
class QTemporaryFile;
class QTimer;

namespace quor {

class FileDialogs;
class MessagePresenter;
class ScriptTextEdit;

// What the editor is given from outside, so that tests choose files and answer boxes.
struct ScriptEditorServices {
  FileDialogs* dialogs = nullptr;        // Qt's file dialogs when null
  MessagePresenter* messages = nullptr;  // message boxes when null
  // Whether changes that would be lost are to be saved first: Save, Discard or Cancel.
  // A question box when not set.
  std::function<QMessageBox::StandardButton(const QString& name)> askToSave;
  QString quorgen;  // the program that plays; empty when there is none (Play is disabled)
  ScriptPlaySettings play;
};

// Quor Script Editor: writes the tone scripts (.qvs) that Quor Generator and quorgen play. The
// text is checked as it is typed, with the rules of `quorgen check`: findings are marked on
// their lines and listed below the text. Play runs the script with `quorgen play` and shades
// each line as it plays. Files are Windows-1252 text with CR LF line ends, saved whole or not
// at all.
class TfrmScriptEditor : public QMainWindow {
  Q_OBJECT
 public:
  explicit TfrmScriptEditor(ScriptEditorServices services, QWidget* parent = nullptr);
  ~TfrmScriptEditor() override;

  // A new, untitled script that shows the language in comments and ends with "end".
  void newScript();
  // Opens `path`; a name that does not exist yet starts a new script that saves under it.
  // False, with the error shown, when the file cannot be read.
  bool openScript(const QString& path);
  bool saveScript();
  bool saveScriptAs();
  void play();
  void stop();

  const QString& fileName() const { return fileName_; }
  bool playing() const { return process_ != nullptr; }
  ScriptTextEdit* text() const { return text_; }
  QListWidget* findingsList() const { return findings_; }
  QPlainTextEdit* playLog() const { return playLog_; }
  QComboBox* bandwidthList() const { return bandwidth_; }
  QAction* playAction() const { return playAction_; }
  QAction* stopAction() const { return stopAction_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void check();
  // Offers to save changes that an action would lose; false when the user cancels.
  bool changesMayGo();
  bool writeTo(const QString& path);
  void setFileName(const QString& path);
  void readPlayOutput();
  void playEnded(int exitCode, QProcess::ExitStatus status);
  void showPlayState();

  ScriptEditorServices services_;
  std::unique_ptr<FileDialogs> ownDialogs_;
  std::unique_ptr<MessagePresenter> ownMessages_;
  QString fileName_;
  ScriptTextEdit* text_;
  QListWidget* findings_;
  QPlainTextEdit* playLog_;
  QTabWidget* below_;
  QComboBox* bandwidth_;
  QTimer* checkSoon_;
  QAction* playAction_ = nullptr;
  QAction* stopAction_ = nullptr;
  QProcess* process_ = nullptr;
  std::unique_ptr<QTemporaryFile> playedFile_;
  QByteArray pendingOutput_;
};

}  // namespace quor
