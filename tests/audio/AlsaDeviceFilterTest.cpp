#include <alsa/asoundlib.h>
#include <dlfcn.h>
#include <gmock/gmock.h>

#include "AlsaDeviceFilter.h"
#include "PortAudioWaveOut.h"
#include "PrivateAlsaConfiguration.h"

namespace quor::audio {
namespace {

using ::testing::Contains;
using ::testing::Not;
using ::testing::UnorderedElementsAre;

class AlsaDeviceFilterTest : public PrivateAlsaConfiguration {
 protected:
  // ALSA's upmix and vdownmix plugins keep what their open allocates, and ALSA unloads them
  // before a leak checker looks, which then cannot tell whose memory it is. Kept loaded, they
  // keep their names on it (scripts/sanitizer-leaks.supp lets them keep it).
  static void SetUpTestSuite() {
    for (const char* plugin :
         {"libasound_module_pcm_upmix.so", "libasound_module_pcm_vdownmix.so"}) {
      char path[4096];
      if (snd_dlpath(path, sizeof path, plugin) == 0) dlopen(path, RTLD_NOW | RTLD_NODELETE);
    }
  }
};

constexpr const char* kDevices = R"(
pcm.quor_plain { type null }
pcm.quor_upmix { type upmix slave.pcm "quor_plain" }
pcm.quor_encoder { type a52 card 0 }
pcm.quor_speex { type speex slave.pcm "quor_plain" }
pcm.quor_downmix { type vdownmix slave.pcm "quor_plain" }
pcm.quor_through_downmix { type plug slave.pcm "quor_downmix" }
pcm.quor_wide { type upmix slave.pcm "quor_plain" }
pcm.quor_through_wide { type plug slave { pcm "quor_wide:6" } }
pcm.quor_upmixer_named_alike { type plug slave.pcm "quor_upmix_other" }
)";

TEST_F(AlsaDeviceFilterTest, TakesOutOnlyTheAlteringDevicesNothingPlaysThrough) {
  useConfiguration(kDevices);
  EXPECT_THAT(withdrawSignalAlteringAlsaDevices(),
              UnorderedElementsAre("quor_upmix", "quor_encoder", "quor_speex"));
  EXPECT_FALSE(defined("quor_upmix"));
  EXPECT_FALSE(defined("quor_encoder"));
  EXPECT_FALSE(defined("quor_speex"));
  // Named by another device, with or without arguments: taking them out would break it.
  EXPECT_TRUE(defined("quor_downmix"));
  EXPECT_TRUE(defined("quor_wide"));
  EXPECT_TRUE(defined("quor_through_downmix"));
  EXPECT_TRUE(defined("quor_plain"));
  EXPECT_TRUE(opens("quor_plain"));
  EXPECT_FALSE(opens("quor_upmix"));
}

TEST_F(AlsaDeviceFilterTest, AConfigurationWithoutAlteringDevicesStaysWhole) {
  useConfiguration(
      "pcm.quor_plain { type null }\npcm.quor_copy { type copy slave.pcm quor_plain }\n");
  EXPECT_TRUE(withdrawSignalAlteringAlsaDevices().empty());
  EXPECT_TRUE(defined("quor_plain"));
  EXPECT_TRUE(defined("quor_copy"));
  EXPECT_TRUE(opens("quor_copy"));
}

TEST_F(AlsaDeviceFilterTest, AnUnreadableConfigurationIsLeftToAlsa) {
  useConfiguration("pcm.quor_broken { type upmix \n");
  EXPECT_TRUE(withdrawSignalAlteringAlsaDevices().empty());
}

TEST_F(AlsaDeviceFilterTest, TheRealDeviceListLeavesThemOut) {
  useConfiguration(kDevices);
  // The upmix device works, so the list would show it if nothing took it out.
  ASSERT_TRUE(opens("quor_upmix"));
  const PortAudioWaveOut device;
  ASSERT_TRUE(device.initialised());
  std::vector<std::string> names;
  for (uint32_t i = 0; i < device.deviceCount(); ++i) names.push_back(device.deviceName(i));
  EXPECT_THAT(names, Contains("quor_plain"));
  EXPECT_THAT(names, Not(Contains("quor_upmix")));
}

}  // namespace
}  // namespace quor::audio
