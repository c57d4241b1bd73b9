// The script editor on the offscreen platform: marks as a script is typed, saving and opening
// files, and playing through the quorgen of the build.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "AppSettings.h"
#include "MemoryControls.h"
#include "ScriptTextEdit.h"
#include "TfrmScriptEditor.h"
#include "WindowFixture.h"

namespace quor::testing {
namespace {

class ScriptEditorTest : public ::testing::Test {
 protected:
  explicit ScriptEditorTest(QString quorgen = QUORGEN_PATH) {
    services.dialogs = &files;
    services.messages = &presenter;
    services.askToSave = [this](const QString& name) {
      asked.push_back(name.toStdString());
      return answer;
    };
    services.quorgen = std::move(quorgen);
    services.play.options = {"--bits", "16"};
    editor = std::make_unique<TfrmScriptEditor>(services);
    editor->show();
    editor->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(editor.get()));
  }

  ScriptTextEdit* text() const { return editor->text(); }
  QStringList findings() const {
    QStringList items;
    for (int i = 0; i < editor->findingsList()->count(); ++i)
      items << editor->findingsList()->item(i)->text();
    return items;
  }
  // Whether line `line` is underlined with a wave of `colour`.
  bool underlined(int line, const QColor& colour) const {
    const QTextBlock block = text()->document()->findBlockByNumber(line - 1);
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
      if (range.format.underlineStyle() == QTextCharFormat::WaveUnderline &&
          range.format.underlineColor() == colour)
        return true;
    }
    return false;
  }
  static bool waitFor(const std::function<bool()>& condition, int ms = 3000) {
    return QTest::qWaitFor(condition, ms);
  }
  void type(const QString& keys) {
    QTest::keyClicks(text(), keys);
    QTest::keyClick(text(), Qt::Key_Return);
  }
  std::string readFile(const QString& path) const {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll().toStdString();
  }
  void playToTheEnd(const std::vector<std::string>& lines) {
    text()->setScriptLines(lines);
    editor->playAction()->trigger();
    ASSERT_TRUE(editor->playing());
    ASSERT_TRUE(waitFor([this] { return !editor->playing(); }, 10000));
  }

  ChosenFiles files;
  RecordingPresenter presenter;
  QMessageBox::StandardButton answer = QMessageBox::Cancel;
  std::vector<std::string> asked;
  ScriptEditorServices services;
  std::unique_ptr<TfrmScriptEditor> editor;
  QTemporaryDir folder;
};

// A new script explains the language in comments and plays as it is: nothing is marked. A line
// typed with a capital letter is marked as soon as typing pauses, and unmarked once mended.
TEST_F(ScriptEditorTest, ABadLineIsMarkedOnItsLineAsItIsTyped) {
  EXPECT_EQ(text()->scriptLines().front().substr(0, 4), "rem ");
  EXPECT_EQ(text()->scriptLines().back(), "end");
  EXPECT_TRUE(findings().isEmpty());
  const int line = text()->textCursor().blockNumber() + 1;  // the new script's "end" line

  type("Tone 440 3 0 50 100");
  ASSERT_TRUE(waitFor([this] { return !findings().isEmpty(); }));
  EXPECT_EQ(findings(), QStringList{QString("Line %1: error: 'Tone' is no command: command words "
                                            "are lower case (\"tone\")")
                                        .arg(line)});
  EXPECT_EQ(text()->markOf(line), ScriptFinding::Severity::Error);
  EXPECT_FALSE(text()->markOf(line + 1).has_value());
  EXPECT_TRUE(underlined(line, Qt::red));
  EXPECT_FALSE(underlined(line + 1, Qt::red));

  QTest::keyClick(text(), Qt::Key_Up);
  QTest::keyClick(text(), Qt::Key_Home);
  QTest::keyClick(text(), Qt::Key_Delete);
  QTest::keyClicks(text(), "t");
  ASSERT_TRUE(waitFor([this] { return findings().isEmpty(); }));
  EXPECT_FALSE(text()->markOf(line).has_value());
  EXPECT_FALSE(underlined(line, Qt::red));
}

TEST_F(ScriptEditorTest, WarningsAreMarkedAndTheBandwidthDecidesWhichFrequenciesPlay) {
  text()->setScriptLines({"tone 440 5 0 50 100", "tone 11025", "end"});
  ASSERT_TRUE(waitFor([this] { return findings().size() == 2; }));
  EXPECT_EQ(text()->markOf(2), ScriptFinding::Severity::Error);
  EXPECT_TRUE(
      text()->messagesOf(2).startsWith("warning: fields missing from this line carry over"));
  editor->bandwidthList()->setCurrentText("22050");
  ASSERT_TRUE(waitFor([this] { return findings().size() == 1; }));
  EXPECT_EQ(text()->markOf(2), ScriptFinding::Severity::Warning);
  EXPECT_TRUE(underlined(2, QColor(230, 140, 0)));
}

