#pragma once

typedef struct _snd_config snd_config_t;

namespace quor::audio {

// While one lives, this process's ALSA configuration defines no PCM device by name, so that a
// PortAudio start that is to open only the default output probes none of them: each probe
// opens the device for playback and for capture, which for a sound server's plugin is a
// connection of its own and for JACK's a client. The configuration is whole again when it goes,
// so a device opened by name afterwards finds everything it plays through.
class UnlistedAlsaDevices {
 public:
  UnlistedAlsaDevices();
  ~UnlistedAlsaDevices();
  UnlistedAlsaDevices(const UnlistedAlsaDevices&) = delete;
  UnlistedAlsaDevices& operator=(const UnlistedAlsaDevices&) = delete;

 private:
  snd_config_t* devices_ = nullptr;  // the configuration's own, kept aside (null: untouched)
};

}  // namespace quor::audio
