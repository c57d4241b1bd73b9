#include "AlsaDeviceFilter.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace quor::audio {

namespace {

constexpr std::array<const char*, 4> kSignalAlteringTypes = {"a52", "speex", "upmix", "vdownmix"};

bool altersSignal(snd_config_t* pcm) {
  snd_config_t* typeNode = nullptr;
  const char* type = nullptr;
  if (snd_config_search(pcm, "type", &typeNode) < 0 || snd_config_get_string(typeNode, &type) < 0 ||
      type == nullptr) {
    return false;
  }
  return std::ranges::any_of(kSignalAlteringTypes,
                             [type](const char* t) { return std::strcmp(t, type) == 0; });
}

// Whether a string anywhere in `node`, outside `skip`, names device `id` ("id" or "id:ARGS").
bool mentions(snd_config_t* node, const snd_config_t* skip, std::string_view id) {
  if (node == skip) return false;
  if (snd_config_get_type(node) == SND_CONFIG_TYPE_COMPOUND) {
    snd_config_iterator_t i;
    snd_config_iterator_t next;
    snd_config_for_each(i, next, node) {
      if (mentions(snd_config_iterator_entry(i), skip, id)) return true;
    }
    return false;
  }
  const char* text = nullptr;
  if (snd_config_get_string(node, &text) < 0 || text == nullptr) return false;
  const std::string_view value(text);
  return value.starts_with(id) && (value.size() == id.size() || value[id.size()] == ':');
}

}  // namespace

std::vector<std::string> withdrawSignalAlteringAlsaDevices() {
  std::vector<std::string> withdrawn;
  snd_config_t* pcms = nullptr;
  if (snd_config_update() < 0 || snd_config == nullptr ||
      snd_config_search(snd_config, "pcm", &pcms) < 0) {
    return withdrawn;
  }
  std::vector<snd_config_t*> doomed;
  snd_config_iterator_t i;
  snd_config_iterator_t next;
  snd_config_for_each(i, next, pcms) {
    snd_config_t* pcm = snd_config_iterator_entry(i);
    const char* id = nullptr;
    if (snd_config_get_id(pcm, &id) < 0 || id == nullptr || !altersSignal(pcm)) continue;
    if (mentions(snd_config, pcm, id)) continue;
    withdrawn.emplace_back(id);
    doomed.push_back(pcm);
  }
  for (snd_config_t* pcm : doomed) snd_config_delete(pcm);
  return withdrawn;
}

}  // namespace quor::audio
