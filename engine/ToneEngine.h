#pragma once
#include "ControlWiring.h"
#include "ToneControls.h"
#include "ToneOutput.h"
#include "ToneParameters.h"
#include "ToneSwitch.h"
#include "WorkingValues.h"

namespace quor {

// The tone engine of one program run: its working values, the handlers that derive them, the
// switch, and the wiring of the controls' events. Construction connects the wiring to the
// controls; nothing else happens until a handler runs.
class ToneEngine {
 public:
  ToneEngine(ToneControls& controls, ToneOutput& output)
      : parameters(values, controls, output),
        toneSwitch(values, controls, output, parameters),
        wiring(parameters),
        controls_(controls) {
    controls.setEventSink(&wiring);
  }
  ~ToneEngine() { controls_.setEventSink(nullptr); }
  ToneEngine(const ToneEngine&) = delete;
  ToneEngine& operator=(const ToneEngine&) = delete;

  WorkingValues values;
  ToneParameters parameters;
  ToneSwitch toneSwitch;
  ControlWiring wiring;

 private:
  ToneControls& controls_;
};

}  // namespace quor
