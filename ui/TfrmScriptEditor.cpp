#include "TfrmScriptEditor.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryFile>
#include <QTimer>
#include <QToolBar>

#include "FileDialogs.h"
#include "FileReplace.h"
#include "MessagePresenter.h"
#include "ProgramIcon.h"
#include "ScriptCheck.h"
#include "ScriptFile.h"
#include "ScriptText.h"
#include "ScriptTextEdit.h"
#include "ToneError.h"
#include "WindowLayout.h"

namespace quor {

namespace {

constexpr const char* kTitle = "Quor Script Editor";
constexpr int kCheckDelayMs = 150;  // a pause in typing, not every key

// What a new script holds: the language in comment lines, and the line that ends a run.
const std::vector<std::string> kExample{
    "rem A tone script plays its lines in turn. One space between fields, lower case words.",
    "rem tone HZ SECONDS PULSES DUTY LEVEL            e.g. tone 440 5 0 50 100",
    "rem sweep FROM TO SECONDS PULSES DUTY LEVEL LAW  e.g. sweep 100 1000 10 0 50 90 1 (log)",
    "rem delay SECONDS, pause, repeat (from the top), end (the last line)",
    "end",
};

const FileDialogRequest kScriptFiles{{}, "QVP Script|*.qvs|All Files|*.*", "qvs"};

QMessageBox::StandardButton askWithABox(QWidget* parent, const QString& name) {
  return QMessageBox::question(
      parent, kTitle, QString("Save the changes to %1 before they are lost?").arg(name),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
}

}  // namespace

TfrmScriptEditor::TfrmScriptEditor(ScriptEditorServices services, QWidget* parent)
    : QMainWindow(parent),
      services_(std::move(services)),
      text_(new ScriptTextEdit),
      findings_(new QListWidget),
      playLog_(new QPlainTextEdit),
      below_(new QTabWidget),
      bandwidth_(new QComboBox),
      checkSoon_(new QTimer(this)) {
  if (services_.dialogs == nullptr) {
    ownDialogs_ = std::make_unique<QtFileDialogs>(this);
    services_.dialogs = ownDialogs_.get();
  }
  if (services_.messages == nullptr) {
    ownMessages_ = std::make_unique<MessageBoxPresenter>(this);
    services_.messages = ownMessages_.get();
  }
  if (!services_.askToSave) {
    services_.askToSave = [this](const QString& name) { return askWithABox(this, name); };
  }
  setWindowIcon(programIcon());
  resize(760, 540);

  playLog_->setReadOnly(true);
  playLog_->setFont(text_->font());
  below_->addTab(findings_, "Findings");
  below_->addTab(playLog_, "Play");
  auto* split = new QSplitter(Qt::Vertical);
  split->addWidget(text_);
  split->addWidget(below_);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);
  setCentralWidget(split);

  for (const std::string& item : bandwidthItems())
    bandwidth_->addItem(QString::fromStdString(item));
  bandwidth_->setCurrentIndex(services_.play.bandwidthIndex);
  bandwidth_->setToolTip("The bandwidth the script is checked and played at (list FSList)");
  buildMenus();

  checkSoon_->setSingleShot(true);
  checkSoon_->setInterval(kCheckDelayMs);
  connect(checkSoon_, &QTimer::timeout, this, &TfrmScriptEditor::check);
  connect(text_, &QPlainTextEdit::textChanged, checkSoon_, qOverload<>(&QTimer::start));
  connect(bandwidth_, &QComboBox::currentIndexChanged, this, &TfrmScriptEditor::check);
  connect(text_->document(), &QTextDocument::modificationChanged, this,
          &QWidget::setWindowModified);
  connect(text_, &QPlainTextEdit::cursorPositionChanged, this, [this] {
    const QString messages = text_->messagesOf(text_->textCursor().blockNumber() + 1);
    statusBar()->showMessage(messages.section('\n', 0, 0));
  });
  connect(findings_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { text_->goToLine(item->data(Qt::UserRole).toInt()); });
  newScript();
}

TfrmScriptEditor::~TfrmScriptEditor() {
  if (process_ != nullptr) {
    process_->disconnect(this);
    process_->kill();
    process_->waitForFinished(1000);
  }
}

void TfrmScriptEditor::buildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->addAction("&New", QKeySequence::New, this, [this] {
    if (changesMayGo()) newScript();
  });
  file->addAction("&Open...", QKeySequence::Open, this, [this] {
    if (!changesMayGo()) return;
    const QString chosen = services_.dialogs->openFileName(kScriptFiles);
    if (!chosen.isEmpty()) openScript(chosen);
  });
  file->addAction("&Save", QKeySequence::Save, this, &TfrmScriptEditor::saveScript);
  file->addAction("Save &As...", QKeySequence::SaveAs, this, &TfrmScriptEditor::saveScriptAs);
  file->addSeparator();
  file->addAction("&Quit", QKeySequence::Quit, this, &QWidget::close);

