#include "UnlistedAlsaDevices.h"

#include <alsa/asoundlib.h>

namespace quor::audio {

namespace {

constexpr const char* kStandInName = "quor_unlisted";

// PortAudio (19.6) asserts when ALSA names no device at all and the machine has no sound card,
// so the stand-in names one: an "empty" device with nothing to play through, which fails to
// open at once and is never listed.
snd_config_t* standInDevices() {
  snd_config_t* devices = nullptr;
  snd_config_t* device = nullptr;
  snd_config_t* type = nullptr;
  if (snd_config_make_compound(&devices, "pcm", 0) < 0) return nullptr;
  if (snd_config_make_compound(&device, kStandInName, 0) < 0 ||
      snd_config_add(devices, device) < 0 || snd_config_imake_string(&type, "type", "empty") < 0 ||
      snd_config_add(device, type) < 0) {
    snd_config_delete(devices);
    return nullptr;
  }
  return devices;
}

}  // namespace

UnlistedAlsaDevices::UnlistedAlsaDevices() {
  snd_config_t* devices = nullptr;
  if (snd_config_update() < 0 || snd_config == nullptr ||
      snd_config_search(snd_config, "pcm", &devices) < 0) {
    return;
  }
  snd_config_t* standIn = standInDevices();
  if (standIn == nullptr) return;
  if (snd_config_remove(devices) < 0) {
    snd_config_delete(standIn);
    return;
  }
  devices_ = devices;
  if (snd_config_add(snd_config, standIn) < 0) snd_config_delete(standIn);
}

UnlistedAlsaDevices::~UnlistedAlsaDevices() {
  if (devices_ == nullptr) return;
  // Should ALSA have read its files afresh meanwhile, the configuration is whole already and
  // the devices kept aside belong to no one.
  snd_config_t* current = nullptr;
  snd_config_t* standIn = nullptr;
  const bool readAfresh =
      snd_config == nullptr || (snd_config_search(snd_config, "pcm", &current) >= 0 &&
                                snd_config_search(current, kStandInName, &standIn) < 0);
  if (readAfresh) {
    snd_config_delete(devices_);
    return;
  }
  if (current != nullptr) snd_config_delete(current);
  if (snd_config_add(snd_config, devices_) < 0) snd_config_delete(devices_);
}

}  // namespace quor::audio
