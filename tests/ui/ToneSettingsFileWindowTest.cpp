// Tone settings files from the File menu and the command line, with the file dialogs answered
// by the test.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "WindowFixture.h"

namespace quor::testing {
namespace {

// A hand-edited file: LF line ends, Booleans in other letter cases and as numbers.
const char* const kHandEdited =
    "Bass\n55\n20\n200\nsweep\n8\n90\n1\ntrue\n0\n4\n30\n"
    "Treble\n8000\n100\n10000\nconstant\n3\n100\n2\nFALSE\n1\n0\n50\n"
    "Three\n1000\n100\n10000\nconstant\n3\n100\n0\nTrue\nTrue\n0\n50\n"
    "Four\n1000\n100\n10000\nconstant\n3\n100\n0\nTrue\nTrue\n0\n50\n";

class ToneSettingsFileWindowTest : public WindowTest {
 protected:
  ToneSettingsFileWindowTest() { showWindow(); }

  QString path(const char* name) const { return QDir(folder.path()).filePath(name); }
  void write(const char* name, const QByteArray& bytes) const {
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QByteArray read(const char* name) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  void pressCtrl(Qt::Key key) { QTest::keyClick(window.get(), key, Qt::ControlModifier); }

  // The one dialog shown so far: its kind, filter and default extension.
  void expectOneDialog(const std::string& kind, const QString& filter) const {
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].first, kind);
    EXPECT_EQ(dialogs.requests[0].second.filter, filter);
    EXPECT_EQ(dialogs.requests[0].second.defaultExtension, "qvp");
  }

  QStringList captions() const {
    QStringList texts;
    for (const char* name : {"Mem1", "Mem2", "Memory3", "Memory4"}) {
      texts << child<QPushButton>(name)->text();
    }
    return texts;
  }

  // Starts the program's window again with a command line.
  void restartWith(const std::vector<std::string>& arguments) {
    GeneratorServices withArguments = services();
    withArguments.arguments = arguments;
    window.reset();
    window = createProgramWindows(withArguments);
    showWindow();
  }

