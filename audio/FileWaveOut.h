#pragma once
#include <cstdint>
#include <deque>
#include <string>

#include "QueuedWaveOut.h"

typedef struct sf_private_tag SNDFILE;

namespace quor::audio {

// "Plays" into a mono or stereo RIFF WAV file as fast as buffers come: each handed-over buffer
// is written at once and reported back. The file grows under a temporary name and replaces the
// target only through commit, so a failed or cut-off render never spoils an existing file.
class FileWaveOut : public QueuedWaveOut {
  Q_OBJECT
 public:
  explicit FileWaveOut(std::string path);
  ~FileWaveOut() override;

  // Frames past `frames` are dropped (0: no limit); the position stops there.
  void setFrameLimit(uint64_t frames) { limit_ = frames; }
  // Moves the file of the last closed device into place. False with `error` set otherwise.
  bool commit(std::string& error);
  const std::string& path() const { return path_; }

  uint32_t deviceCount() const override { return 1; }
  std::string deviceName(uint32_t id) const override { return id == 0 ? "WAV file" : ""; }
  std::string errorText(MMRESULT code) const override;

 protected:
  std::unique_ptr<Stream> openStream(uint32_t deviceId, const WAVEFORMATEX& format,
                                     MMRESULT& result) override;
  MMRESULT submit(Stream& stream, WAVEHDR* header) override;
  void setHalted(Stream& stream, bool halted) override;
  void returnAll(Stream& stream) override;
  void closeStream(Stream& stream) override;
  uint32_t framesPlayed(const Stream& stream) const override;
  bool queued(const Stream& stream, const WAVEHDR* header) const override;

 private:
  struct FileState;
  MMRESULT writeOut(FileState& state, const WAVEHDR& header);
  // The message for a failed call on the file, from the C library's error number.
  void recordFileError(int error);

  std::string path_;
  std::string partial_;
  uint64_t limit_ = 0;
  bool finished_ = false;  // a closed device has left a complete file under partial_
  std::string lastDetail_;
};

}  // namespace quor::audio
