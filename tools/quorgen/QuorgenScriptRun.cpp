#include "QuorgenScriptRun.h"

#include "QuorgenRun.h"
#include "QuorgenSetup.h"
#include "ToneError.h"

namespace quor::tools {

QuorgenScriptRun::QuorgenScriptRun(const QuorgenRequest& request, audio::WaveOutDevice& device,
                                   ScriptConsoleHost& host)
    : request_(request),
      device_(device),
      host_(host),
      controls_(host),
      output_(device),
      engine_(controls_, output_),
      interpreter_(controls_, engine_, output_, host) {
  output_.connectSwitch(engine_.toneSwitch);
}

std::string QuorgenScriptRun::prepare() {
  return prepareWindow(request_, controls_, engine_, output_, device_);
}

void QuorgenScriptRun::run() {
  if (interrupted_) return;
  running_ = true;
  try {
    interpreter_.Runscript(request_.script);
  } catch (const ToneError& e) {
    // The apply of restoring Loop, once the run is over.
    host_.showMessage(e.what());
  }
  running_ = false;
  // A tone cut off by Cancel reports its end now, before anything else looks at the device.
  output_.finishPendingStop();
}

void QuorgenScriptRun::interrupt() {
  interrupted_ = true;
  host_.interrupt();
  if (running_) interpreter_.cancel();
}

int QuorgenScriptRun::status(std::ostream& err) {
  if (interrupted_) return QuorgenRun::kInterrupted;
  const std::string& deviceError = output_.component().ErrorMessage;
  if (!deviceError.empty() && !host_.failed()) {
    err << "quorgen: the sound device failed: " << deviceError << "\n";
    return QuorgenRun::kFailed;
  }
  return host_.failed() ? QuorgenRun::kFailed : QuorgenRun::kDone;
}

}  // namespace quor::tools
