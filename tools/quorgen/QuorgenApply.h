#pragma once
#include "MemoryControls.h"
#include "QuorgenOptions.h"
#include "ToneOutputAdapter.h"
#include "WaveOut.h"

namespace quor::tools {

// The window's FormCreate step for the device list: the device's outputs after the default
// item, which is selected and handed to the output.
void fillDeviceList(MemoryControls& controls, audio::ToneOutputAdapter& output,
                    const audio::WaveOutDevice& device);

// Works the request into the controls as a user would: the settings first, then the tone, in
// the order a user goes down the window. Handlers may throw ToneError.
void applyRequest(const QuorgenRequest& request, MemoryControls& controls);

}  // namespace quor::tools
