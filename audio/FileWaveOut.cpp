#include "FileWaveOut.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <vector>

#include "FileErrorText.h"
#include "SndfileLibrary.h"

namespace quor::audio {

struct FileWaveOut::FileState : Stream {
  std::deque<WAVEHDR*> held;  // handed over while paused
  uint64_t frames = 0;        // since the open
};

FileWaveOut::FileWaveOut(std::string path) : path_(std::move(path)), partial_(path_ + ".partial") {}

FileWaveOut::~FileWaveOut() {
  if (file_ != nullptr) sndfile_->close(file_);
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
  if (streamOpen_) {
    result = MMSYSERR_ALLOCATED;
    return nullptr;
  }
  if (oneFile_) {
    const WAVEFORMATEX& f = fileFormat_;
    if (format.nSamplesPerSec != f.nSamplesPerSec || format.nChannels != f.nChannels ||
        format.wBitsPerSample != f.wBitsPerSample) {
      result = WAVERR_BADFORMAT;
      return nullptr;
    }
  } else if (!openFile(format, result)) {
    return nullptr;
  }
  streamOpen_ = true;
  return std::make_unique<FileState>();
}

bool FileWaveOut::openFile(const WAVEFORMATEX& format, MMRESULT& result) {
  sndfile_ = sndfileLibrary(lastDetail_);
  if (sndfile_ == nullptr) {
    result = MMSYSERR_ERROR;
    return false;
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
      return false;
  }
  if (format.nBlockAlign != format.wBitsPerSample / 8 * format.nChannels ||
      !sndfile_->formatCheck(&info)) {
    result = WAVERR_BADFORMAT;
    return false;
  }
  errno = 0;
  file_ = sndfile_->open(partial_.c_str(), SFM_WRITE, &info);
  if (file_ == nullptr) {
    recordFileError(errno);
    result = MMSYSERR_ERROR;
    return false;
  }
  fileFormat_ = format;
  fileFrames_ = 0;
  finished_ = false;
  incomplete_ = false;
  return true;
}

void FileWaveOut::closeFile() {
  errno = 0;
  const bool complete = sndfile_->close(file_) == 0;
  const int error = errno;
  file_ = nullptr;
  finished_ = complete;
  if (!complete) recordFileError(error);
}

void FileWaveOut::writeFailed(int error) {
  recordFileError(error);
  incomplete_ = true;
}

MMRESULT FileWaveOut::writeOut(FileState& s, const WAVEHDR& header) {
  const uint32_t align = s.format.nBlockAlign;
  const uint64_t frames = framesWithinLimit(fileFrames_, limit_, header.dwBufferLength / align);
  const auto bytes = static_cast<sf_count_t>(frames * align);
  errno = 0;
  if (bytes > 0 && sndfile_->writeRaw(file_, header.lpData, bytes) != bytes) {
    writeFailed(errno);
    return MMSYSERR_ERROR;
  }
  s.frames += frames;
  fileFrames_ += frames;
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

bool FileWaveOut::closeStream(Stream&) {
  streamOpen_ = false;
  if (!oneFile_) closeFile();
  return true;
}

uint64_t FileWaveOut::framesPlayed(const Stream& stream) const {
  return static_cast<const FileState&>(stream).frames;
}

bool FileWaveOut::queued(const Stream& stream, const WAVEHDR* header) const {
  const auto& held = static_cast<const FileState&>(stream).held;
  return std::find(held.begin(), held.end(), header) != held.end();
}

bool FileWaveOut::beginFile(const WAVEFORMATEX& format, std::string& error) {
  if (streamOpen_ || oneFile_) {
    error = partial_ + ": the file is being written already";
    return false;
  }
  MMRESULT result = MMSYSERR_NOERROR;
  if (!openFile(format, result)) {
    error = errorText(result);
    return false;
  }
  oneFile_ = true;
  return true;
}

bool FileWaveOut::appendSilence(uint64_t frames, std::string& error) {
  if (!oneFile_ || streamOpen_) {
    error = partial_ + ": silence comes between the devices of one file";
    return false;
  }
  constexpr uint64_t kChunkFrames = 4096;
  const uint32_t align = fileFormat_.nBlockAlign;
  const std::vector<uint8_t> chunk(kChunkFrames * align, fileFormat_.wBitsPerSample == 8 ? 128 : 0);
  for (uint64_t left = framesWithinLimit(fileFrames_, limit_, frames); left > 0;) {
    const uint64_t count = std::min(left, kChunkFrames);
    const auto bytes = static_cast<sf_count_t>(count * align);
    errno = 0;
    if (sndfile_->writeRaw(file_, chunk.data(), bytes) != bytes) {
      writeFailed(errno);
      error = lastDetail_;
      return false;
    }
    left -= count;
    fileFrames_ += count;
  }
  return true;
}

bool FileWaveOut::commit(std::string& error) {
  if (oneFile_ && !streamOpen_) {
    oneFile_ = false;
    closeFile();
  }
  if (!finished_ || incomplete_) {
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
