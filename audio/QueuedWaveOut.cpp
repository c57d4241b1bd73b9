#include "QueuedWaveOut.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdio>

namespace quor::audio {

QueuedWaveOut::QueuedWaveOut() : loop_(threadEventLoop()) {
  wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wakeFd_ >= 0)
    wakeWatch_ = loop_.watchReadable(wakeFd_, [this] { onWake(); });
  else
    std::perror("quor: eventfd");
}

QueuedWaveOut::~QueuedWaveOut() {
  wakeWatch_.reset();
  if (wakeFd_ >= 0) ::close(wakeFd_);
}

void QueuedWaveOut::later(std::function<void()> task) {
  loop_.post([alive = std::weak_ptr<bool>(alive_), task = std::move(task)] {
    if (alive.lock()) task();
  });
}

QueuedWaveOut::Stream* QueuedWaveOut::findOpen(HWAVEOUT handle) const {
  const auto it = streams_.find(handle);
  return it != streams_.end() && it->second->open ? it->second.get() : nullptr;
}

void QueuedWaveOut::raise(HWAVEOUT handle, WaveMessage message, WAVEHDR* header) {
  // The ring holds far more than the few notifications a ring of buffers can have in flight; a
  // full ring would mean a lost notification, so wait for the consumer rather than drop one.
  while (!ring_.push(Notification{handle, message, header})) usleep(100);
  raised_.fetch_add(1, std::memory_order_release);
  wake();
}

void QueuedWaveOut::wake() {
  const uint64_t one = 1;
  if (wakeFd_ >= 0) {
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
  }
}

void QueuedWaveOut::bufferDone(Stream& stream, WAVEHDR* header) {
  stream.outstanding.fetch_sub(1, std::memory_order_acq_rel);
  raise(stream.handle, WaveMessage::Done, header);
}

void QueuedWaveOut::onWake() {
  uint64_t count = 0;
  [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &count, sizeof count);
  deliverPending();
}