  QMenu* script = menuBar()->addMenu("&Script");
  playAction_ = script->addAction("&Play", Qt::Key_F5, this, &TfrmScriptEditor::play);
  stopAction_ = script->addAction("S&top", Qt::SHIFT | Qt::Key_F5, this, &TfrmScriptEditor::stop);

  QToolBar* bar = addToolBar("Script");
  bar->setObjectName("ScriptBar");
  bar->addAction(playAction_);
  bar->addAction(stopAction_);
  bar->addSeparator();
  bar->addWidget(new QLabel(" Bandwidth (Hz): "));
  bar->addWidget(bandwidth_);
  showPlayState();
}

void TfrmScriptEditor::newScript() {
  text_->setScriptLines(kExample);
  text_->document()->setModified(false);
  text_->goToLine(static_cast<int>(kExample.size()));
  setFileName({});
  check();
}

bool TfrmScriptEditor::openScript(const QString& path) {
  if (!QFileInfo::exists(path)) {
    newScript();
    setFileName(path);
    statusBar()->showMessage(QString("%1 is new: Save writes it").arg(path));
    return true;
  }
  std::vector<std::string> lines;
  try {
    lines = readScriptLines(path.toStdString());
  } catch (const ToneError& e) {
    services_.messages->showError(QString::fromStdString(e.what()));
    return false;
  }
  text_->setScriptLines(lines);
  text_->document()->setModified(false);
  text_->goToLine(1);
  setFileName(path);
  check();
  return true;
}

bool TfrmScriptEditor::saveScript() {
  return fileName_.isEmpty() ? saveScriptAs() : writeTo(fileName_);
}

bool TfrmScriptEditor::saveScriptAs() {
  const QString chosen = services_.dialogs->saveFileName(kScriptFiles);
  if (chosen.isEmpty() || !writeTo(chosen)) return false;
  setFileName(chosen);
  return true;
}

bool TfrmScriptEditor::writeTo(const QString& path) {
  const std::vector<std::string> lines = text_->scriptLines();
  const std::string bytes = scriptFileBytes(lines);
  try {
    replaceFile(path.toStdString(), bytes);
  } catch (const ToneError& e) {
    services_.messages->showError(QString::fromStdString(e.what()));
    return false;
  }
  text_->document()->setModified(false);
  const bool lossless = scriptLinesOf(bytes) == lines;
  statusBar()->showMessage(lossless ? QString("Saved %1").arg(path)
                                    : QString("Saved %1; characters that Windows-1252 does not "
                                              "have were written as \"?\"")
                                          .arg(path));
  return true;
}

void TfrmScriptEditor::setFileName(const QString& path) {
  fileName_ = path;
  const QString name = path.isEmpty() ? QString("Untitled") : QFileInfo(path).fileName();
  setWindowTitle(QString("%1[*] - %2").arg(name, kTitle));
}

bool TfrmScriptEditor::changesMayGo() {
  if (!text_->document()->isModified()) return true;
  const QString name = fileName_.isEmpty() ? QString("Untitled") : QFileInfo(fileName_).fileName();
  switch (services_.askToSave(name)) {
    case QMessageBox::Save:
      return saveScript();
    case QMessageBox::Discard:
      return true;
    default:
      return false;
  }
}

