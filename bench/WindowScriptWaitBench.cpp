// What a script's wait for a tone costs in the program's window: a script run through the
// window's Runscript, with its progress dialog and the window's redraws, against the same tone
// switched on with F5 (the On/Off menu item), both on the real sound device.
//   quor_window_script_wait_bench [SECONDS [ROUNDS]]
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QTest>

#include "DeviceList.h"
#include "MessagePresenter.h"
#include "PortAudioWaveOut.h"
#include "ProgramWindows.h"
#include "QtEventLoop.h"
#include "ScriptWaitComparison.h"
#include "ToneOutputAdapter.h"

namespace {

using namespace quor;

// Counts the boxes instead of waiting for someone to close them.
class CountingPresenter : public MessagePresenter {
 public:
  void showMessage(const QString&) override { ++shown; }
  void showError(const QString&) override { ++shown; }
  int shown = 0;
};

class WindowRig : public bench::ToneRig {
 public:
  explicit WindowRig(int length) : output_(device_) {
    GeneratorServices services;
    services.output = &output_;
    services.deviceItems = audio::outputDeviceList(device_).items;
    services.messages = &presenter_;
    window_ = createProgramWindows(services);
    output_.connectSwitch(window_->engine().toneSwitch, [this] {
      if (loop_ != nullptr) loop_->quit();
    });
    // The flash after the tone is the same either way, and no part of the wait.
    window_->setMenuChecked(MenuOption::Flashscreenwhenfinished1, false);
    window_->setChecked(Control::chkLoop, false);
    window_->setText(Control::Duration, std::to_string(length));
    window_->show();
    // The pointer rests on the menu bar, where choosing "Run Tone Script" leaves it, not where
    // the virtual display first puts it: in the middle of the screen, under the centred
    // dialog, whose every show and hide would then hand hover highlights back and forth.
    if (QWidget* menu = window_->menuWidget()) QCursor::setPos(menu->mapToGlobal(QPoint(4, 4)));
    // Shown and painted before anything is measured: a first paint still pending would be
    // charged to whichever rig runs next.
    exposed_ = QTest::qWaitForWindowExposed(window_.get());
    QTest::qWait(200);
  }

  bench::Cost byHand() override {
    QEventLoop loop;
    loop_ = &loop;
    const bench::Cost cost = bench::measure([&] {
      window_->findChild<QAction*>("OnOff1")->trigger();
      loop.exec();
    });
    loop_ = nullptr;
    return cost;
  }

  bench::Cost byScript(const std::string& file) override {
    return bench::measure([&] { window_->Runscript(file); });
  }

  bool failed() const override { return !exposed_ || presenter_.shown != 0; }

 private:
  audio::PortAudioWaveOut device_;
  audio::ToneOutputAdapter output_;
  CountingPresenter presenter_;
  std::unique_ptr<TfrmGenerator> window_;
  QEventLoop* loop_ = nullptr;
  bool exposed_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const quor::QtEventLoop loop;
  return bench::compareScriptWaitWithHand(
      argc, argv, "the window", [](int length) { return std::make_unique<WindowRig>(length); });
}
