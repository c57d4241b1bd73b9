#pragma once
#include "FirstStart.h"
#include "MemoryControls.h"
#include "QuorgenSetup.h"
#include "SimulatedWaveOut.h"
#include "ToneEngine.h"
#include "ToneOutputAdapter.h"

namespace quor::tools {

// What quorgen runs, on the simulated device: nothing plays until the caller advances virtual
// time. For the harnesses and benchmarks that play a request for long or many times over.
struct SimulatedToneRun {
  audio::SimulatedWaveOut device;
  audio::ToneOutputAdapter output{device};
  MemoryControls controls;
  ToneEngine engine{controls, output};

  SimulatedToneRun() {
    output.connectSwitch(engine.toneSwitch);
    fillDeviceList(controls, output, device);
  }
  // The window's first start, then the request worked in as a user would.
  void setUp(const QuorgenRequest& request) {
    prepareFirstStart(engine, controls);
    applyRequest(request, controls);
  }
};

}  // namespace quor::tools
