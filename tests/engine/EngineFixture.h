#pragma once
#include <gtest/gtest.h>

#include "FakeToneOutput.h"
#include "FirstStart.h"
#include "MemoryControls.h"
#include "ToneEngine.h"
#include "ToneError.h"

namespace quor::testing {

// A window in the state of a first start without stored settings, on a fake output.
class EngineTest : public ::testing::Test {
 protected:
  EngineTest() {
    output.fill = [this](uint8_t* b, int32_t& s) {
      return engine.toneSwitch.AudioOut1FillBuffer(b, s);
    };
    prepareFirstStart(engine, controls);
  }

  // Sets a field as a user would: type, then leave it.
  void enter(Control field, const std::string& text) {
    controls.userType(field, text);
    controls.userLeave(field);
  }

  MemoryControls controls;
  FakeToneOutput output;
  ToneEngine engine{controls, output};
  WorkingValues& v = engine.values;
};

}  // namespace quor::testing