  QTemporaryDir folder;
};

TEST_F(ToneSettingsFileWindowTest, SavedPresetsComeBackFromTheCommandLine) {
  window->setText(Control::fEdit, "440");
  window->findChild<QAction*>("Store2")->trigger();
  window->findChild<QAction*>("Rename1")->trigger();
  QLineEdit* nameEdit = field("Mem2Edit");
  nameEdit->selectAll();
  QTest::keyClicks(nameEdit, "A440");
  QTest::keyClick(nameEdit, Qt::Key_Return);

  dialogs.chosen = path("mine.qvp");
  pressCtrl(Qt::Key_S);
  expectOneDialog("save", "QVP presets|*.qvp");
  EXPECT_TRUE(read("mine.qvp").contains("\r\nA440\r\n440\r\n100\r\n10000\r\nconstant\r\n"));
  EXPECT_EQ(presenter.errors, std::vector<std::string>{});

  restartWith({path("mine.qvp").toStdString()});
  EXPECT_EQ(captions(), (QStringList{"Memory 1", "A440", "Memory 3", "Memory 4"}));
  EXPECT_EQ(field("fEdit")->text(), "1000");  // loading recalls nothing
  QTest::mouseClick(child<QPushButton>("Mem2"), Qt::LeftButton);
  EXPECT_EQ(field("fEdit")->text(), "440");
}

TEST_F(ToneSettingsFileWindowTest, LoadingReplacesThePresetsAndTheirCaptionsOnly) {
  write("hand.qvp", kHandEdited);
  window->setText(Control::fEdit, "777");
  dialogs.chosen = path("hand.qvp");
  pressCtrl(Qt::Key_L);
  expectOneDialog("open", "Quor Tone Presets|*.qvp");
  EXPECT_EQ(presenter.errors, std::vector<std::string>{});
  EXPECT_EQ(captions(), (QStringList{"Bass", "Treble", "Three", "Four"}));
  EXPECT_EQ(field("fEdit")->text(), "777");
  QTest::mouseClick(child<QPushButton>("Mem1"), Qt::LeftButton);
  EXPECT_EQ(window->activePage(), SignalPage::Sweep);
  EXPECT_EQ(field("fInit")->text(), "20");
  EXPECT_EQ(window->itemIndex(Control::WaveForm), 1);
  EXPECT_TRUE(window->checked(Control::chkLoop));
  EXPECT_FALSE(window->checked(Control::Logarithmic));
}

TEST_F(ToneSettingsFileWindowTest, FailuresShowTheirMessageInTheErrorBox) {
  QByteArray emptyWaveForm = kHandEdited;
  emptyWaveForm.replace("\n2\nFALSE\n", "\n\nFALSE\n");  // slot 2's WaveForm line
  write("broken.qvp", emptyWaveForm);
  const QString noFolder = path("gone/x.qvp");
  // Files that were there when the dialog listed them and are gone or changed when read.
  write("vanished.qvp", kHandEdited);
  ASSERT_TRUE(QFile::remove(path("vanished.qvp")));
  ASSERT_TRUE(QDir(folder.path()).mkdir("now-a-folder.qvp"));
  const struct {
    Qt::Key key;
    QString file;
    std::string message;
  } cases[] = {
      {Qt::Key_L, path("vanished.qvp"), "The specified file was not found."},
      {Qt::Key_L, path("now-a-folder.qvp"), "File access denied."},
      {Qt::Key_L, path("broken.qvp"), "Invalid numeric input."},
      {Qt::Key_S, noFolder, "Invalid file name - " + noFolder.toStdString() + "."},
  };
  for (const auto& c : cases) {
    presenter.errors.clear();
    dialogs.chosen = c.file;
    pressCtrl(c.key);
    EXPECT_EQ(presenter.errors, std::vector<std::string>{c.message});
  }
  // The broken file's first slot and slot 2's name were read before its waveform line, but
  // the captions keep the names they showed.
  EXPECT_EQ(captions(), (QStringList{"Memory 1", "Memory 2", "Memory 3", "Memory 4"}));
  EXPECT_EQ(memorySlot(window->presets().memories, 1).Name, "Bass");
  EXPECT_EQ(memorySlot(window->presets().memories, 2).Name, "Treble");
  EXPECT_EQ(memorySlot(window->presets().memories, 3).Name, "Memory 3");
}

TEST_F(ToneSettingsFileWindowTest, BothCommandsStopAPlayingToneBeforeTheirDialog) {
  for (Qt::Key key : {Qt::Key_L, Qt::Key_S}) {
    QTest::keyClick(window.get(), Qt::Key_F5);
    ASSERT_TRUE(output.active());
    bool playingWhileOpen = true;
    dialogs.whileOpen = [&] { playingWhileOpen = output.active(); };
    dialogs.chosen.clear();  // cancelled
    pressCtrl(key);
    EXPECT_FALSE(playingWhileOpen) << key;
    EXPECT_FALSE(output.active()) << key;
  }
  EXPECT_EQ(presenter.errors, std::vector<std::string>{});
  EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST_F(ToneSettingsFileWindowTest, TheFirstArgumentIsLoadedWhenItIsAFileEndingInQvp) {
  write("hand.qvp", kHandEdited);
  write("UPPER.QVP", kHandEdited);
  write("nodotqvp", kHandEdited);
  QByteArray unfinished = kHandEdited;
  unfinished.truncate(unfinished.indexOf("FALSE"));
  write("unfinished.qvp", unfinished);
  ASSERT_TRUE(QDir(folder.path()).mkdir("folder.qvp"));
  const struct {
    std::vector<std::string> arguments;
    QString firstCaption;
    std::vector<std::string> errors;
  } cases[] = {
      {{path("hand.qvp").toStdString()}, "Bass", {}},
      {{path("nodotqvp").toStdString()}, "Bass", {}},
      {{path("UPPER.QVP").toStdString()}, "Memory 1", {}},
      {{path("missing.qvp").toStdString()}, "Memory 1", {}},
      {{path("folder.qvp").toStdString()}, "Memory 1", {}},
      {{"--verbose", path("hand.qvp").toStdString()}, "Memory 1", {}},
      {{path("unfinished.qvp").toStdString()},
       "Memory 1",
       {"Could not convert variant of type (UnicodeString) into type (Boolean)"}},
  };
  for (const auto& c : cases) {
    presenter.errors.clear();
    restartWith(c.arguments);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(captions().front(), c.firstCaption) << c.arguments.back();
    EXPECT_EQ(presenter.errors, c.errors) << c.arguments.back();
  }
  // The failed load kept what it had read: slot 1 whole, slot 2 up to its waveform.
  EXPECT_EQ(memorySlot(window->presets().memories, 1).Name, "Bass");
  EXPECT_EQ(memorySlot(window->presets().memories, 2).WaveForm, 2);
}

TEST(FileDialogsTest, FiltersInQtsFormAndTheDefaultExtension) {
  const struct {
    QString filter, qt;
  } filters[] = {
      {"QVP presets|*.qvp", "QVP presets (*.qvp)"},
      {"QVP Script|*.qvs|All Files|*.*", "QVP Script (*.qvs);;All Files (*)"},
      {"Two kinds|*.a;*.b", "Two kinds (*.a *.b)"},
  };
  for (const auto& f : filters) EXPECT_EQ(qtNameFilters(f.filter), f.qt) << f.filter.toStdString();
  QTemporaryDir folder;
  const QString existing = QDir(folder.path()).filePath("nodot");
  ASSERT_TRUE(QFile(existing).open(QIODevice::WriteOnly));
  const struct {
    QString typed;
    bool opening;
    QString chosen;
  } names[] = {
      {"/home/u/mine", false, "/home/u/mine.qvp"},
      {"/home/u/mine", true, "/home/u/mine.qvp"},
      {"/home/u/mine.qvp", false, "/home/u/mine.qvp"},
      {"/home/u/mine.txt", false, "/home/u/mine.txt"},
      {"/home/u/mine.", false, "/home/u/mine.qvp"},
      {"/home/u.v/mine", false, "/home/u.v/mine.qvp"},
      {existing, true, existing},
      {existing, false, existing + ".qvp"},
      {"", false, ""},
  };
  for (const auto& n : names) {
    EXPECT_EQ(completedFileName(n.typed, "qvp", n.opening), n.chosen) << n.typed.toStdString();
  }
}

}  // namespace
}  // namespace quor::testing
