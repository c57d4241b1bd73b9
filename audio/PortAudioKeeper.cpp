#include "PortAudioKeeper.h"

#include <pthread.h>

#include <algorithm>
#include <cmath>

#include "PortAudioStream.h"

namespace quor::audio {

namespace {

// A device whose callbacks stay away this long while buffers wait has gone. A sound server can
// take its data in bursts up to two seconds apart.
constexpr int64_t kStallNs = 5'000'000'000;
constexpr std::chrono::milliseconds kWatchInterval{250};
// The stream time of the last frame is the device's estimate; a close waits a little beyond it,
// and never longer than this for all of it.
constexpr double kDrainMarginSeconds = 0.03;
constexpr double kLongestDrainSeconds = 3.0;

}  // namespace

PortAudioKeeper::PortAudioKeeper(std::mutex& paCalls, Reports reports)
    : paCalls_(paCalls), reports_(std::move(reports)), thread_([this] {
        // The name tells this thread apart in a profile and in the benchmarks' accounts.
        pthread_setname_np(pthread_self(), "quor-portaudio");
        while (!stopping_) loop_.processEvents(true);
      }) {}

PortAudioKeeper::~PortAudioKeeper() {
  post([this] {
    draining_.clear();
    watchdog_.reset();
    stopping_ = true;
  });
  thread_.join();
}

void PortAudioKeeper::post(std::function<void()> task) {
  loop_.post(std::move(task));
}

PortAudioStream* PortAudioKeeper::known(HWAVEOUT handle) const {
  const auto it = streams_.find(handle);
  return it != streams_.end() ? it->second : nullptr;
}

void PortAudioKeeper::start(HWAVEOUT handle, PortAudioStream& stream) {
  post([this, handle, &s = stream] {
    streams_.try_emplace(handle, &s);
    if (s.started || s.lost.load()) return;
    int err = paNoError;
    {
      const std::lock_guard calls(paCalls_);
      if (!s.sized) {
        // The stream was opened before the ring was known; a ring too small for that device
        // buffer gets a stream of its own size, before anything of it has played.
        s.sized = true;
        const DeviceBuffering wanted =
            bufferingFor(s.format.nSamplesPerSec, s.ringFrames, s.longestBufferFrames);
        if (!(wanted == s.buffering) && s.pa != nullptr) {
          Pa_CloseStream(s.pa);
          s.pa = nullptr;
        }
        s.buffering = wanted;
      }
      if (s.pa == nullptr) err = openPortAudioStream(s, s.buffering);
      if (err == paNoError) {
        s.lastCallbackNs = steadyNowNs();
        err = Pa_StartStream(s.pa);
      }
    }
    if (err != paNoError) {
      lose(handle, s, err);
      return;
    }
    s.started = true;
    running_.insert(handle);
    if (!watchdog_) watchdog_ = loop_.startTimer(kWatchInterval, false, [this] { watch(); });
  });
}

void PortAudioKeeper::stop(HWAVEOUT handle, PortAudioStream& stream) {
  post([this, handle, &s = stream] {
    streams_.try_emplace(handle, &s);
    if (!s.started) return;
    const std::lock_guard calls(paCalls_);
    Pa_AbortStream(s.pa);
    s.started = false;
    running_.erase(handle);
  });
}

void PortAudioKeeper::close(HWAVEOUT handle, PortAudioStream& stream) {
  post([this, handle, &s = stream] {
    streams_.try_emplace(handle, &s);
    double remaining = 0;
    if (s.started && !s.lost.load()) {
      const std::lock_guard calls(paCalls_);
      remaining = s.dataEndsAt.load() - Pa_GetStreamTime(s.pa);
    }
    if (!(remaining > 0)) {
      finish(handle);
      return;
    }
    // What was copied out last is still on its way to the speaker: it sounds before the stream
    // goes, and meanwhile this thread serves the other streams.
    running_.erase(handle);
    const double wait = std::min(remaining, kLongestDrainSeconds) + kDrainMarginSeconds;
    draining_[handle] =
        loop_.startTimer(std::chrono::milliseconds(static_cast<int64_t>(std::ceil(wait * 1000))),
                         true, [this, handle] { finish(handle); });
  });
}

void PortAudioKeeper::cut(HWAVEOUT handle) {
  post([this, handle] {
    if (draining_.count(handle) != 0) finish(handle);
  });
}

void PortAudioKeeper::finish(HWAVEOUT handle) {
  PortAudioStream* s = known(handle);
  if (s == nullptr) return;
  draining_.erase(handle);
  running_.erase(handle);
  {
    const std::lock_guard calls(paCalls_);
    if (s->started) Pa_AbortStream(s->pa);
    if (s->pa != nullptr) Pa_CloseStream(s->pa);
  }
  s->started = false;
  s->pa = nullptr;
  streams_.erase(handle);
  reports_.closed(handle);
}

void PortAudioKeeper::lose(HWAVEOUT handle, PortAudioStream& s, int failure) {
  s.failure = failure;
  s.lost.store(true);
  if (s.started) {
    const std::lock_guard calls(paCalls_);
    Pa_AbortStream(s.pa);
  }
  s.started = false;
  running_.erase(handle);
  reports_.lost(handle);
}

void PortAudioKeeper::watch() {
  const int64_t now = steadyNowNs();
  std::vector<HWAVEOUT> gone;
  for (HWAVEOUT handle : running_) {
    PortAudioStream& s = *known(handle);
    const bool waiting = s.head.load() != s.tail.load() && !s.paused.load();
    const bool stalled = waiting && now - s.lastCallbackNs.load() > kStallNs &&
                         now - s.waitingSinceNs.load() > kStallNs;
    bool active = false;
    {
      const std::lock_guard calls(paCalls_);
      active = Pa_IsStreamActive(s.pa) == 1;
    }
    if (!active || stalled) gone.push_back(handle);
  }
  for (HWAVEOUT handle : gone) lose(handle, *known(handle), paNoError);
  if (running_.empty()) watchdog_.reset();
}

}  // namespace quor::audio
