#pragma once
#include <string>
#include <vector>

#include "ToneControls.h"

namespace quor {

// The items of the window's lists, in their item order.
const std::vector<std::string>& bandwidthItems();    // FSList
const std::vector<std::string>& resolutionItems();   // cboSoundQuality
const std::vector<std::string>& bufferSizeItems();   // BufferSizeEdit
const std::vector<std::string>& bufferCountItems();  // Buffers
const std::vector<std::string>& waveformItems();     // WaveForm

// The texts and check states of the tone controls in the window's initial layout.
struct InitialControl {
  Control control;
  const char* text;
};
const std::vector<InitialControl>& initialTexts();
const std::vector<Control>& initiallyChecked();  // chkLoop, Logarithmic

// Selections that a first start without stored settings gives the lists.
struct DefaultSelection {
  Control list;
  int index;
};
const std::vector<DefaultSelection>& firstStartSelections();

}  // namespace quor
