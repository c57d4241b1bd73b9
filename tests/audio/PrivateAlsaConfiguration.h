#pragma once
#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <string>

namespace quor::audio {

// Every test reads ALSA's configuration from a file of its own, so that what it sees does not
// depend on the machine's plugins and sound cards.
class PrivateAlsaConfiguration : public ::testing::Test {
 protected:
  void useConfiguration(const char* text) {
    ASSERT_TRUE(dir_.isValid());
    const std::string path = dir_.filePath("asound.conf").toStdString();
    std::ofstream(path) << text;
    setenv("ALSA_CONFIG_PATH", path.c_str(), 1);
    snd_config_update_free_global();
  }
  void TearDown() override {
    unsetenv("ALSA_CONFIG_PATH");
    snd_config_update_free_global();
  }

  static bool defined(const char* name) {
    snd_config_t* node = nullptr;
    return snd_config_update() >= 0 &&
           snd_config_search(snd_config, (std::string("pcm.") + name).c_str(), &node) >= 0;
  }
  static bool opens(const char* name) {
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, name, SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return false;
    snd_pcm_close(pcm);
    return true;
  }

 private:
  QTemporaryDir dir_;
};

}  // namespace quor::audio
