#pragma once
#include <functional>
#include <ostream>

#include "QuorgenOptions.h"
#include "WaveOut.h"

namespace quor::tools {

// What a run needs of the device beyond the wave-out family.
struct DeviceControl {
  std::function<void(uint64_t frames)> setFrameLimit;    // drop frames past this many
  std::function<double(audio::HWAVEOUT)> outputLatency;  // seconds between copy and sound
  std::function<bool(std::string& error)> finish;        // after the stop: keep the result
};

// One tone from the command line: sets the in-memory window controls as a user would, switches
// the tone on with the ON/OFF handler, and runs the event loop until the output's stop
// notification. Answers the process exit status.
class QuorgenRun {
 public:
  QuorgenRun(const QuorgenRequest& request, audio::WaveOutDevice& device, DeviceControl control,
             std::ostream& out, std::ostream& err, bool progress);

  int exec();
  // Ctrl+C: stop at once.
  void interrupt();

  static constexpr int kDone = 0, kFailed = 1, kUsage = 2, kInterrupted = 130;

 private:
  QuorgenRequest request_;
  audio::WaveOutDevice& device_;
  DeviceControl control_;
  std::ostream& out_;
  std::ostream& err_;
  bool progress_;
  bool interrupted_ = false;
  std::function<void()> stop_;
};

// The commands as main runs them. `ready` sees the run before it starts (to hook up Ctrl+C).
using RunHook = std::function<void(QuorgenRun&)>;
int renderCommand(const QuorgenRequest& request, std::ostream& out, std::ostream& err,
                  const RunHook& ready = {});
int playCommand(const QuorgenRequest& request, std::ostream& out, std::ostream& err, bool progress,
                const RunHook& ready = {});
// Prints the device list.
int devicesCommand(std::ostream& out);

}  // namespace quor::tools
