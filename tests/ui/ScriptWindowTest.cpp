// Script runs in the window: the progress dialog's buttons and keys during tones and delays,
// what the main window shows and allows during a run, and what ends a run.
#include <QtTest/qtestspontaneevent.h>
#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMessageBox>
#include <QSlider>
#include <QWheelEvent>

#include "ScriptWindowFixture.h"
#include "TfrmFrequencySlider.h"

namespace quor::testing {
namespace {

constexpr const char* kLongToneThenShort = "tone 440 600 0 50 100\ntone 880 2\nend\n";

TEST_F(ScriptWindowTest, TheDialogShowsTheRunWhileTheMainWindowTakesNoInput) {
  bool checked = false;
  presenter.whileOpen = [&] {
    checked = true;
    EXPECT_TRUE(frmScript().isVisible());
    EXPECT_EQ(status(), "Line 2: pause");
    EXPECT_FALSE(window->takesInput());
  };
  const std::string file = script("rem first\npause\nend\n");
  window->Runscript(file);
  EXPECT_TRUE(checked);
  EXPECT_EQ(frmScript().windowTitle().toStdString(), file);
  EXPECT_EQ(presenter.messages,
            std::vector<std::string>{"Pause in script. Please press OK to continue"});
  EXPECT_EQ(status(), "Line 3: end");
  EXPECT_FALSE(frmScript().isVisible());
  EXPECT_TRUE(window->takesInput());
}

// The main window ignores whatever the user does to it while a script runs, though its
// controls keep their look; its message boxes and the slider window stay usable. Hiding the dialog
// gives the main window its input back at once, before the run has taken its end steps.
TEST_F(ScriptWindowTest, TheMainWindowIgnoresInputDuringARunUntilTheDialogHides) {
  window->findChild<QAction*>("FreqSlider1")->trigger();
  QSlider* track = window->frmFrequencySlider()->freqSlider();
  QLineEdit* frequency = window->findChild<QLineEdit*>("fEdit");
  QPushButton* onButton = window->findChild<QPushButton*>("OnButton");
  QMenu* fileMenu = window->findChild<QMenu*>("File1");
  when(at("Line 1: tone"), [&] {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    frequency->setFocus();
    QTest::keyClicks(frequency, "7");
    EXPECT_EQ(frequency->text(), "440");
    QTest::keyClick(frequency, Qt::Key_F5);  // On/Off
    EXPECT_TRUE(output.active());
    QTest::mouseClick(onButton, Qt::LeftButton);
    EXPECT_TRUE(output.active());
    QWidget* waveForm = window->findChild<QWidget*>("WaveForm");
    QWheelEvent wheel(QPointF(5, 5), waveForm->mapToGlobal(QPointF(5, 5)), {}, {0, -120},
                      Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::instance()->notify(waveForm, &wheel);
    EXPECT_EQ(window->itemIndex(Control::WaveForm), 0);
    QTest::keyClick(frequency, Qt::Key_R, Qt::ControlModifier);  // Run Tone Script
    EXPECT_TRUE(dialogs.requests.empty());
    QTest::keyClick(frequency, Qt::Key_F, Qt::AltModifier);  // the File menu
    EXPECT_FALSE(fileMenu->isVisible());
    EXPECT_TRUE(window->enabled(Control::fEdit));

    QMessageBox box(QMessageBox::NoIcon, "", "", QMessageBox::Ok, window.get());
    box.show();
    QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());

    window->frmFrequencySlider()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window->frmFrequencySlider()));
    QTest::keyClick(track, Qt::Key_PageUp);
    EXPECT_NE(frequency->text(), "440");

    frmScript().CancelClick();
    frequency->setFocus();
    frequency->selectAll();
    QTest::keyClicks(frequency, "7");
    EXPECT_EQ(frequency->text(), "7");
  });
  run(kLongToneThenShort);
  EXPECT_TRUE(presenter.messages.empty());
}

// Notes, at each paint of a widget, how often the device has been opened so far.
class PaintWatch : public QObject {
 public:
  PaintWatch(QWidget& widget, std::function<int()> opens) : opens_(std::move(opens)) {
    widget.installEventFilter(this);
  }
  std::vector<int> opensAtPaints;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) opensAtPaints.push_back(opens_());
    return false;
  }

 private:
  std::function<int()> opens_;
};

