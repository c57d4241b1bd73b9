#pragma once
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <map>
#include <string>
#include <vector>

#include "FakeClockHost.h"
#include "MemoryControls.h"
#include "ScriptInterpreter.h"
#include "SimulatedWaveOut.h"
#include "ToneEngine.h"
#include "ToneOutputAdapter.h"

namespace quor::testing {

// The sample rate of the first start.
inline constexpr int64_t kRate = 22050;

// What a line left in the window when its tone was switched on.
struct LineSnapshot {
  std::map<Control, std::string> texts;
  SignalPage page = SignalPage::Constant;
  bool logarithmic = false;
  bool loop = false;
  bool pulsed = false;
};

// The interpreter on the in-memory controls of a window after its first start, over the
// output component on the simulated device, with the fake clock as its host.
class ScriptTest : public ::testing::Test {
 protected:
  ScriptTest();

  // Writes `bytes` as a script file and answers its name.
  std::string scriptFile(const std::string& bytes, const std::string& name = "test.qvs");
  // Writes and runs a script.
  void run(const std::string& bytes) { interpreter.Runscript(scriptFile(bytes)); }

  // The texts in the window's tone fields now.
  LineSnapshot snapshot() const;
  // Expected texts of the fields that matter, the others left out.
  static void expectTexts(const LineSnapshot& line, const std::map<Control, std::string>& texts);

  audio::SimulatedWaveOut device;
  MemoryControls controls;
  audio::ToneOutputAdapter output{device};
  ToneEngine engine{controls, output};
  FakeClockHost host{device};
  ScriptInterpreter interpreter{controls, engine, output, host};
  std::vector<LineSnapshot> snapshots;  // one for each line, before its wait
  QTemporaryDir folder;
};

}  // namespace quor::testing
