#pragma once
#include <QEventLoop>
#include <string>

#include "EventTime.h"
#include "MemoryControls.h"
#include "PortAudioWaveOut.h"
#include "ToneEngine.h"
#include "ToneOutputAdapter.h"

namespace quor::bench {

// The tone engine on in-memory controls, playing through the real sound device exactly as the
// window drives it: the benchmarks press its switch and watch its notifications.
class ToneRig {
 public:
  ToneRig();

  // Types a tone into the fields: a 1000 Hz sine of `periodSeconds`, looping or not.
  void setTone(int periodSeconds, bool loop);
  // The ON/OFF toggle.
  void toggle() { engine.toneSwitch.OnButtonClick(); }
  // Runs the event loop until `count` stop notifications have come in all, or `ms`
  // milliseconds have passed; answers whether they came.
  bool waitForStops(int count, int ms);

  int stops = 0;  // stop notifications so far

  audio::PortAudioWaveOut device;
  MemoryControls controls;
  audio::ToneOutputAdapter output{device};
  ToneEngine engine{controls, output};

 private:
  QEventLoop* waiting_ = nullptr;
  int awaited_ = 0;
};

}  // namespace quor::bench
