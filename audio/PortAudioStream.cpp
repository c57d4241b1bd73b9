#include "PortAudioStream.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace quor::audio {

namespace {

// The device buffer and the blocks it is fed in. A longer buffer lets the sound server and the
// callback thread trade data less often (at 0.1 s playing costs half as much CPU again as at
// 0.25 s), and a tone generator loses little by it: the stream starts only once the ring's
// first buffers are there, so the tone does not wait behind silence, and a stop drops what
// the device holds at once.
constexpr double kLongestDeviceBufferSeconds = 0.25;
constexpr double kShortestDeviceBufferSeconds = 0.05;
constexpr unsigned long kCallbacksPerSecond = 48;
constexpr unsigned long kMinFramesPerCallback = 256;

// Copies the queue out into the device buffer, silence where it has nothing (or is paused or
// past its frame limit), and reports each buffer that has been copied completely.
int playQueue(const void*, void* output, unsigned long frameCount,
              const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags, void* user) {
  auto& s = *static_cast<PortAudioStream*>(user);
  s.lastCallbackNs.store(steadyNowNs(), std::memory_order_relaxed);
  auto* out = static_cast<uint8_t*>(output);
  const uint32_t align = s.format.nBlockAlign;
  const size_t wanted = frameCount * align;
  size_t bytes = wanted;
  // Taken only while the owner is taking the buffers back: then there is nothing to play.
  std::unique_lock lock(s.queueLock, std::try_to_lock);
  const uint64_t limit =
      s.frameLimit != nullptr ? s.frameLimit->load(std::memory_order_relaxed) : 0;
  while (lock.owns_lock() && bytes > 0 && !s.paused.load(std::memory_order_relaxed)) {
    const uint32_t h = s.head.load(std::memory_order_relaxed);
    if (h == s.tail.load(std::memory_order_acquire)) break;  // underrun: silence below
    const uint64_t played = s.frames.load(std::memory_order_relaxed);
    if (framesWithinLimit(played, limit, 1) == 0) break;
    WAVEHDR* header = s.queue[h % PortAudioStream::kSlots];
    size_t n = std::min<size_t>(bytes, header->dwBufferLength - s.offset);
    n = std::min<uint64_t>(n, framesWithinLimit(played, limit, n) * align);
    std::memcpy(out, header->lpData + s.offset, n);
    out += n;
    bytes -= n;
    s.offset += static_cast<uint32_t>(n);
    s.frames.fetch_add(n / align, std::memory_order_relaxed);
    if (s.offset >= header->dwBufferLength) {
      s.offset = 0;
      s.head.store(h + 1, std::memory_order_release);
      s.waitingSinceNs.store(steadyNowNs(), std::memory_order_relaxed);
      s.reportDone(header);
    }
  }
  if (bytes < wanted && time != nullptr) {
    const double copied = static_cast<double>(wanted - bytes) / align;
    s.dataEndsAt.store(time->outputBufferDacTime + copied / s.format.nSamplesPerSec,
                       std::memory_order_relaxed);
  }
  if (bytes > 0) std::memset(out, s.silence, bytes);
  return paContinue;
}

}  // namespace

int64_t steadyNowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The sound server takes data in bursts that grow with the device buffer, and the callback can
// only hand over what the ring holds beyond the buffer that is being refilled; a burst beyond
// that plays as a gap. So the device buffer never exceeds that spare part of the ring, and its
// blocks are a quarter of it at most.
DeviceBuffering bufferingFor(double rate, uint64_t ringFrames, uint64_t longestBufferFrames) {
  const double spareFrames =
      ringFrames > longestBufferFrames ? static_cast<double>(ringFrames - longestBufferFrames) : 0;
  DeviceBuffering b;
  b.seconds =
      std::clamp(spareFrames / rate, kShortestDeviceBufferSeconds, kLongestDeviceBufferSeconds);
  const auto blocks = static_cast<unsigned long>(rate / kCallbacksPerSecond);
  b.framesPerCallback = std::clamp(static_cast<unsigned long>(spareFrames / 4),
                                   kMinFramesPerCallback, std::max(kMinFramesPerCallback, blocks));
  return b;
}

int openPortAudioStream(PortAudioStream& s, const DeviceBuffering& buffering) {
  const PaDeviceInfo* info = Pa_GetDeviceInfo(s.params.device);
  PaStreamParameters params = s.params;
  params.suggestedLatency =
      std::max(info != nullptr ? info->defaultHighOutputLatency : 0.0, buffering.seconds);
  s.buffering = buffering;
  const int err =
      Pa_OpenStream(&s.pa, nullptr, &params, s.format.nSamplesPerSec, buffering.framesPerCallback,
                    paClipOff | paDitherOff, &playQueue, &s);
  if (err != paNoError) {
    s.pa = nullptr;
    return err;
  }
  if (const PaStreamInfo* streamInfo = Pa_GetStreamInfo(s.pa))
    s.outputLatency.store(streamInfo->outputLatency);
  return paNoError;
}

}  // namespace quor::audio