// What the Windows version reads: Windows-1252 and CR LF; a character it cannot hold is saved
// as "?", and the editor says so.
TEST_F(ScriptEditorTest, SavesWindows1252WithCrLfAndOpensItAgain) {
  text()->setScriptLines({"rem caf\xC3\xA9 \xE2\x99\xAA", "tone 440 1", "end"});
  const QString saved = folder.filePath("tones.qvs");
  files.chosen = saved;
  ASSERT_TRUE(editor->saveScriptAs());
  EXPECT_EQ(editor->fileName(), saved);
  EXPECT_EQ(readFile(saved), "rem caf\xE9 ?\r\ntone 440 1\r\nend\r\n");
  EXPECT_TRUE(editor->statusBar()->currentMessage().contains("Windows-1252"));
  EXPECT_FALSE(editor->isWindowModified());
  EXPECT_EQ(files.requests.back().second.filter, "QVP Script|*.qvs|All Files|*.*");

  editor->newScript();
  ASSERT_TRUE(editor->openScript(saved));
  EXPECT_EQ(text()->scriptLines(),
            (std::vector<std::string>{"rem caf\xC3\xA9 ?", "tone 440 1", "end"}));
  EXPECT_TRUE(editor->windowTitle().startsWith("tones.qvs"));
}

TEST_F(ScriptEditorTest, AFailedSaveShowsTheErrorAndKeepsTheChanges) {
  type("delay 1");
  files.chosen = folder.filePath("missing/tones.qvs");
  EXPECT_FALSE(editor->saveScriptAs());
  EXPECT_EQ(presenter.errors,
            std::vector<std::string>{"Invalid file name - " + files.chosen.toStdString()});
  EXPECT_TRUE(editor->isWindowModified());
  EXPECT_TRUE(editor->fileName().isEmpty());
}

TEST_F(ScriptEditorTest, ChangesAreOfferedForSavingBeforeTheyAreLost) {
  type("delay 1");
  const std::vector<std::string> typed = text()->scriptLines();
  answer = QMessageBox::Cancel;
  QTest::keySequence(editor.get(), QKeySequence::New);
  EXPECT_EQ(asked, std::vector<std::string>{"Untitled"});
  EXPECT_EQ(text()->scriptLines(), typed);

  answer = QMessageBox::Discard;
  QTest::keySequence(editor.get(), QKeySequence::New);
  EXPECT_NE(text()->scriptLines(), typed);
  EXPECT_FALSE(editor->isWindowModified());
}

// The text as it stands is played, saved or not, by the quorgen of the build; each line's
// status is shown, and the window's bandwidth and kept settings go with it.
TEST_F(ScriptEditorTest, PlayRunsTheScriptWithQuorgen) {
  playToTheEnd({"rem nothing to hear", "delay 0", "end"});
  const QStringList log = editor->playLog()->toPlainText().split('\n');
  ASSERT_GE(log.size(), 5);
  EXPECT_TRUE(log[0].startsWith("quorgen play --bandwidth 11025 --bits 16 "))
      << log[0].toStdString();
  EXPECT_EQ(log.mid(1, 4),
            (QStringList{"Line 1: rem", "Line 2: delay", "Line 3: end", "Played to the end."}));
  EXPECT_EQ(text()->playingLine(), 0);
  EXPECT_TRUE(editor->playAction()->isEnabled());
}

TEST_F(ScriptEditorTest, AScriptEndedByAnErrorSaysSo) {
  playToTheEnd({"delay 1.5", "end"});
  EXPECT_TRUE(editor->playLog()->toPlainText().endsWith(
      "'1.5' is not a valid integer value\nThe run ended with an error (exit status 1)."));
}

TEST_F(ScriptEditorTest, StopEndsAPlayAtOnce) {
  text()->setScriptLines({"delay 30", "end"});
  editor->playAction()->trigger();
  ASSERT_TRUE(waitFor([this] { return text()->playingLine() == 1; }));
  EXPECT_FALSE(editor->playAction()->isEnabled());
  editor->stopAction()->trigger();
  ASSERT_TRUE(waitFor([this] { return !editor->playing(); }, 2000));
  EXPECT_TRUE(editor->playLog()->toPlainText().endsWith("Stopped."));
}

class ScriptEditorWithoutQuorgen : public ScriptEditorTest {
 protected:
  ScriptEditorWithoutQuorgen() : ScriptEditorTest(QString()) {}
};

TEST_F(ScriptEditorWithoutQuorgen, ShowsPlayDisabledAndSaysWhy) {
  EXPECT_FALSE(editor->playAction()->isEnabled());
  EXPECT_TRUE(editor->playAction()->toolTip().contains("quorgen"));
}

// Play sounds as the generator's window would: its kept output settings, waveform and offset.
TEST(ScriptPlaySettings, AreTheGeneratorsKeptSettingsAsQuorgenOptions) {
  const ScriptPlaySettings first = keptScriptPlaySettings();
  EXPECT_EQ(first.bandwidthIndex, 1);
  EXPECT_EQ(first.options, (QStringList{"--bits", "16", "--buffers", "4", "--buffer-size", "16384",
                                        "--waveform", "sine"}));
  MemoryControls window;
  window.setItemIndex(Control::FSList, 4);
  window.setItemIndex(Control::cboSoundQuality, 0);
  window.setItemIndex(Control::Buffers, 0);
  window.setItemIndex(Control::BufferSizeEdit, 4);
  window.setItemIndex(Control::WaveForm, 2);
  window.setChecked(Control::chkPositiveOffset, true);
  ASSERT_TRUE(StoreApplicationSettings(window).ok);
  const ScriptPlaySettings kept = keptScriptPlaySettings();
  EXPECT_EQ(kept.bandwidthIndex, 4);
  EXPECT_EQ(kept.options, (QStringList{"--bits", "8", "--buffers", "2", "--buffer-size", "64536",
                                       "--waveform", "triangular", "--offset"}));
}

}  // namespace
}  // namespace quor::testing