void TfrmScriptEditor::check() {
  checkSoon_->stop();
  const ScriptCheck result =
      checkScript(text_->scriptLines(), bandwidth_->currentText().toStdString());
  text_->setFindings(result.findings);
  findings_->clear();
  for (const ScriptFinding& finding : result.findings) {
    const bool error = finding.severity == ScriptFinding::Severity::Error;
    auto* item = new QListWidgetItem(QString("Line %1: %2%3")
                                         .arg(finding.line)
                                         .arg(error ? "error: " : "warning: ")
                                         .arg(QString::fromStdString(finding.message)),
                                     findings_);
    item->setData(Qt::UserRole, finding.line);
    item->setForeground(error ? QColor(200, 0, 0) : QColor(170, 100, 0));
  }
  below_->setTabText(below_->indexOf(findings_),
                     result.findings.empty()
                         ? QString("Findings")
                         : QString("Findings (%1)").arg(result.findings.size()));
}

void TfrmScriptEditor::play() {
  if (process_ != nullptr || services_.quorgen.isEmpty()) return;
  // The text as it stands is played, saved or not, from a copy in the file's own format.
  const std::string bytes = scriptFileBytes(text_->scriptLines());
  playedFile_ = std::make_unique<QTemporaryFile>(QDir::temp().filePath("quor-script-XXXXXX.qvs"));
  if (!playedFile_->open() ||
      playedFile_->write(bytes.data(), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size()) ||
      !playedFile_->flush()) {
    services_.messages->showError("The script could not be written for playing: " +
                                  playedFile_->errorString());
    playedFile_.reset();
    return;
  }
  playedFile_->close();
  playLog_->clear();
  pendingOutput_.clear();
  process_ = new QProcess(this);
  process_->setProcessChannelMode(QProcess::MergedChannels);
  process_->setStandardInputFile(QProcess::nullDevice());
  connect(process_, &QProcess::readyRead, this, &TfrmScriptEditor::readPlayOutput);
  connect(process_, &QProcess::finished, this, &TfrmScriptEditor::playEnded);
  connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) playEnded(-1, QProcess::CrashExit);
  });
  const QStringList arguments = QStringList{"play", "--bandwidth", bandwidth_->currentText()} +
                                services_.play.options + QStringList{playedFile_->fileName()};
  playLog_->appendPlainText("quorgen " + arguments.join(' '));
  below_->setCurrentWidget(playLog_);
  process_->start(services_.quorgen, arguments);
  showPlayState();
}

void TfrmScriptEditor::stop() {
  // quorgen takes this as Ctrl+C: the tone stops at once.
  if (process_ != nullptr) process_->terminate();
}

void TfrmScriptEditor::readPlayOutput() {
  static const QRegularExpression status("^Line (\\d+): ");
  pendingOutput_ += process_->readAll();
  for (qsizetype end; (end = pendingOutput_.indexOf('\n')) >= 0;) {
    const QString line = QString::fromLocal8Bit(pendingOutput_.left(end));
    pendingOutput_.remove(0, end + 1);
    playLog_->appendPlainText(line);
    const QRegularExpressionMatch match = status.match(line);
    if (match.hasMatch()) text_->setPlayingLine(match.captured(1).toInt());
  }
}

void TfrmScriptEditor::playEnded(int exitCode, QProcess::ExitStatus status) {
  readPlayOutput();
  if (!pendingOutput_.isEmpty()) playLog_->appendPlainText(QString::fromLocal8Bit(pendingOutput_));
  QString end;
  if (exitCode == -1) {
    end = "quorgen could not be started: " + process_->errorString();
  } else if (status == QProcess::CrashExit || exitCode == 130 || exitCode == 143) {
    end = "Stopped.";
  } else {
    end = exitCode == 0 ? QString("Played to the end.")
                        : QString("The run ended with an error (exit status %1).").arg(exitCode);
  }
  playLog_->appendPlainText(end);
  statusBar()->showMessage(end);
  text_->setPlayingLine(0);
  process_->deleteLater();
  process_ = nullptr;
  playedFile_.reset();
  showPlayState();
}

void TfrmScriptEditor::showPlayState() {
  if (playAction_ == nullptr) return;
  const bool canPlay = !services_.quorgen.isEmpty();
  playAction_->setEnabled(canPlay && process_ == nullptr);
  playAction_->setToolTip(canPlay ? QString("Play the script with quorgen (F5)")
                                  : QString("quorgen, which plays scripts, was not found beside "
                                            "the editor"));
  stopAction_->setEnabled(process_ != nullptr);
}

void TfrmScriptEditor::closeEvent(QCloseEvent* event) {
  if (!changesMayGo()) {
    event->ignore();
    return;
  }
  stop();
  event->accept();
}

}  // namespace quor
