#include "FileWaveOut.h"

#include <sndfile.h>

#include <algorithm>
#include <cstdio>

namespace quor::audio {

struct FileWaveOut::FileState : Stream {
  SNDFILE* file = nullptr;
  std::deque<WAVEHDR*> held;  // handed over while paused
  uint64_t frames = 0;
};

FileWaveOut::FileWaveOut(std::string path) : path_(std::move(path)), partial_(path_ + ".partial") {}

FileWaveOut::~FileWaveOut() {
  forEachOpenStream([](Stream& stream) {
    auto& s = static_cast<FileState&>(stream);
    if (s.file != nullptr) sf_close(s.file);
    s.file = nullptr;
  });
  std::remove(partial_.c_str());
}

std::string FileWaveOut::errorText(MMRESULT code) const {
  std::string text = QueuedWaveOut::errorText(code);
  if (code == MMSYSERR_ERROR && !lastDetail_.empty()) text += " " + lastDetail_;
  return text;
}

std::unique_ptr<QueuedWaveOut::Stream> FileWaveOut::openStream(uint32_t deviceId,
                                                               const WAVEFORMATEX& format,
                                                               MMRESULT& result) {
  if (deviceId != WAVE_MAPPER && deviceId != 0) {
    result = MMSYSERR_BADDEVICEID;
    return nullptr;
  }
  SF_INFO info{};
  info.samplerate = static_cast<int>(format.nSamplesPerSec);
  info.channels = format.nChannels;
  switch (format.wBitsPerSample) {
    case 8:
      info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_U8;
      break;
    case 16:
      info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
      break;
    case 24:
      info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
      break;
    default:
      result = WAVERR_BADFORMAT;
      return nullptr;
  }
  if (format.nBlockAlign != format.wBitsPerSample / 8 * format.nChannels ||
      !sf_format_check(&info)) {
    result = WAVERR_BADFORMAT;
    return nullptr;
  }
  auto state = std::make_unique<FileState>();
  state->file = sf_open(partial_.c_str(), SFM_WRITE, &info);
  if (state->file == nullptr) {
    lastDetail_ = partial_ + ": " + sf_strerror(nullptr);
    result = MMSYSERR_ERROR;
    return nullptr;
  }
  finished_ = false;
  return state;
}

MMRESULT FileWaveOut::writeOut(FileState& s, const WAVEHDR& header) {
  const uint32_t align = s.format.nBlockAlign;
  const uint64_t frames = framesWithinLimit(s.frames, limit_, header.dwBufferLength / align);
  const auto bytes = static_cast<sf_count_t>(frames * align);
  if (bytes > 0 && sf_write_raw(s.file, header.lpData, bytes) != bytes) {
    lastDetail_ = partial_ + ": " + sf_strerror(s.file);
    return MMSYSERR_ERROR;
  }
  s.frames += frames;
  return MMSYSERR_NOERROR;
}

MMRESULT FileWaveOut::submit(Stream& stream, WAVEHDR* header) {
  auto& s = static_cast<FileState&>(stream);
  if (s.halted) {
    s.held.push_back(header);
    return MMSYSERR_NOERROR;
  }
  if (const MMRESULT r = writeOut(s, *header); r != MMSYSERR_NOERROR) return r;
  bufferDone(s, header);
  return MMSYSERR_NOERROR;
}

void FileWaveOut::setHalted(Stream& stream, bool halted) {
  auto& s = static_cast<FileState&>(stream);
  while (!halted && !s.held.empty()) {
    WAVEHDR* header = s.held.front();
    s.held.pop_front();
    writeOut(s, *header);
    bufferDone(s, header);
  }
}

void FileWaveOut::returnAll(Stream& stream) {
  auto& s = static_cast<FileState&>(stream);
  while (!s.held.empty()) {
    WAVEHDR* header = s.held.front();
    s.held.pop_front();
    bufferDone(s, header);
  }
}

bool FileWaveOut::closeStream(Stream& stream) {
  auto& s = static_cast<FileState&>(stream);
  const bool complete = sf_close(s.file) == 0;
  s.file = nullptr;
  finished_ = complete;
  if (!complete) lastDetail_ = partial_ + ": the file could not be completed";
  return true;
}

uint64_t FileWaveOut::framesPlayed(const Stream& stream) const {
  return static_cast<const FileState&>(stream).frames;
}

bool FileWaveOut::queued(const Stream& stream, const WAVEHDR* header) const {
  const auto& held = static_cast<const FileState&>(stream).held;
  return std::find(held.begin(), held.end(), header) != held.end();
}

bool FileWaveOut::commit(std::string& error) {
  if (!finished_) {
    error = lastDetail_.empty() ? "nothing was rendered" : lastDetail_;
    return false;
  }
  if (std::rename(partial_.c_str(), path_.c_str()) != 0) {
    error = path_ + ": the file could not be written";
    return false;
  }
  finished_ = false;
  return true;
}

}  // namespace quor::audio
