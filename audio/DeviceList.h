#pragma once
#include <string>
#include <vector>

#include "WaveOut.h"

namespace quor::audio {

// The items of the output device list: the system's default output first, then every output
// device by name. Item i plays on device number i − 1, so item 0 is WAVE_MAPPER.
struct OutputDeviceList {
  std::vector<std::string> items;
  bool hidden = false;  // exactly one device: there is nothing to choose
};

inline constexpr const char* kDefaultDeviceItem = "Default Windows Device";

OutputDeviceList outputDeviceList(const WaveOutDevice& platform);

// The device number for the selected item index (item 0 and "no selection" give WAVE_MAPPER).
uint32_t deviceNumberForItem(int itemIndex);

}  // namespace quor::audio
