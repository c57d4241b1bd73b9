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

// A freshly created main window on a fake output, shown and active.
class WindowTest : public ::testing::Test {
 protected:
  explicit WindowTest(std::vector<std::string> deviceItems = {"Default Windows Device", "Card A",
                                                              "Card B"},
                      bool hideDeviceList = false) {
    GeneratorServices services;
    services.output = &output;
    services.deviceItems = std::move(deviceItems);
    services.hideDeviceList = hideDeviceList;
    services.messages = &presenter;
    services.helpFolder = QUOR_HELP_SOURCE_DIR;
    window = createProgramWindows(services);
    output.fill = [this](uint8_t* b, int32_t& s) {
      return window->engine().toneSwitch.AudioOut1FillBuffer(b, s);
    };
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
  std::unique_ptr<TfrmGenerator> window;
};

}  // namespace quor::testing