TEST_F(ScriptWindowTest, ThePageALineChoosesIsOnTheScreenBeforeItsToneStarts) {
  window->setActivePage(SignalPage::Sweep);
  QTest::qWait(50);
  PaintWatch constantPage(*window->findChild<QWidget*>("Constant"),
                          [this] { return platform.openCount(); });
  run("tone 440 1 0 50 100\nend\n");
  ASSERT_FALSE(constantPage.opensAtPaints.empty());
  EXPECT_EQ(constantPage.opensAtPaints.front(), 0);
  EXPECT_EQ(platform.openCount(), 1);
}

TEST_F(ScriptWindowTest, NextStopsTheToneAndTheRunGoesOnWithTheNextLine) {
  when(at("Line 1: tone"), [this] { QTest::mouseClick(frmScript().nextButton(), Qt::LeftButton); });
  bool secondPlayed = false;
  when(at("Line 2: tone"), [&] { secondPlayed = true; });
  run(kLongToneThenShort);
  EXPECT_TRUE(secondPlayed);
  EXPECT_EQ(status(), "Line 3: end");
  EXPECT_TRUE(presenter.messages.empty());
  EXPECT_FALSE(output.active());
}

TEST_F(ScriptWindowTest, NextEndsADelay) {
  when(at("Line 1: delay"),
       [this] { QTest::mouseClick(frmScript().nextButton(), Qt::LeftButton); });
  run("delay 600\nend\n");
  EXPECT_EQ(status(), "Line 2: end");
  EXPECT_TRUE(presenter.messages.empty());
}

struct CancelCase {
  const char* name;
  const char* script;
  const char* line;
  std::function<void(TfrmScript&)> press;
};

void PrintTo(const CancelCase& c, std::ostream* os) {
  *os << c.name;
}

class CancelTest : public ScriptWindowTest, public ::testing::WithParamInterface<CancelCase> {};

// However the dialog is cancelled, it goes at once and gives the main window its input back,
// before the run has taken its end steps; no further line is read.
TEST_P(CancelTest, EndsTheRunAfterTheCurrentLine) {
  const CancelCase& c = GetParam();
  when(at(c.line), [&] {
    c.press(frmScript());
    EXPECT_FALSE(frmScript().isVisible());
    EXPECT_TRUE(window->takesInput());
    EXPECT_FALSE(output.active());
  });
  run(c.script);
  EXPECT_EQ(status(), c.line);
  EXPECT_TRUE(presenter.messages.empty());
  EXPECT_EQ(platform.openCount(), std::string(c.line) == "Line 1: tone" ? 1 : 0);
}

const auto clickCancel = [](TfrmScript& dialog) {
  QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
};
const auto pressEscape = [](TfrmScript& dialog) {
  QWidget* focused = dialog.focusWidget();
  QTest::keyClick(focused != nullptr ? focused : &dialog, Qt::Key_Escape);
};
const auto pressEscapeOnNext = [](TfrmScript& dialog) {
  dialog.nextButton()->setFocus();
  QTest::keyClick(dialog.nextButton(), Qt::Key_Escape);
};
const auto closeTheDialog = [](TfrmScript& dialog) { dialog.close(); };

