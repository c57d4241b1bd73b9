#include "DeviceList.h"

namespace quor::audio {

OutputDeviceList outputDeviceList(const WaveOutDevice& platform) {
  OutputDeviceList list;
  list.items.push_back(kDefaultDeviceItem);
  const uint32_t count = platform.deviceCount();
  for (uint32_t id = 0; id < count; ++id) {
    std::string name = platform.deviceName(id);
    if (const auto zero = name.find('\0'); zero != std::string::npos) name.resize(zero);
    if (name.size() > 31) name.resize(31);
    list.items.push_back(name);
  }
  // Asked again, as devices can come and go between the two questions.
  list.hidden = platform.deviceCount() == 1;
  return list;
}

uint32_t deviceNumberForItem(int itemIndex) {
  return itemIndex <= 0 ? WAVE_MAPPER : static_cast<uint32_t>(itemIndex - 1);
}

}  // namespace quor::audio
