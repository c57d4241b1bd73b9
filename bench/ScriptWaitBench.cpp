// What a script's wait for a tone costs: a script that plays one tone against the same tone
// switched on by hand (F5), both on the real sound device. Prints process CPU (the device
// thread included) and the CPU of the user-interface thread, which is where the wait runs.
//   quor_script_wait_bench [SECONDS [ROUNDS]]
#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "EventLoopWaits.h"
#include "FirstStart.h"
#include "MemoryControls.h"
#include "PortAudioWaveOut.h"
#include "ScriptInterpreter.h"
#include "ToneEngine.h"
#include "ToneOutputAdapter.h"

namespace {

using namespace quor;

double seconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Cost {
  double wall = 0, process = 0, uiThread = 0;
};

Cost measure(const std::function<void()>& work) {
  const double wall = seconds(CLOCK_MONOTONIC), process = seconds(CLOCK_PROCESS_CPUTIME_ID),
               thread = seconds(CLOCK_THREAD_CPUTIME_ID);
  work();
  return {seconds(CLOCK_MONOTONIC) - wall, seconds(CLOCK_PROCESS_CPUTIME_ID) - process,
          seconds(CLOCK_THREAD_CPUTIME_ID) - thread};
}

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

// One tone of `length` seconds on the default output, switched on by hand or by a script.
class Rig {
 public:
  explicit Rig(int length) : output_(nullptr, device_), engine_(controls_, output_) {
    prepareFirstStart(engine_, controls_);
    controls_.setChecked(Control::chkLoop, false);
    controls_.setText(Control::Duration, std::to_string(length));
    controls_.onHideScriptDialog = [this] { host_.hideDialog(); };
  }

  Cost byHand() {
    QEventLoop loop;
    output_.connectSwitch(engine_.toneSwitch, [&] { loop.quit(); });
    return measure([&] {
      engine_.toneSwitch.OnButtonClick();
      loop.exec();
    });
  }

  Cost byScript(const std::string& file) {
    output_.connectSwitch(engine_.toneSwitch);
    ScriptInterpreter interpreter(controls_, engine_, output_, host_);
    return measure([&] { interpreter.Runscript(file); });
  }

  bool failed() const { return !controls_.messages().empty(); }

 private:
  audio::PortAudioWaveOut device_;
  MemoryControls controls_;
  audio::ToneOutputAdapter output_;
  ToneEngine engine_;
  QuietHost host_;
};

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int length = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  QTemporaryDir folder;
  const std::string file = folder.filePath("wait.qvs").toStdString();
  std::ofstream(file) << "tone 1000 " << length << " 0 50 100\nend\n";

  std::vector<double> handProcess, scriptProcess, handThread, scriptThread, scriptWall;
  for (int round = 0; round < rounds; ++round) {
    Rig hand(length), script(length);
    const Cost h = hand.byHand();
    const Cost s = script.byScript(file);
    if (hand.failed() || script.failed()) {
      std::printf("  skipped: the sound device could not play\n");
      return 0;
    }
    handProcess.push_back(h.process);
    scriptProcess.push_back(s.process);
    handThread.push_back(h.uiThread);
    scriptThread.push_back(s.uiThread);
    scriptWall.push_back(s.wall);
  }
  const double hp = median(handProcess), sp = median(scriptProcess);
  const double ht = median(handThread), st = median(scriptThread), wall = median(scriptWall);
  const double ratio = hp > 0 ? sp / hp : 0;
  const double waitShare = 100.0 * std::max(0.0, st - ht) / wall;
  std::printf("%d s tone, 22050 samples/s, median of %d:\n", length, rounds);
  std::printf("  by hand (F5):  process CPU %.3f s, user-interface thread %.3f s\n", hp, ht);
  std::printf("  by script:     process CPU %.3f s, user-interface thread %.3f s\n", sp, st);
  std::printf("  script / by hand, process CPU: ratio %.2f (target <= 1.10) %s\n", ratio,
              ratio <= 1.10 ? "met" : "NOT MET");
  std::printf("  the wait itself: %.2f %% of a core (target < 2 %%) %s\n", waitShare,
              waitShare < 2.0 ? "met" : "NOT MET");
  return 0;
}
