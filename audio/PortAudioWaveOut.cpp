#include "PortAudioWaveOut.h"

#include <alsa/asoundlib.h>
#include <fcntl.h>
#include <pa_linux_alsa.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "AlsaDeviceFilter.h"
#include "JackProbeSkipped.h"
#include "PortAudioKeeper.h"
#include "PortAudioStream.h"
#include "UnlistedAlsaDevices.h"

namespace quor::audio {

namespace {

// ALSA reports every odd entry of its configuration on stderr while PortAudio probes devices.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

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

PortAudioStream& paStream(QueuedWaveOut::Stream& stream) {
  return static_cast<PortAudioStream&>(stream);
}
const PortAudioStream& paStream(const QueuedWaveOut::Stream& stream) {
  return static_cast<const PortAudioStream&>(stream);
}

}  // namespace

PortAudioWaveOut::PortAudioWaveOut(Devices devices) {
  snd_lib_error_set_handler(quietAlsa);
  startPortAudio(devices);
}

void PortAudioWaveOut::startPortAudio(Devices devices) {
  const QuietStderr quiet;
  // Again after a stop: PortAudio's stop has ALSA read its files afresh.
  withdrawSignalAlteringAlsaDevices();
  started_ = devices;
  if (devices == Devices::DefaultOnly) {
    defaultByName_ = std::make_unique<PaAlsaStreamInfo>();
    PaAlsa_InitializeStreamInfo(defaultByName_.get());
    defaultByName_->deviceString = "default";
    const UnlistedAlsaDevices unlisted;
    const JackProbeSkipped noJack;
    initialised_ = Pa_Initialize() == paNoError;
    return;
  }
  initialised_ = Pa_Initialize() == paNoError;
  if (!initialised_) return;
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

PortAudioWaveOut::~PortAudioWaveOut() {
  // With the keeper gone, every stream belongs to this thread again, closing ones included.
  keeper_.reset();
  forEachStream([](Stream& stream) {
    auto& s = paStream(stream);
    if (s.started) Pa_AbortStream(s.pa);
    if (s.pa != nullptr) Pa_CloseStream(s.pa);
    s.started = false;
    s.pa = nullptr;
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
  if (deviceId == WAVE_MAPPER && started_ == Devices::DefaultOnly) {
    params.device = paUseHostApiSpecificDeviceSpecification;
    params.hostApiSpecificStreamInfo = defaultByName_.get();
  } else if (deviceId == WAVE_MAPPER) {
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

  auto state = std::make_unique<PortAudioStream>();
  PortAudioStream& s = *state;
  s.format = format;
  s.silence = format.wBitsPerSample == 8 ? 0x80 : 0;
  s.params = params;
  s.frameLimit = &frameLimit_;
  s.reportDone = [this, &s](WAVEHDR* header) { bufferDone(s, header); };
  // Opened here, so that a device that cannot play fails the open; sized for any ring until the
  // start, when the ring is known.
  const int err = openDevice(s);
  if (err != paNoError) {
    result = fail(err);
    return nullptr;
  }
  if (!keeper_) {
    PortAudioKeeper::Reports reports;
    reports.lost = [this](HWAVEOUT handle) {
      later([this, handle] {
        if (Stream* stream = findOpen(handle)) takeBack(paStream(*stream));
      });
    };
    reports.closed = [this](HWAVEOUT handle) { closed(handle); };
    keeper_ = std::make_unique<PortAudioKeeper>(paCalls_, std::move(reports));
  }
  return state;
}

int PortAudioWaveOut::openDevice(PortAudioStream& s) {
  const std::lock_guard calls(paCalls_);
  const DeviceBuffering anyRing = bufferingFor(s.format.nSamplesPerSec, UINT64_MAX, 0);
  // With a stream open PortAudio cannot start again; before the first, nothing is lost.
  const bool mayListEvery = s.params.device == paUseHostApiSpecificDeviceSpecification && !keeper_;
  if (!mayListEvery) return openPortAudioStream(s, anyRing);
  {
    // Not a failure yet: PortAudio's complaints about it stay off the terminal.
    const QuietStderr quiet;
    if (openPortAudioStream(s, anyRing) == paNoError) return paNoError;
    Pa_Terminate();
  }
  startPortAudio(Devices::Every);
  if (!initialised_) return paNotInitialized;
  s.params.hostApiSpecificStreamInfo = nullptr;
  s.params.device = Pa_GetDefaultOutputDevice();
  // No output at all: reported as no driver, as it is when every device is listed from the start.
  if (s.params.device == paNoDevice) return paHostApiNotFound;
  return openPortAudioStream(s, anyRing);
}

MMRESULT PortAudioWaveOut::prepareBuffer(Stream& stream, WAVEHDR* header) {
  auto& s = paStream(stream);
  const uint64_t frames = header->dwBufferLength / s.format.nBlockAlign;
  s.ringFrames += frames;
  s.longestBufferFrames = std::max(s.longestBufferFrames, frames);
  return MMSYSERR_NOERROR;
}

void PortAudioWaveOut::askToStart(PortAudioStream& s) {
  if (s.startAsked || s.halted || s.head.load() == s.tail.load()) return;
  s.startAsked = true;
  // A start hands the callback whatever is queued at once: it waits until the work under way
  // here is done, which hands the rest of the ring over.
  later([this, handle = s.handle] {
    Stream* stream = findOpen(handle);
    if (stream != nullptr && paStream(*stream).startAsked)
      keeper_->start(handle, paStream(*stream));
  });
}

MMRESULT PortAudioWaveOut::submit(Stream& stream, WAVEHDR* header) {
  auto& s = paStream(stream);
  if (s.lost.load()) {
    if (s.failure != paNoError) return fail(s.failure);
    lastDetail_.clear();
    return MMSYSERR_NODRIVER;
  }
  const uint32_t t = s.tail.load(std::memory_order_relaxed);
  if (t - s.head.load(std::memory_order_acquire) >= PortAudioStream::kSlots) return MMSYSERR_NOMEM;
  if (t == s.head.load(std::memory_order_acquire)) s.waitingSinceNs.store(steadyNowNs());
  s.queue[t % PortAudioStream::kSlots] = header;
  s.tail.store(t + 1, std::memory_order_release);
  askToStart(s);
  return MMSYSERR_NOERROR;
}

void PortAudioWaveOut::setHalted(Stream& stream, bool halted) {
  auto& s = paStream(stream);
  s.paused.store(halted, std::memory_order_relaxed);
  s.waitingSinceNs.store(steadyNowNs(), std::memory_order_relaxed);
  if (!halted) askToStart(s);
}

void PortAudioWaveOut::takeBack(PortAudioStream& s) {
  const std::lock_guard lock(s.queueLock);
  for (uint32_t h = s.head.load(); h != s.tail.load(); ++h) {
    s.head.store(h + 1);
    bufferDone(s, s.queue[h % PortAudioStream::kSlots]);
  }
  s.offset = 0;
  s.dataEndsAt = 0;  // nothing is left to sound
}

void PortAudioWaveOut::returnAll(Stream& stream) {
  auto& s = paStream(stream);
  takeBack(s);
  s.frames = 0;
  if (!s.startAsked) return;
  // What the device holds goes too; the next hand-over starts the stream again.
  s.startAsked = false;
  keeper_->stop(s.handle, s);
}

bool PortAudioWaveOut::closeStream(Stream& stream) {
  keeper_->close(stream.handle, paStream(stream));
  return false;
}

void PortAudioWaveOut::cutDrain(Stream& stream) {
  keeper_->cut(stream.handle);
}

double PortAudioWaveOut::outputLatency(HWAVEOUT handle) const {
  const Stream* s = findOpen(handle);
  return s != nullptr ? paStream(*s).outputLatency.load() : 0.0;
}

uint64_t PortAudioWaveOut::framesPlayed(const Stream& stream) const {
  return paStream(stream).frames.load(std::memory_order_relaxed);
}

bool PortAudioWaveOut::queued(const Stream& stream, const WAVEHDR* header) const {
  const auto& s = paStream(stream);
  const uint32_t tail = s.tail.load(std::memory_order_acquire);
  for (uint32_t h = s.head.load(std::memory_order_acquire); h != tail; ++h)
    if (s.queue[h % PortAudioStream::kSlots] == header) return true;
  return false;
}

}  // namespace quor::audio
