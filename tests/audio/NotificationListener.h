#pragma once
#include <algorithm>
#include <memory>
#include <vector>

#include "WaveOut.h"

namespace quor::audio {

// Stands in for a callback window: records the notifications a device sends to it, in the
// order they arrive. A device holds it through ref(), which ends with the listener.
class NotificationListener : public WaveCallback {
 public:
  void waveMessage(WaveMessage message, HWAVEOUT, WAVEHDR* header) override {
    messages.push_back(message);
    headers.push_back(header);
  }
  std::weak_ptr<WaveCallback> ref() const { return self_; }
  int count(WaveMessage m) const {
    return static_cast<int>(std::count(messages.begin(), messages.end(), m));
  }
  std::vector<WaveMessage> messages;
  std::vector<WAVEHDR*> headers;

 private:
  const std::shared_ptr<WaveCallback> self_{this, [](WaveCallback*) {}};
};

}  // namespace quor::audio
