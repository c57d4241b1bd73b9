#include <gtest/gtest.h>

#include "NotificationListener.h"
#include "PortAudioWaveOut.h"
#include "PrivateAlsaConfiguration.h"
#include "UnlistedAlsaDevices.h"

namespace quor::audio {
namespace {

// A PortAudio start for the default output alone probes no device: ALSA's configuration names
// none while PortAudio starts, and is whole again for the opens that follow.
class DefaultOutputOnly : public PrivateAlsaConfiguration {
 protected:
  static WAVEFORMATEX mono16() {
    WAVEFORMATEX f;
    f.nSamplesPerSec = 22050;
    f.nAvgBytesPerSec = 44100;
    return f;
  }
  NotificationListener listener_;
};

constexpr const char* kPlayingDefault =
    "pcm.!default { type null }\n"
    "pcm.quor_plain { type null }\n";

TEST_F(DefaultOutputOnly, AlsaNamesNoDeviceWhileUnlistedAndEveryOneAfterwards) {
  useConfiguration(kPlayingDefault);
  {
    const UnlistedAlsaDevices unlisted;
    EXPECT_FALSE(defined("quor_plain"));
    EXPECT_FALSE(opens("quor_plain"));
    EXPECT_FALSE(opens("default"));
  }
  EXPECT_TRUE(opens("quor_plain"));
  EXPECT_TRUE(opens("default"));
}

// PortAudio's stop has ALSA read its files afresh; what was kept aside must not come back twice
// or be freed twice.
TEST_F(DefaultOutputOnly, AConfigurationReadAfreshMeanwhileStaysWhole) {
  useConfiguration(kPlayingDefault);
  {
    const UnlistedAlsaDevices unlisted;
    snd_config_update_free_global();
    ASSERT_GE(snd_config_update(), 0);
  }
  EXPECT_TRUE(opens("quor_plain"));
  snd_config_t* devices = nullptr;
  ASSERT_GE(snd_config_search(snd_config, "pcm", &devices), 0);
  EXPECT_EQ(snd_config_search(devices, "quor_unlisted", &devices), -ENOENT);
}

TEST_F(DefaultOutputOnly, ListsNothingRefusesNumbersAndOpensTheDefault) {
  useConfiguration(kPlayingDefault);
  PortAudioWaveOut device(PortAudioWaveOut::Devices::DefaultOnly);
  ASSERT_TRUE(device.initialised());
  EXPECT_EQ(device.deviceCount(), 0u);
  HWAVEOUT h = 0;
  EXPECT_EQ(device.open(&h, 0, mono16(), listener_.ref(), 0, 0), MMSYSERR_BADDEVICEID);
  ASSERT_EQ(device.open(&h, WAVE_MAPPER, mono16(), listener_.ref(), 0, 0), 0u);
  EXPECT_EQ(device.close(h), 0u);
  EXPECT_TRUE(opens("quor_plain")) << "ALSA's configuration is whole again";
}

// Where the default cannot be opened by its name, PortAudio's own choice plays, as it does when
// every device is listed from the start: the first device that plays.
TEST_F(DefaultOutputOnly, ADefaultThatCannotOpenGivesWayToPortAudiosChoice) {
  useConfiguration(
      "pcm.!default { type empty }\n"
      "pcm.quor_plain { type null }\n");
  PortAudioWaveOut device(PortAudioWaveOut::Devices::DefaultOnly);
  HWAVEOUT h = 0;
  ASSERT_EQ(device.open(&h, WAVE_MAPPER, mono16(), listener_.ref(), 0, 0), 0u);
  EXPECT_EQ(device.close(h), 0u);
  ASSERT_EQ(device.deviceCount(), 1u) << "PortAudio started again with every device";
  EXPECT_EQ(device.deviceName(0), "quor_plain");
}

TEST_F(DefaultOutputOnly, NoOutputAtAllIsNoDriver) {
  useConfiguration("pcm.!default { type empty }\n");
  PortAudioWaveOut device(PortAudioWaveOut::Devices::DefaultOnly);
  HWAVEOUT h = 0;
  EXPECT_EQ(device.open(&h, WAVE_MAPPER, mono16(), listener_.ref(), 0, 0), MMSYSERR_NODRIVER);
}

}  // namespace
}  // namespace quor::audio
