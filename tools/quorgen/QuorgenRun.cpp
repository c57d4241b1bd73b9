#include "QuorgenRun.h"

#include <algorithm>
#include <cmath>
#include <iomanip>

#include "DeviceList.h"
#include "EventLoop.h"
#include "EventLoopWaits.h"
#include "FileWaveOut.h"
#include "MemoryControls.h"
#include "PortAudioWaveOut.h"
#include "QuorgenSetup.h"
#include "ToneEngine.h"
#include "ToneError.h"
#include "ToneOutputAdapter.h"

namespace quor::tools {

QuorgenRun::QuorgenRun(const QuorgenRequest& request, audio::WaveOutDevice& device,
                       DeviceControl control, std::ostream& out, std::ostream& err, bool progress)
    : request_(request),
      device_(device),
      control_(std::move(control)),
      out_(out),
      err_(err),
      progress_(progress) {}

void QuorgenRun::interrupt() {
  interrupted_ = true;
  if (stop_) stop_();
}

int QuorgenRun::exec() {
  MemoryControls controls;
  audio::ToneOutputAdapter output(device_);
  ToneEngine engine(controls, output);
  bool stopped = false;
  output.connectSwitch(engine.toneSwitch, [&] { stopped = true; });
  if (const std::string refused = prepareWindow(request_, controls, engine, output, device_);
      !refused.empty()) {
    err_ << "quorgen: " << refused << "\n";
    return kUsage;
  }

  audio::TAudioOut& component = output.component();
  // The limit is in place before the start: a file device takes the whole ring at once.
  const int32_t rate = engine.parameters.sampleRateFromBandwidth();
  // A loop shorter than half a sample still plays one: a limit of 0 would mean none.
  const uint64_t limit =
      request_.loopSeconds
          ? static_cast<uint64_t>(std::max(1LL, std::llround(*request_.loopSeconds * rate)))
          : 0;
  if (limit > 0 && control_.setFrameLimit) control_.setFrameLimit(limit);
  component.ErrorMessage.clear();
  try {
    engine.toneSwitch.OnButtonClick();
  } catch (const ToneError& e) {
    err_ << "quorgen: " << e.what() << "\n";
    return kFailed;
  }
  if (!controls.messages().empty()) {
    err_ << messageLines(controls.messages().back()) << "\n";
    return kFailed;
  }
  if (interrupted_) engine.toneSwitch.stopsignal();
  stop_ = [&] { engine.toneSwitch.stopsignal(); };

  auto framesPlayed = [&] {
    return static_cast<uint64_t>(std::llround(component.ElapsedTime() * component.FrameRate()));
  };

  EventLoop& loop = threadEventLoop();
  using std::chrono::milliseconds;
  EventLoop::Handle limitTimer, soundedTimer;
  std::function<void()> checkLimit = [&] {
    const uint64_t played = framesPlayed();
    if (played < limit) {
      // The device holds the limit to the sample; the timer only decides when to stop waiting.
      // Playing, it wakes when the limit is due instead of polling, which would be most of the
      // program's own work while a long tone plays.
      int waitMs = 1;
      if (request_.command != QuorgenCommand::Render) {
        const double dueMs = static_cast<double>(limit - played) * 1000.0 / component.FrameRate();
        waitMs = std::clamp(static_cast<int>(dueMs), 5, 1000);
      }
      limitTimer = loop.startTimer(milliseconds(waitMs), true, checkLimit);
      return;
    }
    // What the device has taken is still on its way to the speaker.
    const double latency =
        control_.outputLatency ? control_.outputLatency(component.WaveHandle) : 0.0;
    soundedTimer = loop.startTimer(milliseconds(static_cast<int>(latency * 1000)), true,
                                   [&] { engine.toneSwitch.stopsignal(); });
  };
  if (limit > 0)
    limitTimer = loop.startTimer(milliseconds(request_.command == QuorgenCommand::Render ? 1 : 50),
                                 true, checkLimit);

  EventLoop::Handle progressTimer;
  if (progress_) {
    progressTimer = loop.startTimer(milliseconds(200), false, [&] {
      err_ << "\rquorgen: playing " << std::fixed << std::setprecision(1) << component.ElapsedTime()
           << " s " << std::flush;
    });
  }

  waitForEventsWhile([&] { return !stopped; });
  stop_ = nullptr;
  if (progress_) err_ << "\n";

  if (interrupted_) return kInterrupted;
  if (!component.ErrorMessage.empty()) {
    err_ << (request_.command == QuorgenCommand::Render ? "quorgen: the WAV file failed: "
                                                        : "quorgen: the sound device failed: ")
         << component.ErrorMessage << "\n";
    return kFailed;
  }
  if (control_.finish) {
    std::string error;
    if (!control_.finish(error)) {
      err_ << "quorgen: " << error << "\n";
      return kFailed;
    }
  }
  return kDone;
}

int renderCommand(const QuorgenRequest& request, std::ostream& out, std::ostream& err,
                  const RunHook& ready) {
  audio::FileWaveOut device(request.output);
  DeviceControl control;
  control.setFrameLimit = [&device](uint64_t frames) { device.setFrameLimit(frames); };
  control.finish = [&device](std::string& error) { return device.commit(error); };
  QuorgenRun run(request, device, control, out, err, false);
  if (ready) ready(run);
  return run.exec();
}

int playCommand(const QuorgenRequest& request, std::ostream& out, std::ostream& err, bool progress,
                const RunHook& ready) {
  audio::PortAudioWaveOut device(devicesToStart(request));
  DeviceControl control;
  control.setFrameLimit = [&device](uint64_t frames) { device.setFrameLimit(frames); };
  control.outputLatency = [&device](audio::HWAVEOUT handle) {
    return device.outputLatency(handle);
  };
  QuorgenRun run(request, device, control, out, err, progress);
  if (ready) ready(run);
  return run.exec();
}

int devicesCommand(std::ostream& out) {
  audio::PortAudioWaveOut device;
  const audio::OutputDeviceList list = audio::outputDeviceList(device);
  for (size_t i = 0; i < list.items.size(); ++i) out << i << "  " << list.items[i] << "\n";
  if (list.hidden) out << "(one device only: the window hides this list)\n";
  return 0;
}

}  // namespace quor::tools
