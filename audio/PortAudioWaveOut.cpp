#include "PortAudioWaveOut.h"

#include <alsa/asoundlib.h>
#include <fcntl.h>
#include <portaudio.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "AlsaDeviceFilter.h"

namespace quor::audio {

// How long the device's own buffer is, and in what blocks the callback fills it.
struct DeviceBuffering {
  double seconds = 0.0;
  unsigned long framesPerCallback = 0;
  bool operator==(const DeviceBuffering&) const = default;
};

namespace {

// ALSA reports every odd entry of its configuration on stderr while PortAudio probes devices.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

int64_t nowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// While PortAudio probes its host APIs, ALSA and JACK write their complaints about missing
// servers and odd configuration entries straight to stderr; they mean nothing to a user.
class QuietStderr {
 public:
  QuietStderr() {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    if (null >= 0) ::close(null);
  }
  ~QuietStderr() {
    if (saved_ < 0) return;
    dup2(saved_, STDERR_FILENO);
    ::close(saved_);
  }

 private:
  int saved_ = -1;
};

// A device whose callbacks stay away this long while buffers wait has gone. A sound server can
// take its data in bursts up to two seconds apart.
constexpr int64_t kStallNs = 5'000'000'000;

// The device buffer and the blocks it is fed in. A longer buffer lets the sound server and the
// callback thread trade data less often (at 0.1 s playing costs half as much CPU again as at
// 0.25 s), and a tone generator loses little by it: a stop drops what the device holds at
// once; only the start comes later by the buffer's length.
constexpr double kLongestDeviceBufferSeconds = 0.25;
constexpr double kShortestDeviceBufferSeconds = 0.05;
constexpr unsigned long kCallbacksPerSecond = 48;
constexpr unsigned long kMinFramesPerCallback = 256;

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

}  // namespace

struct PortAudioWaveOut::PaState : Stream {
  static constexpr uint32_t kSlots = 16;  // more than any ring hands over at once
  PortAudioWaveOut* owner = nullptr;
  PaStream* pa = nullptr;
  std::array<WAVEHDR*, kSlots> queue{};
  std::atomic<uint32_t> head{0};  // advanced by the callback
  std::atomic<uint32_t> tail{0};  // advanced by write
  uint32_t offset = 0;            // callback only: bytes of the front buffer already copied
  uint8_t silence = 0;
  std::atomic<bool> paused{false};
  std::atomic<uint32_t> frames{0};
  std::atomic<int64_t> lastCallbackNs{0};
  std::atomic<int64_t> waitingSinceNs{0};  // when the queue last went from empty to non-empty
  std::atomic<double> dataEndsAt{0};       // stream time at which the last copied frame sounds
  bool running = false;                    // owner thread: the PortAudio stream is started
  PaStreamParameters params{};             // owner thread: how the stream was opened
  DeviceBuffering buffering;               // owner thread: and with what buffer
  uint64_t ringFrames = 0;                 // owner thread: frames of all prepared buffers
  uint64_t longestBufferFrames = 0;        // owner thread: of the longest prepared buffer
  bool sized = false;                      // owner thread: the buffer suits the ring
  bool lost = false;                       // owner thread: the device has gone away
};

PortAudioWaveOut::PortAudioWaveOut() {
  snd_lib_error_set_handler(quietAlsa);
  const QuietStderr quiet;
  withdrawSignalAlteringAlsaDevices();
  initialised_ = Pa_Initialize() == paNoError;
  if (initialised_) {
    const int count = Pa_GetDeviceCount();
    for (int i = 0; i < count; ++i) {
      const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
      if (info == nullptr || info->maxOutputChannels <= 0) continue;
      devices_.push_back(i);
      std::string name = info->name != nullptr ? info->name : "";
      if (name.size() > 31) name.resize(31);
      names_.push_back(name);
    }
  }
  watchdog_.setInterval(250);
  connect(&watchdog_, &QTimer::timeout, this, &PortAudioWaveOut::watch);
}

PortAudioWaveOut::~PortAudioWaveOut() {
  forEachOpenStream([](Stream& stream) {
    auto& s = static_cast<PaState&>(stream);
    if (s.pa != nullptr) {
      Pa_AbortStream(s.pa);
      Pa_CloseStream(s.pa);
      s.pa = nullptr;
    }
  });
  if (initialised_) {
    const QuietStderr quiet;
    Pa_Terminate();
  }
}

std::string PortAudioWaveOut::deviceName(uint32_t id) const {
  return id < names_.size() ? names_[id] : std::string();
}

std::string PortAudioWaveOut::errorText(MMRESULT code) const {
  std::string text = QueuedWaveOut::errorText(code);
  if (code == MMSYSERR_ERROR && !lastDetail_.empty()) text += " " + lastDetail_;
  return text;
}

MMRESULT PortAudioWaveOut::fail(int paError) {
  lastDetail_ = Pa_GetErrorText(paError);
  if (paError == paHostApiNotFound || paError == paNotInitialized) return MMSYSERR_NODRIVER;
  if (paError == paInvalidDevice) return MMSYSERR_BADDEVICEID;
  if (paError == paDeviceUnavailable) return MMSYSERR_ALLOCATED;
  if (paError == paInsufficientMemory) return MMSYSERR_NOMEM;
  if (paError == paSampleFormatNotSupported || paError == paInvalidSampleRate ||
      paError == paInvalidChannelCount)
    return WAVERR_BADFORMAT;
  return MMSYSERR_ERROR;
}

std::unique_ptr<QueuedWaveOut::Stream> PortAudioWaveOut::openStream(uint32_t deviceId,
                                                                    const WAVEFORMATEX& format,
                                                                    MMRESULT& result) {
  if (!initialised_) {
    result = MMSYSERR_NODRIVER;
    return nullptr;
  }
  PaStreamParameters params{};
  if (deviceId == WAVE_MAPPER) {
    params.device = Pa_GetDefaultOutputDevice();
    if (params.device == paNoDevice) {
      result = MMSYSERR_NODRIVER;
      return nullptr;
    }
  } else if (deviceId < devices_.size()) {
    params.device = devices_[deviceId];
  } else {
    result = MMSYSERR_BADDEVICEID;
    return nullptr;
  }
  switch (format.wBitsPerSample) {
    case 8:
      params.sampleFormat = paUInt8;
      break;
    case 16:
      params.sampleFormat = paInt16;
      break;
    case 24:
      params.sampleFormat = paInt24;
      break;
    default:
      result = WAVERR_BADFORMAT;
      return nullptr;
  }
  if (format.nBlockAlign != format.wBitsPerSample / 8 * format.nChannels) {
    result = WAVERR_BADFORMAT;
    return nullptr;
  }
  params.channelCount = format.nChannels;

  auto state = std::make_unique<PaState>();
  state->owner = this;
  state->format = format;
  state->silence = format.wBitsPerSample == 8 ? 0x80 : 0;
  state->params = params;
  // Opened and started here: a device that cannot play fails the open, and the sound server
  // is awake (playing silence) by the time the tone comes, instead of dropping its start. The
  // first write sizes the device buffer for the ring.
  const double rate = format.nSamplesPerSec;
  int err = openPortAudio(*state, bufferingFor(rate, UINT64_MAX, 0));
  if (err == paNoError) {
    state->lastCallbackNs = nowNs();
    err = Pa_StartStream(state->pa);
    if (err != paNoError) Pa_CloseStream(state->pa);
  }
  if (err != paNoError) {
    state->pa = nullptr;
    result = fail(err);
    return nullptr;
  }
  state->running = true;
  if (!watchdog_.isActive()) watchdog_.start();
  return state;
}

int PortAudioWaveOut::openPortAudio(PaState& s, const DeviceBuffering& buffering) {
  const PaDeviceInfo* info = Pa_GetDeviceInfo(s.params.device);
  PaStreamParameters params = s.params;
  params.suggestedLatency =
      std::max(info != nullptr ? info->defaultHighOutputLatency : 0.0, buffering.seconds);
  s.buffering = buffering;
  return Pa_OpenStream(&s.pa, nullptr, &params, s.format.nSamplesPerSec,
                       buffering.framesPerCallback, paClipOff | paDitherOff,
                       &PortAudioWaveOut::callback, &s);
}

MMRESULT PortAudioWaveOut::prepareBuffer(Stream& stream, WAVEHDR* header) {
  auto& s = static_cast<PaState&>(stream);
  const uint64_t frames = header->dwBufferLength / s.format.nBlockAlign;
  s.ringFrames += frames;
  s.longestBufferFrames = std::max(s.longestBufferFrames, frames);
  return MMSYSERR_NOERROR;
}

// A ring too small for the device buffer of the open gets a stream of its own size (opened by
// the start that follows), before anything of it has been handed over.
void PortAudioWaveOut::sizeForRing(PaState& s) {
  s.sized = true;
  const DeviceBuffering wanted =
      bufferingFor(s.format.nSamplesPerSec, s.ringFrames, s.longestBufferFrames);
  if (wanted == s.buffering) return;
  if (s.running) Pa_AbortStream(s.pa);
  s.running = false;
  Pa_CloseStream(s.pa);
  s.pa = nullptr;
  s.buffering = wanted;
}

int PortAudioWaveOut::startPortAudio(PaState& s) {
  if (s.pa == nullptr) {
    if (const int err = openPortAudio(s, s.buffering); err != paNoError) {
      s.pa = nullptr;
      return err;
    }
  }
  s.lastCallbackNs = nowNs();
  return Pa_StartStream(s.pa);
}

int PortAudioWaveOut::callback(const void*, void* output, unsigned long frames,
                               const PaStreamCallbackTimeInfo* time, unsigned long, void* user) {
  auto& s = *static_cast<PaState*>(user);
  s.lastCallbackNs.store(nowNs(), std::memory_order_relaxed);
  auto* out = static_cast<uint8_t*>(output);
  const uint32_t align = s.format.nBlockAlign;
  size_t bytes = frames * align;
  const uint64_t limit = s.owner->frameLimit_.load(std::memory_order_relaxed);
  while (bytes > 0 && !s.paused.load(std::memory_order_relaxed)) {
    const uint32_t h = s.head.load(std::memory_order_relaxed);
    if (h == s.tail.load(std::memory_order_acquire)) break;  // underrun: silence below
    const uint32_t played = s.frames.load(std::memory_order_relaxed);
    if (limit != 0 && played >= limit) break;
    WAVEHDR* header = s.queue[h % PaState::kSlots];
    size_t n = std::min<size_t>(bytes, header->dwBufferLength - s.offset);
    if (limit != 0) n = std::min<size_t>(n, (limit - played) * align);
    std::memcpy(out, header->lpData + s.offset, n);
    out += n;
    bytes -= n;
    s.offset += static_cast<uint32_t>(n);
    s.frames.fetch_add(static_cast<uint32_t>(n / align), std::memory_order_relaxed);
    if (s.offset >= header->dwBufferLength) {
      s.offset = 0;
      s.head.store(h + 1, std::memory_order_release);
      s.waitingSinceNs.store(nowNs(), std::memory_order_relaxed);
      s.owner->bufferDone(s, header);
    }
  }
  if (bytes < frames * align && time != nullptr) {
    const double copied = static_cast<double>(frames * align - bytes) / align;
    s.dataEndsAt.store(time->outputBufferDacTime + copied / s.format.nSamplesPerSec,
                       std::memory_order_relaxed);
  }
  if (bytes > 0) std::memset(out, s.silence, bytes);
  return paContinue;
}

MMRESULT PortAudioWaveOut::submit(Stream& stream, WAVEHDR* header) {
  auto& s = static_cast<PaState&>(stream);
  if (s.lost) {
    lastDetail_.clear();
    return MMSYSERR_NODRIVER;
  }
  if (!s.sized) sizeForRing(s);
  const uint32_t t = s.tail.load(std::memory_order_relaxed);
  if (t - s.head.load(std::memory_order_acquire) >= PaState::kSlots) return MMSYSERR_NOMEM;
  if (t == s.head.load(std::memory_order_acquire)) s.waitingSinceNs.store(nowNs());
  s.queue[t % PaState::kSlots] = header;
  s.tail.store(t + 1, std::memory_order_release);
  if (!s.running) {
    if (const int err = startPortAudio(s); err != paNoError) {
      s.tail.store(t, std::memory_order_release);
      s.lost = true;
      return fail(err);
    }
    s.running = true;
  }
  return MMSYSERR_NOERROR;
}

void PortAudioWaveOut::setHalted(Stream& stream, bool halted) {
  auto& s = static_cast<PaState&>(stream);
  s.paused.store(halted, std::memory_order_relaxed);
  s.waitingSinceNs.store(nowNs(), std::memory_order_relaxed);
}

// The callback is stopped first, so that the queue belongs to this thread alone.
void PortAudioWaveOut::takeBack(PaState& s) {
  if (s.running) {
    Pa_AbortStream(s.pa);
    s.running = false;
  }
  for (uint32_t h = s.head.load(); h != s.tail.load(); ++h) {
    s.head.store(h + 1);
    bufferDone(s, s.queue[h % PaState::kSlots]);
  }
  s.offset = 0;
}

void PortAudioWaveOut::returnAll(Stream& stream) {
  auto& s = static_cast<PaState&>(stream);
  takeBack(s);
  s.frames = 0;
  s.dataEndsAt = 0;  // nothing is left to sound; the next write starts the stream again
}

void PortAudioWaveOut::closeStream(Stream& stream) {
  auto& s = static_cast<PaState&>(stream);
  if (s.running) {
    // What was copied out last is still on its way to the speaker: let it sound before the
    // stream goes (a stop alone can cut the server's share of it). A lost device has nothing
    // left to play.
    if (s.lost) {
      Pa_AbortStream(s.pa);
    } else {
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
      while (Pa_GetStreamTime(s.pa) < s.dataEndsAt.load() &&
             std::chrono::steady_clock::now() < deadline && Pa_IsStreamActive(s.pa) == 1)
        Pa_Sleep(5);
      Pa_StopStream(s.pa);
    }
    s.running = false;
  }
  if (s.pa != nullptr) Pa_CloseStream(s.pa);
  s.pa = nullptr;
  bool anyOpen = false;
  forEachOpenStream([&](Stream& other) { anyOpen = anyOpen || &other != &stream; });
  if (!anyOpen) watchdog_.stop();
}

void PortAudioWaveOut::watch() {
  const int64_t now = nowNs();
  forEachOpenStream([&](Stream& stream) {
    auto& s = static_cast<PaState&>(stream);
    if (s.lost || !s.running) return;
    const bool waiting = s.head.load() != s.tail.load() && !s.paused.load();
    const bool stalled = waiting && now - s.lastCallbackNs.load() > kStallNs &&
                         now - s.waitingSinceNs.load() > kStallNs;
    if (Pa_IsStreamActive(s.pa) == 1 && !stalled) return;
    s.lost = true;
    takeBack(s);
  });
}

double PortAudioWaveOut::outputLatency(HWAVEOUT handle) const {
  const auto* s = static_cast<const PaState*>(findOpen(handle));
  const PaStreamInfo* info = s != nullptr && s->pa != nullptr ? Pa_GetStreamInfo(s->pa) : nullptr;
  return info != nullptr ? info->outputLatency : 0.0;
}

uint32_t PortAudioWaveOut::framesPlayed(const Stream& stream) const {
  return static_cast<const PaState&>(stream).frames.load(std::memory_order_relaxed);
}

bool PortAudioWaveOut::queued(const Stream& stream, const WAVEHDR* header) const {
  const auto& s = static_cast<const PaState&>(stream);
  const uint32_t tail = s.tail.load(std::memory_order_acquire);
  for (uint32_t h = s.head.load(std::memory_order_acquire); h != tail; ++h)
    if (s.queue[h % PaState::kSlots] == header) return true;
  return false;
}

}  // namespace quor::audio
