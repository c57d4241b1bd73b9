#pragma once
#include <cstdint>
#include <deque>
#include <string>

#include "QueuedWaveOut.h"

typedef struct sf_private_tag SNDFILE;

namespace quor::audio {

struct SndfileLibrary;

// "Plays" into a mono or stereo RIFF WAV file as fast as buffers come: each handed-over buffer
// is written at once and reported back. The file grows under a temporary name and replaces the
// target only through commit, so a failed or cut-off render never spoils an existing file.
// One device is open at a time.
class FileWaveOut : public QueuedWaveOut {
 public:
  explicit FileWaveOut(std::string path);
  ~FileWaveOut() override;

  // Frames of the file past `frames` are dropped (0: no limit); the position stops there.
  void setFrameLimit(uint64_t frames) { limit_ = frames; }
  // Moves the file of the last closed device into place. False with `error` set otherwise, as
  // when a write failed.
  bool commit(std::string& error);

  // Several devices one after the other into one file, as a script's tones: from beginFile to
  // commit, each open appends to the file that beginFile started, in its format, and silence
  // can be added while no device is open. False with `error` set when the file cannot start.
  bool beginFile(const WAVEFORMATEX& format, std::string& error);
  // Adds `frames` of the silent value (0, or 128 at 8 bits), up to the frame limit.
  bool appendSilence(uint64_t frames, std::string& error);
  uint64_t framesInFile() const { return fileFrames_; }
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
  bool closeStream(Stream& stream) override;
  uint64_t framesPlayed(const Stream& stream) const override;
  bool queued(const Stream& stream, const WAVEHDR* header) const override;

 private:
  struct FileState;
  MMRESULT writeOut(FileState& state, const WAVEHDR& header);
  bool openFile(const WAVEFORMATEX& format, MMRESULT& result);
  void closeFile();
  // A write that fell short leaves the file incomplete, whatever its close says later.
  void writeFailed(int error);
  // The message for a failed call on the file, from the C library's error number.
  void recordFileError(int error);

  std::string path_;
  std::string partial_;
  const SndfileLibrary* sndfile_ = nullptr;  // loaded by the first open of a file
  SNDFILE* file_ = nullptr;
  WAVEFORMATEX fileFormat_;
  uint64_t fileFrames_ = 0;
  uint64_t limit_ = 0;
  bool streamOpen_ = false;
  bool oneFile_ = false;     // between beginFile and commit
  bool finished_ = false;    // a complete file lies under partial_
  bool incomplete_ = false;  // a write failed: the file lacks what was handed over
  std::string lastDetail_;
};

}  // namespace quor::audio
