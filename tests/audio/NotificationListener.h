#pragma once
#include <QEvent>
#include <QObject>
#include <algorithm>
#include <vector>

#include "QueuedWaveOut.h"

namespace quor::audio {

// Stands in for a callback window: records the notifications a device sends to it, in the
// order they arrive.
class NotificationListener : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() != WaveMessageEvent::eventType()) return QObject::event(e);
    const auto* m = static_cast<WaveMessageEvent*>(e);
    messages.push_back(m->message);
    headers.push_back(m->header);
    return true;
  }
  int count(WaveMessage m) const {
    return static_cast<int>(std::count(messages.begin(), messages.end(), m));
  }
  std::vector<WaveMessage> messages;
  std::vector<WAVEHDR*> headers;
};

}  // namespace quor::audio
