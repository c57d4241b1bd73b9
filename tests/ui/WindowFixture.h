#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "FakeToneOutput.h"
#include "FileDialogs.h"
#include "MessagePresenter.h"
#include "ProgramWindows.h"
#include "TfrmGenerator.h"

namespace quor::testing {

// Keeps the boxes the window would show, so that no test blocks on one.
class RecordingPresenter : public MessagePresenter {
 public:
  void showMessage(const QString& text) override { messages.push_back(text.toStdString()); }
  void showError(const QString& text) override { errors.push_back(text.toStdString()); }
  std::vector<std::string> messages;
  std::vector<std::string> errors;
};

// File dialogs that answer with a name the test chose, or cancel when it chose none, and
// keep what they were asked.
class ChosenFiles : public FileDialogs {
 public:
  QString openFileName(const FileDialogRequest& request) override { return shown("open", request); }
  QString saveFileName(const FileDialogRequest& request) override { return shown("save", request); }

  QString chosen;                   // the next dialog's answer; empty: cancelled
  std::function<void()> whileOpen;  // runs as the dialog shows
  std::vector<std::pair<std::string, FileDialogRequest>> requests;

 private:
  QString shown(const char* kind, const FileDialogRequest& request) {
    requests.emplace_back(kind, request);
    if (whileOpen) whileOpen();
    return chosen;
  }
};

// A freshly created main window on a fake output, shown and active.
class WindowTest : public ::testing::Test {
 protected:
  explicit WindowTest(std::vector<std::string> deviceItems = {"Default Windows Device", "Card A",
                                                              "Card B"},
                      bool hideDeviceList = false) {
    window = createProgramWindows(services(std::move(deviceItems), hideDeviceList));
    output.fill = [this](uint8_t* b, int32_t& s) {
      return window->engine().toneSwitch.AudioOut1FillBuffer(b, s);
    };
  }

  // What the windows of these tests are built on: recording boxes and chosen files.
  GeneratorServices services(std::vector<std::string> deviceItems = {"Default Windows Device"},
                             bool hideDeviceList = false) {
    GeneratorServices built;
    built.output = &output;
    built.deviceItems = std::move(deviceItems);
    built.hideDeviceList = hideDeviceList;
    built.messages = &presenter;
    built.dialogs = &dialogs;
    built.helpFolder = QUOR_HELP_SOURCE_DIR;
    return built;
  }

  void showWindow() {
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }

  template <typename T>
  T* child(const char* name) const {
    T* found = window->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QLineEdit* field(const char* name) const { return child<QLineEdit>(name); }

  // Types into a field as a user does: focus, then each character.
  void type(const char* name, const QString& keys) {
    QLineEdit* edit = field(name);
    edit->setFocus();
    QTest::keyClicks(edit, keys);
  }

  FakeToneOutput output;
  RecordingPresenter presenter;
  ChosenFiles dialogs;
  std::unique_ptr<TfrmGenerator> window;
};

}  // namespace quor::testing