void QueuedWaveOut::deliverPending() {
  Notification n{};
  // A handler may call back into the device or deliver again itself: each notification is
  // popped before it is sent, so each is delivered once and in order. Only what was raised
  // before this call is delivered here; what the handlers raise waits for the next pass of the
  // event loop, so a device that answers at once cannot keep the loop from everything else.
  const uint64_t until = raised_.load(std::memory_order_acquire);
  while (delivered_ < until && ring_.pop(n)) {
    ++delivered_;
    const auto it = streams_.find(n.handle);
    if (it == streams_.end()) continue;
    // Held for the call: the callback may let its owner drop it while it handles this.
    if (const std::shared_ptr<WaveCallback> callback = it->second->callback.lock()) {
      // The header belongs to the callback's owner: once the callback is gone, so may it be.
      if (n.message == WaveMessage::Done)
        n.header->dwFlags = (n.header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
      callback->waveMessage(n.message, n.handle, n.header);
    }
    if (n.message == WaveMessage::Close) streams_.erase(n.handle);
  }
  if (delivered_ < raised_.load(std::memory_order_acquire)) wake();
}

int QueuedWaveOut::outstanding(HWAVEOUT handle) const {
  const auto it = streams_.find(handle);
  return it == streams_.end() ? 0 : it->second->outstanding.load(std::memory_order_acquire);
}

MMRESULT QueuedWaveOut::open(HWAVEOUT* handle, uint32_t deviceId, const WAVEFORMATEX& format,
                             std::weak_ptr<WaveCallback> callback, uintptr_t, uint32_t) {
  if (handle == nullptr) return MMSYSERR_INVALPARAM;
  if (format.wFormatTag != 1 || format.nChannels < 1 || format.nChannels > 2 ||
      format.nSamplesPerSec == 0 || format.nBlockAlign == 0)
    return WAVERR_BADFORMAT;
  MMRESULT result = MMSYSERR_NOERROR;
  std::unique_ptr<Stream> stream = openStream(deviceId, format, result);
  if (!stream) return result != MMSYSERR_NOERROR ? result : MMSYSERR_ERROR;
  stream->handle = nextHandle_++;
  stream->format = format;
  stream->callback = std::move(callback);
  *handle = stream->handle;
  streams_[stream->handle] = std::move(stream);
  raise(*handle, WaveMessage::Open, nullptr);
  return MMSYSERR_NOERROR;
}

MMRESULT QueuedWaveOut::prepareHeader(HWAVEOUT handle, WAVEHDR* header, uint32_t size) {
  Stream* stream = findOpen(handle);
  if (stream == nullptr) return MMSYSERR_INVALHANDLE;
  if (header == nullptr || size < sizeof(WAVEHDR) || header->lpData == nullptr)
    return MMSYSERR_INVALPARAM;
  if (const MMRESULT r = prepareBuffer(*stream, header); r != MMSYSERR_NOERROR) return r;
  header->dwFlags |= WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT QueuedWaveOut::write(HWAVEOUT handle, WAVEHDR* header, uint32_t size) {
  Stream* stream = findOpen(handle);
  if (stream == nullptr) return MMSYSERR_INVALHANDLE;
  if (header == nullptr || size < sizeof(WAVEHDR) || header->lpData == nullptr)
    return MMSYSERR_INVALPARAM;
  if ((header->dwFlags & WHDR_PREPARED) == 0) return WAVERR_UNPREPARED;
  if (queued(*stream, header)) return WAVERR_STILLPLAYING;
  header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
  stream->outstanding.fetch_add(1, std::memory_order_acq_rel);
  const MMRESULT r = submit(*stream, header);
  if (r != MMSYSERR_NOERROR) {
    stream->outstanding.fetch_sub(1, std::memory_order_acq_rel);
    header->dwFlags &= ~WHDR_INQUEUE;
  }
  return r;
}

MMRESULT QueuedWaveOut::pause(HWAVEOUT handle) {
  return halt(handle, true);
}

MMRESULT QueuedWaveOut::restart(HWAVEOUT handle) {
  return halt(handle, false);
}

MMRESULT QueuedWaveOut::halt(HWAVEOUT handle, bool halted) {
  Stream* stream = findOpen(handle);
  if (stream == nullptr) return MMSYSERR_INVALHANDLE;
  stream->halted = halted;
  setHalted(*stream, halted);
  return MMSYSERR_NOERROR;
}

MMRESULT QueuedWaveOut::reset(HWAVEOUT handle) {
  Stream* stream = findOpen(handle);
  if (stream == nullptr) return MMSYSERR_INVALHANDLE;
  returnAll(*stream);
  return MMSYSERR_NOERROR;
}

MMRESULT QueuedWaveOut::unprepareHeader(HWAVEOUT handle, WAVEHDR* header, uint32_t size) {
  Stream* stream = findOpen(handle);
  if (stream == nullptr) return MMSYSERR_INVALHANDLE;
  if (header == nullptr || size < sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
  if (queued(*stream, header)) return WAVERR_STILLPLAYING;
  header->dwFlags &= ~WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT QueuedWaveOut::close(HWAVEOUT handle) {
  Stream* stream = findOpen(handle);
  if (stream == nullptr) return MMSYSERR_INVALHANDLE;
  if (stream->outstanding.load(std::memory_order_acquire) > 0) return WAVERR_STILLPLAYING;
  stream->open = false;
  if (closeStream(*stream)) closed(handle);
  return MMSYSERR_NOERROR;
}

void QueuedWaveOut::closed(HWAVEOUT handle) {
  raise(handle, WaveMessage::Close, nullptr);
}

void QueuedWaveOut::cutClose(HWAVEOUT handle) {
  const auto it = streams_.find(handle);
  if (it != streams_.end() && !it->second->open) cutDrain(*it->second);
}

MMRESULT QueuedWaveOut::position(HWAVEOUT handle, uint64_t& frames) {
  Stream* stream = findOpen(handle);
  if (stream == nullptr) return MMSYSERR_INVALHANDLE;
  frames = framesPlayed(*stream);
  return MMSYSERR_NOERROR;
}

std::string standardErrorText(MMRESULT code) {
  switch (code) {
    case MMSYSERR_NOERROR:
      return "The command completed successfully.";
    case MMSYSERR_ERROR:
      return "An unspecified error occurred.";
    case MMSYSERR_BADDEVICEID:
      return "The device identifier is out of range.";
    case MMSYSERR_ALLOCATED:
      return "The device is already in use by another program.";
    case MMSYSERR_INVALHANDLE:
      return "The device handle is not valid.";
    case MMSYSERR_NODRIVER:
      return "The sound device is not available: it is missing or has gone away.";
    case MMSYSERR_NOMEM:
      return "There is not enough memory for the sound device.";
    case MMSYSERR_INVALPARAM:
      return "An invalid parameter was passed to the sound device.";
    case WAVERR_BADFORMAT:
      return "The sound device does not support this sample format.";
    case WAVERR_STILLPLAYING:
      return "A buffer is still playing.";
    case WAVERR_UNPREPARED:
      return "The buffer has not been prepared.";
    default:
      return "Unknown sound device error " + std::to_string(code) + ".";
  }
}

}  // namespace quor::audio
