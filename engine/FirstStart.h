#pragma once
#include "ToneControls.h"
#include "ToneEngine.h"

namespace quor {

// Brings freshly created controls to the state of a window after its first start without
// stored settings: Sine and the Constant page selected, the default list selections, the
// resolution handed to the output, the sample rate derived, and the first apply run (which
// the bandwidth handler performs when the frequency slider is created).
void prepareFirstStart(ToneEngine& engine, ToneControls& controls);

}  // namespace quor
