#pragma once
#include "ToneControls.h"
#include "ToneParameters.h"

namespace quor {

// Routes each control's events to its handler, as the window wires them. Shared by the
// window, the command-line tool and the tests, so all three react identically.
class ControlWiring : public ControlEventSink {
 public:
  explicit ControlWiring(ToneParameters& parameters) : parameters_(parameters) {}
  void controlEvent(Control control, ControlEvent event) override;

 private:
  ToneParameters& parameters_;
};

}  // namespace quor
