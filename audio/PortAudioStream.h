#pragma once
#include <portaudio.h>

#include <array>
#include <atomic>
#include <functional>
#include <mutex>

#include "QueuedWaveOut.h"

namespace quor::audio {

// How long the device's own buffer is, and in what blocks the callback fills it.
struct DeviceBuffering {
  double seconds = 0.0;
  unsigned long framesPerCallback = 0;
  bool operator==(const DeviceBuffering&) const = default;
};

// The device buffer for a ring of `ringFrames` frames whose longest buffer holds
// `longestBufferFrames`, at `rate` frames per second.
DeviceBuffering bufferingFor(double rate, uint64_t ringFrames, uint64_t longestBufferFrames);

int64_t steadyNowNs();

// One open PortAudio output and the queue of handed-over buffers that its callback plays. Three
// threads share it: the device object's own (the owner) hands buffers over and takes them back,
// PortAudio's callback thread copies them out and reports each finished one, and the keeper
// (PortAudioKeeper) makes every PortAudio call on it after the open.
struct PortAudioStream : QueuedWaveOut::Stream {
  static constexpr uint32_t kSlots = 16;  // more than any ring hands over at once

  // Set at the open.
  PaStreamParameters params{};
  uint8_t silence = 0;
  const std::atomic<uint64_t>* frameLimit = nullptr;  // frames past it do not play (0: none)
  std::function<void(WAVEHDR*)> reportDone;           // from any thread: a buffer came back

  // The queue: the owner appends at the tail, the callback takes from the head. The callback
  // only tries the lock, so it never waits; the owner holds it to take buffers back.
  std::array<WAVEHDR*, kSlots> queue{};
  std::atomic<uint32_t> head{0};
  std::atomic<uint32_t> tail{0};
  std::mutex queueLock;
  uint32_t offset = 0;  // bytes of the front buffer already copied (under queueLock)

  std::atomic<bool> paused{false};
  std::atomic<uint64_t> frames{0};
  std::atomic<int64_t> lastCallbackNs{0};
  std::atomic<int64_t> waitingSinceNs{0};  // when the queue last went from empty to non-empty
  std::atomic<double> dataEndsAt{0};       // stream time at which the last copied frame sounds
  std::atomic<double> outputLatency{0};    // seconds from a frame's copy to its sound
  std::atomic<bool> lost{false};           // the device has gone away or could not start
  int failure = 0;  // PortAudio's error when it could not start (0: gone); set before `lost`

  // Owner only.
  uint64_t ringFrames = 0;           // frames of all prepared buffers
  uint64_t longestBufferFrames = 0;  // of the longest prepared buffer
  bool startAsked = false;           // since the open or the last reset

  // Keeper only, after the open.
  PaStream* pa = nullptr;
  DeviceBuffering buffering;
  bool sized = false;    // the device buffer suits the ring
  bool started = false;  // PortAudio plays it
};

// Opens `stream` with `buffering` (the callback plays its queue); a PortAudio error code.
int openPortAudioStream(PortAudioStream& stream, const DeviceBuffering& buffering);

}  // namespace quor::audio
