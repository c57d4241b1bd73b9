#pragma once
#include <ostream>
#include <string>

#include "MemoryControls.h"
#include "QuorgenOptions.h"
#include "ScriptConsoleHost.h"
#include "ScriptInterpreter.h"
#include "ToneEngine.h"
#include "ToneOutputAdapter.h"

namespace quor::tools {

// The in-memory window whose message boxes are a script host's messages.
class ConsoleControls : public MemoryControls {
 public:
  explicit ConsoleControls(ScriptConsoleHost& host) : host_(host) {
    onHideScriptDialog = [this] { host_.hideDialog(); };
  }
  void showMessage(const std::string& text) override {
    MemoryControls::showMessage(text);
    host_.showMessage(text);
  }

 private:
  ScriptConsoleHost& host_;
};

// One run of a tone script from the command line: the window's interpreter on the in-memory
// controls, over the output component on `device`, with a host of the command line's own.
class QuorgenScriptRun {
 public:
  QuorgenScriptRun(const QuorgenRequest& request, audio::WaveOutDevice& device,
                   ScriptConsoleHost& host);

  // The window as the command line sets it up. Answers what is wrong with the request, or "".
  std::string prepare();
  // Runs the script to its end; its messages have gone to the host.
  void run();
  // Ctrl+C: Cancel, which stops a tone at once and ends the run after its line.
  void interrupt();
  // Cancel, as at the frame limit of a render.
  void cancel() { interpreter_.cancel(); }

  // After the run: 130 when interrupted, 1 when it showed a message or the device failed, else
  // 0. Says what the device reported.
  int status(std::ostream& err);

  int32_t sampleRate() const { return engine_.values.SampleRate; }
  int bitsPerSample() const { return output_.quantization(); }

 private:
  const QuorgenRequest& request_;
  audio::WaveOutDevice& device_;
  ScriptConsoleHost& host_;
  ConsoleControls controls_;
  audio::ToneOutputAdapter output_;
  ToneEngine engine_;
  ScriptInterpreter interpreter_;
  bool interrupted_ = false;
  bool running_ = false;
};

}  // namespace quor::tools
