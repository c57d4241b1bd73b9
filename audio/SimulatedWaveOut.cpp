#include "SimulatedWaveOut.h"

#include <algorithm>

namespace quor::audio {

SimulatedWaveOut::SimulatedWaveOut(std::vector<std::string> devices)
    : devices_(std::move(devices)) {}

std::string SimulatedWaveOut::deviceName(uint32_t id) const {
  return id < devices_.size() ? devices_[id].substr(0, 31) : std::string();
}

MMRESULT SimulatedWaveOut::take(Refusal& refusal) {
  if (refusal.accepted < 0) return MMSYSERR_NOERROR;
  if (refusal.accepted-- > 0) return MMSYSERR_NOERROR;
  const MMRESULT code = refusal.code;
  refusal = Refusal{};
  return code;
}

std::unique_ptr<QueuedWaveOut::Stream> SimulatedWaveOut::openStream(uint32_t deviceId,
                                                                    const WAVEFORMATEX& format,
                                                                    MMRESULT& result) {
  if (openRefusal_ != MMSYSERR_NOERROR) {
    result = openRefusal_;
    openRefusal_ = MMSYSERR_NOERROR;
    return nullptr;
  }
  if (devices_.empty()) {
    result = MMSYSERR_NODRIVER;
    return nullptr;
  }
  if (deviceId != WAVE_MAPPER && deviceId >= devices_.size()) {
    result = MMSYSERR_BADDEVICEID;
    return nullptr;
  }
  lastDevice_ = deviceId;
  lastFormat_ = format;
  ++opens_;
  return std::make_unique<SimStream>();
}

MMRESULT SimulatedWaveOut::prepareBuffer(Stream&, WAVEHDR*) {
  return take(prepareRefusal_);
}

MMRESULT SimulatedWaveOut::submit(Stream& stream, WAVEHDR* header) {
  if (const MMRESULT r = take(writeRefusal_); r != MMSYSERR_NOERROR) return r;
  static_cast<SimStream&>(stream).queue.push_back(header);
  return MMSYSERR_NOERROR;
}

MMRESULT SimulatedWaveOut::close(HWAVEOUT handle) {
  const MMRESULT r = QueuedWaveOut::close(handle);
  if (r == WAVERR_STILLPLAYING) ++refusedCloses_;
  return r;
}

void SimulatedWaveOut::returnAll(Stream& stream) {
  auto& s = static_cast<SimStream&>(stream);
  while (!s.queue.empty()) {
    WAVEHDR* header = s.queue.front();
    s.queue.pop_front();
    ++buffersReset_;
    bufferDone(s, header);
  }
  s.offset = 0;
  s.frames = 0;
}

bool SimulatedWaveOut::closeStream(Stream& stream) {
  // After a reset nothing is left to play out.
  auto& s = static_cast<SimStream&>(stream);
  s.playingOut = s.frames > 0 ? playOut_ : 0;
  return s.playingOut == 0;
}

void SimulatedWaveOut::cutDrain(Stream& stream) {
  auto& s = static_cast<SimStream&>(stream);
  if (s.playingOut == 0) return;
  s.playingOut = 0;
  closed(s.handle);
}

void SimulatedWaveOut::advance(uint32_t frames) {
  forEachStream([&](Stream& stream) {
    auto& s = static_cast<SimStream&>(stream);
    if (s.open || s.playingOut == 0) return;
    s.playingOut -= std::min(frames, s.playingOut);
    if (s.playingOut == 0) closed(s.handle);
  });
  forEachOpenStream([&](Stream& stream) {
    auto& s = static_cast<SimStream&>(stream);
    uint32_t left = frames;
    while (!s.halted && left > 0 && !s.queue.empty()) {
      WAVEHDR* header = s.queue.front();
      const uint32_t align = s.format.nBlockAlign;
      const uint32_t framesLeft = (header->dwBufferLength - s.offset + align - 1) / align;
      const uint32_t now = std::min(left, framesLeft);
      const uint32_t bytes = std::min(now * align, header->dwBufferLength - s.offset);
      played_.insert(played_.end(), header->lpData + s.offset, header->lpData + s.offset + bytes);
      s.offset += bytes;
      s.frames += now;
      left -= now;
      if (s.offset >= header->dwBufferLength) {
        s.queue.pop_front();
        s.offset = 0;
        ++buffersPlayed_;
        bufferDone(s, header);
      }
    }
  });
}

void SimulatedWaveOut::skipAhead(uint64_t frames) {
  forEachOpenStream([&](Stream& stream) { static_cast<SimStream&>(stream).frames += frames; });
}

uint64_t SimulatedWaveOut::framesPlayed(const Stream& stream) const {
  return static_cast<const SimStream&>(stream).frames;
}

bool SimulatedWaveOut::queued(const Stream& stream, const WAVEHDR* header) const {
  const auto& q = static_cast<const SimStream&>(stream).queue;
  return std::find(q.begin(), q.end(), header) != q.end();
}

}  // namespace quor::audio
