#pragma once
#include <string>

#include "MemoryControls.h"
#include "PortAudioWaveOut.h"
#include "QuorgenOptions.h"
#include "ToneEngine.h"
#include "ToneOutputAdapter.h"

namespace quor::tools {

// The window's FormCreate step for the device list: the device's outputs after the default
// item, which is selected and handed to the output.
void fillDeviceList(MemoryControls& controls, audio::ToneOutputAdapter& output,
                    const audio::WaveOutDevice& device);

// Works the request into the controls as a user would: the settings first, then the tone, in
// the order a user goes down the window. Handlers may throw ToneError.
void applyRequest(const QuorgenRequest& request, MemoryControls& controls);

// Brings the in-memory window to what the command line asks for, as the window would get
// there: its device list from `device`, the first start, then the request's settings and
// texts entered as a user enters them. Answers what is wrong with the request (a device item
// that does not exist, a handler's error), or an empty text.
std::string prepareWindow(const QuorgenRequest& request, MemoryControls& controls,
                          ToneEngine& engine, audio::ToneOutputAdapter& output,
                          const audio::WaveOutDevice& device);

// What the sound device has to know of at its start: the whole device list only when a device
// is chosen by its number; the default output alone plays sooner.
audio::PortAudioWaveOut::Devices devicesToStart(const QuorgenRequest& request);

// A message box's text on a terminal: its line breaks (CR) as LF.
std::string messageLines(std::string text);

}  // namespace quor::tools
