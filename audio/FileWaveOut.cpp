#include "FileWaveOut.h"

#include <sndfile.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "FileErrorText.h"

namespace quor::audio {

struct FileWaveOut::FileState : Stream {
  SNDFILE* file = nullptr;
  std::deque<WAVEHDR*> held;  // handed over while paused
  uint64_t frames = 0;
  bool writeFailed = false;
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
  // The file's own message says what went wrong; the device layer's general words would not.
  if (code == MMSYSERR_ERROR && !lastDetail_.empty()) return lastDetail_;
  return QueuedWaveOut::errorText(code);
}

void FileWaveOut::recordFileError(int error) {
  // A call that failed without saying why is still a failure of the file system.
  const std::string text = fileErrorText(error != 0 ? error : EIO, path_);
  // The user named the file; the temporary name beside it is ours.
  lastDetail_ = text.find(path_) == std::string::npos ? path_ + ": " + text : text;
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
  errno = 0;
  state->file = sf_open(partial_.c_str(), SFM_WRITE, &info);
  if (state->file == nullptr) {
    recordFileError(errno);
    result = MMSYSERR_ERROR;
    return nullptr;
  }
  finished_ = false;
  return state;
}

MMRESULT FileWaveOut::writeOut(FileState& s, const WAVEHDR& header) {
  const uint32_t align = s.format.nBlockAlign;
  uint64_t frames = header.dwBufferLength / align;
  if (limit_ != 0) frames = std::min(frames, limit_ > s.frames ? limit_ - s.frames : 0);
  const auto bytes = static_cast<sf_count_t>(frames * align);
  errno = 0;
  if (bytes > 0 && sf_write_raw(s.file, header.lpData, bytes) != bytes) {
    recordFileError(errno);
    s.writeFailed = true;
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

void FileWaveOut::closeStream(Stream& stream) {
  auto& s = static_cast<FileState&>(stream);
  errno = 0;
  const bool complete = sf_close(s.file) == 0;
  const int error = errno;
  s.file = nullptr;
  // A file whose data could not all be written is not complete, whatever its close says.
  finished_ = complete && !s.writeFailed;
  if (!complete) recordFileError(error);
}

uint32_t FileWaveOut::framesPlayed(const Stream& stream) const {
  return static_cast<uint32_t>(static_cast<const FileState&>(stream).frames);
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
    recordFileError(errno);
    error = lastDetail_;
    return false;
  }
  finished_ = false;
  return true;
}

}  // namespace quor::audio