INSTANTIATE_TEST_SUITE_P(
    Script, CancelTest,
    ::testing::Values(
        CancelCase{"CancelDuringATone", kLongToneThenShort, "Line 1: tone", clickCancel},
        CancelCase{"EscapeDuringATone", kLongToneThenShort, "Line 1: tone", pressEscape},
        CancelCase{"EscapeOnNextDuringADelay", "delay 600\nend\n", "Line 1: delay",
                   pressEscapeOnNext},
        CancelCase{"TheWindowManagerClosesTheDialog", kLongToneThenShort, "Line 1: tone",
                   closeTheDialog}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScriptWindowTest, ADeviceThatFailsToStartEndsTheRunWithItsMessage) {
  when(at("Line 1: tone"), [this] { platform.refuseNextOpen(audio::MMSYSERR_ALLOCATED); });
  run("tone 440 1 0 50 100\ntone 880 1\nend\n");
  EXPECT_EQ(status(), "Line 2: tone");
  ASSERT_EQ(presenter.messages.size(), 1u);
  EXPECT_EQ(presenter.messages[0].rfind("Soundcard Error! The system message returned by "
                                        "Windows was: \r",
                                        0),
            0u);
  EXPECT_FALSE(frmScript().isVisible());
  EXPECT_TRUE(window->takesInput());
  EXPECT_TRUE(window->enabled(Control::FSList));
}

TEST_F(ScriptWindowTest, EachTonePlaysOnceAndLoopComesBackAfterTheRun) {
  auto* loop = window->findChild<QCheckBox*>("chkLoop");
  ASSERT_TRUE(loop->isChecked());
  std::vector<bool> loopDuringTones;
  when(at("Line 1: tone"), [&] { loopDuringTones.push_back(loop->isChecked()); });
  when(at("Line 2: sweep"), [&] { loopDuringTones.push_back(loop->isChecked()); });
  run("tone 440 1 0 50 100\nsweep 100 1000 1 0 50 100 1\nend\n");
  EXPECT_EQ(loopDuringTones, (std::vector<bool>{false, false}));
  EXPECT_TRUE(loop->isChecked());
  EXPECT_EQ(status(), "Line 3: end");
}

TEST_F(ScriptWindowTest, EveryToneThatStopsFlashesWhenTheOptionIsOn) {
  for (const bool on : {true, false}) {
    window->setMenuChecked(MenuOption::Flashscreenwhenfinished1, on);
    flashes = 0;
    // The first tone is cut short by Next, the second ends by itself.
    when(at("Line 1: tone"), [this] { frmScript().NextClick(); });
    run(kLongToneThenShort);
    EXPECT_EQ(flashes, on ? 2 : 0) << (on ? "on" : "off");
  }
}

// The window manager's close button is input too.
TEST_F(ScriptWindowTest, TheMainWindowCannotBeClosedFromOutsideDuringARun) {
  const auto closeFromOutside = [this] {
    QCloseEvent close;
    // As the platform delivers it: sendEvent() would make it one that the program sent.
    QSpontaneKeyEvent::setSpontaneous(&close);
    QApplication::instance()->notify(window.get(), &close);
    return close.isAccepted();
  };
  bool accepted = true;
  when(at("Line 1: tone"), [&] {
    accepted = closeFromOutside();
    EXPECT_TRUE(output.active());
    frmScript().CancelClick();
  });
  run(kLongToneThenShort);
  EXPECT_FALSE(accepted);
  EXPECT_TRUE(closeFromOutside());
}

// ---- the File menu ----

TEST_F(ScriptWindowTest, RunToneScriptStopsTheToneAndAsksForAScript) {
  QTest::keyClick(window.get(), Qt::Key_F5);
  ASSERT_TRUE(output.active());
  bool stoppedFirst = false;
  dialogs.whileOpen = [&] { stoppedFirst = !output.active(); };
  QTest::keyClick(window.get(), Qt::Key_R, Qt::ControlModifier);
  EXPECT_TRUE(stoppedFirst);
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].first, "open");
  EXPECT_EQ(dialogs.requests[0].second.title, "");
  EXPECT_EQ(dialogs.requests[0].second.filter, "QVP Script|*.qvs|All Files|*.*");
  EXPECT_EQ(dialogs.requests[0].second.defaultExtension, "qvs");
  // Cancelled: no run.
  EXPECT_EQ(frmScript().windowTitle(), "");
  EXPECT_EQ(status(), "");

  dialogs.chosen = QString::fromStdString(script("tone 440 1 0 50 100\nend\n", "chosen.qvs"));
  window->findChild<QAction*>("RunScript1")->trigger();
  EXPECT_EQ(frmScript().windowTitle(), dialogs.chosen);
  EXPECT_EQ(status(), "Line 2: end");
  EXPECT_TRUE(window->takesInput());
}

