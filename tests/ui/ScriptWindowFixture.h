#pragma once
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>

#include "DeviceList.h"
#include "SimulatedWaveOut.h"
#include "TfrmScript.h"
#include "ToneOutputAdapter.h"
#include "WindowFixture.h"

namespace quor::testing {

// Message boxes that are recorded, with a moment while each is "open".
class WatchedPresenter : public RecordingPresenter {
 public:
  void showMessage(const QString& text) override {
    RecordingPresenter::showMessage(text);
    if (whileOpen) whileOpen();
  }
  std::function<void()> whileOpen;
};

// The program's windows on the real output component over the simulated device, which plays
// ten times as fast as the clock on the wall. What the user does during a run is given
// beforehand as steps, each taken once, in order, as soon as its condition holds.
class ScriptWindowTest : public ::testing::Test {
 protected:
  ScriptWindowTest() {
    GeneratorServices services;
    services.output = &output;
    services.deviceItems = audio::outputDeviceList(platform).items;
    services.messages = &presenter;
    services.dialogs = &dialogs;
    services.helpFolder = QUOR_HELP_SOURCE_DIR;
    services.programFolder = folder.path();
    window = createProgramWindows(services);
    output.connectSwitch(window->engine().toneSwitch);
    window->onFlashScreen = [this] { ++flashes; };
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QObject::connect(&clock_, &QTimer::timeout, [this] { tick(); });
    clock_.start(kTickMs);
  }

  TfrmScript& frmScript() const { return *window->frmScript(); }
  QString status() const { return frmScript().label1()->text(); }
  bool busy() const { return window->engine().values.ToneBusy; }
  // The run is on `line` ("Line 2: tone") and its tone or delay is under way.
  std::function<bool()> at(const char* line) const {
    return [this, line] { return status() == line && busy(); };
  }
  void when(std::function<bool()> condition, std::function<void()> action) {
    steps_.push_back({std::move(condition), std::move(action)});
  }

  // Writes a script into the test's folder and answers its path.
  std::string script(const std::string& text, const char* name = "test.qvs") {
    const QString path = folder.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
    return path.toStdString();
  }
  void run(const std::string& text) {
    window->Runscript(script(text));
    EXPECT_TRUE(steps_.empty()) << steps_.size() << " steps were never taken";
  }

  QTemporaryDir folder;
  audio::SimulatedWaveOut platform;
  audio::ToneOutputAdapter output{platform};
  WatchedPresenter presenter;
  ChosenFiles dialogs;
  std::unique_ptr<TfrmGenerator> window;
  int flashes = 0;

 private:
  static constexpr int kTickMs = 10;
  // A test whose run hangs cancels it and fails instead of waiting for ever.
  static constexpr int kRunLimitTicks = 2000;

  void tick() {
    platform.advance(platform.lastFormat().nSamplesPerSec * kTickMs * 10 / 1000);
    if (!steps_.empty() && steps_.front().condition()) {
      const auto action = steps_.front().action;
      steps_.pop_front();
      action();
    }
    if (++ticks_ == kRunLimitTicks) {
      ADD_FAILURE() << "the run did not end; cancelled at " << status().toStdString();
      frmScript().CancelClick();
    }
  }

  struct Step {
    std::function<bool()> condition;
    std::function<void()> action;
  };
  std::deque<Step> steps_;
  QTimer clock_;
  int ticks_ = 0;
};

}  // namespace quor::testing
