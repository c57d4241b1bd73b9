// What a script's wait for a tone costs, hosted as the command-line tools host it: a script
// that plays one tone against the same tone switched on by hand, on the in-memory controls
// over the real sound device.
//   quor_script_wait_bench [SECONDS [ROUNDS]]
#include <QCoreApplication>
#include <QEventLoop>
#include <cstdio>

#include "EventLoopWaits.h"
#include "FirstStart.h"
#include "MemoryControls.h"
#include "PortAudioWaveOut.h"
#include "QtEventLoop.h"
#include "ScriptInterpreter.h"
#include "ScriptWaitComparison.h"
#include "ToneEngine.h"
#include "ToneOutputAdapter.h"

namespace {

using namespace quor;

// A script host with nobody watching: the dialog is a flag, the waits are the event loop's.
class QuietHost : public ScriptHost {
 public:
  void setDialogCaption(const std::string&) override {}
  void showDialog() override { visible_ = true; }
  void hideDialog() override { visible_ = false; }
  bool dialogVisible() const override { return visible_; }
  void setStatus(const std::string&) override {}
  void setMainWindowEnabled(bool) override {}
  void redrawMainWindow() override {}
  void showMessage(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
  void pause(const std::string&) override {}
  void waitWhileBusy(const std::function<bool()>& busy) override { waitForEventsWhile(busy); }
  void delayStep() override { sleepOneDelayStep(); }

 private:
  bool visible_ = false;
};

class MemoryRig : public bench::ToneRig {
 public:
  explicit MemoryRig(int length) : output_(device_), engine_(controls_, output_) {
    prepareFirstStart(engine_, controls_);
    controls_.setChecked(Control::chkLoop, false);
    controls_.setText(Control::Duration, std::to_string(length));
    controls_.onHideScriptDialog = [this] { host_.hideDialog(); };
  }

  bench::Cost byHand() override {
    QEventLoop loop;
    output_.connectSwitch(engine_.toneSwitch, [&] { loop.quit(); });
    return bench::measure([&] {
      engine_.toneSwitch.OnButtonClick();
      loop.exec();
    });
  }

  bench::Cost byScript(const std::string& file) override {
    output_.connectSwitch(engine_.toneSwitch);
    ScriptInterpreter interpreter(controls_, engine_, output_, host_);
    return bench::measure([&] { interpreter.Runscript(file); });
  }

  bool failed() const override { return !controls_.messages().empty(); }

 private:
  audio::PortAudioWaveOut device_;
  MemoryControls controls_;
  audio::ToneOutputAdapter output_;
  ToneEngine engine_;
  QuietHost host_;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const quor::QtEventLoop loop;
  return bench::compareScriptWaitWithHand(
      argc, argv, "in-memory controls, 22050 samples/s",
      [](int length) { return std::make_unique<MemoryRig>(length); });
}