TEST_F(ScriptWindowTest, AScriptThatCannotBeReadEndsWithItsError) {
  dialogs.chosen = folder.filePath("missing.qvs");
  window->findChild<QAction*>("RunScript1")->trigger();
  EXPECT_EQ(presenter.messages, std::vector<std::string>{"The specified file was not found"});
  EXPECT_FALSE(frmScript().isVisible());
  EXPECT_TRUE(window->takesInput());
}

TEST_F(ScriptWindowTest, OpenScriptEditorStartsTheEditorBesideTheProgramWithoutArguments) {
  // Reports nothing when there is no editor.
  QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
  EXPECT_TRUE(presenter.messages.empty());
  EXPECT_TRUE(presenter.errors.empty());

  const QString started = folder.filePath("started");
  QFile editor(folder.filePath("Quor_ScriptEditor"));
  ASSERT_TRUE(editor.open(QIODevice::WriteOnly));
  editor.write(
      "#!/bin/sh\necho \"$#\" >\"$(dirname \"$0\")/started.part\"\n"
      "mv \"$(dirname \"$0\")/started.part\" \"$(dirname \"$0\")/started\"\n");
  editor.close();
  editor.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
  for (int i = 0; i < 100 && !QFile::exists(started); ++i) QTest::qWait(50);
  QFile arguments(started);
  ASSERT_TRUE(arguments.open(QIODevice::ReadOnly)) << "the editor did not start";
  EXPECT_EQ(arguments.readAll(), "0\n");
}

// ---- the dialog itself ----

TEST_F(ScriptWindowTest, TheDialogIsSmallFixedAndHasNoCloseButton) {
  TfrmScript& dialog = frmScript();
  EXPECT_EQ(dialog.size(), QSize(202, 81));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowSystemMenuHint);
  EXPECT_FALSE(dialog.isModal());
  EXPECT_EQ(dialog.cancelButton()->geometry(), QRect(34, 7, 61, 20));
  EXPECT_EQ(dialog.nextButton()->geometry(), QRect(109, 7, 61, 20));
  EXPECT_EQ(dialog.label1()->geometry(), QRect(35, 32, 134, 13));
  EXPECT_TRUE(dialog.label1()->alignment() & Qt::AlignHCenter);
  EXPECT_EQ(dialog.cancelButton()->text(), "Cancel");
  EXPECT_EQ(dialog.nextButton()->text(), "Next");
  EXPECT_EQ(dialog.cancelButton()->nextInFocusChain(), dialog.nextButton());
}

// ---- the script named on the command line ----

struct ArgumentCase {
  const char* name;
  const char* argument;  // in the test's folder; "" for none
  bool exists;
  bool runs;
};

void PrintTo(const ArgumentCase& c, std::ostream* os) {
  *os << c.name;
}

class ScriptArgumentTest : public ScriptWindowTest,
                           public ::testing::WithParamInterface<ArgumentCase> {};

TEST_P(ScriptArgumentTest, RunsAnExistingFileWhoseNameEndsInLowerCaseQvs) {
  const ArgumentCase& c = GetParam();
  GeneratorServices services;
  services.output = &output;
  services.messages = &presenter;
  services.helpFolder = QUOR_HELP_SOURCE_DIR;
  std::string argument;
  if (*c.argument != '\0') {
    argument = folder.filePath(c.argument).toStdString();
    if (c.exists) script("end\n", c.argument);
    services.arguments = {argument, "other.qvs"};
  }
  auto started = createProgramWindows(services);
  EXPECT_EQ(started->runScriptArgument(), c.runs);
  EXPECT_EQ(started->frmScript()->windowTitle().toStdString(), c.runs ? argument : "");
  EXPECT_TRUE(presenter.messages.empty());
  EXPECT_FALSE(started->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Script, ScriptArgumentTest,
                         ::testing::Values(ArgumentCase{"Script", "tones.qvs", true, true},
                                           ArgumentCase{"NoDot", "notes_qvs", true, true},
                                           ArgumentCase{"CapitalQVS", "tones.QVS", true, false},
                                           ArgumentCase{"NoSuchFile", "gone.qvs", false, false},
                                           ArgumentCase{"NoArgument", "", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quor::testing
