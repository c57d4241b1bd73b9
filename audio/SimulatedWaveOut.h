#pragma once
#include <deque>
#include <string>
#include <vector>

#include "QueuedWaveOut.h"

namespace quor::audio {

// A deterministic device for tests: nothing plays until the test advances virtual time.
// Refusals of open, prepare and write can be scripted, and every byte played is recorded.
class SimulatedWaveOut : public QueuedWaveOut {
 public:
  explicit SimulatedWaveOut(std::vector<std::string> devices = {"Simulated Output"});

  void setDevices(std::vector<std::string> devices) { devices_ = std::move(devices); }
  // The next open fails with `code`.
  void refuseNextOpen(MMRESULT code) { openRefusal_ = code; }
  // The prepare (or write) call that comes after `accepted` more successful ones fails with
  // `code`, once.
  void refusePrepare(int accepted, MMRESULT code) { prepareRefusal_ = {accepted, code}; }
  void refuseWrite(int accepted, MMRESULT code) { writeRefusal_ = {accepted, code}; }

  // A device that is closed goes on playing this many frames of what it took before its Close
  // follows, as a real one plays out its own buffer (0, the start value: it closes at once).
  void setPlayOut(uint32_t frames) { playOut_ = frames; }
  // Plays `frames` frames on every open device that is not halted, and of every play-out.
  void advance(uint32_t frames);
  // Moves the position of every open device on by `frames` without playing anything: hours of
  // a tone in a moment.
  void skipAhead(uint64_t frames);

  const std::vector<uint8_t>& played() const { return played_; }
  // Hands what has played since the last call over to `into` and forgets it, so that a long
  // run keeps no more than one stretch in memory.
  void takePlayed(std::vector<uint8_t>& into) {
    into.swap(played_);
    played_.clear();
  }
  int buffersPlayed() const { return buffersPlayed_; }
  int buffersReturnedByReset() const { return buffersReset_; }
  uint32_t lastOpenedDevice() const { return lastDevice_; }
  const WAVEFORMATEX& lastFormat() const { return lastFormat_; }
  int openCount() const { return opens_; }
  int refusedCloses() const { return refusedCloses_; }

  uint32_t deviceCount() const override { return static_cast<uint32_t>(devices_.size()); }
  std::string deviceName(uint32_t id) const override;
  MMRESULT close(HWAVEOUT handle) override;

 protected:
  std::unique_ptr<Stream> openStream(uint32_t deviceId, const WAVEFORMATEX& format,
                                     MMRESULT& result) override;
  MMRESULT prepareBuffer(Stream& stream, WAVEHDR* header) override;
  MMRESULT submit(Stream& stream, WAVEHDR* header) override;
  void setHalted(Stream&, bool) override {}
  void returnAll(Stream& stream) override;
  bool closeStream(Stream& stream) override;
  void cutDrain(Stream& stream) override;
  uint64_t framesPlayed(const Stream& stream) const override;
  bool queued(const Stream& stream, const WAVEHDR* header) const override;

 private:
  struct Refusal {
    int accepted = -1;  // -1: none scripted
    MMRESULT code = MMSYSERR_NOERROR;
  };
  struct SimStream : Stream {
    std::deque<WAVEHDR*> queue;
    uint32_t offset = 0;  // bytes of the front buffer already played
    uint64_t frames = 0;
    uint32_t playingOut = 0;  // frames still to play after the close
  };
  static MMRESULT take(Refusal& refusal);

  std::vector<std::string> devices_;
  MMRESULT openRefusal_ = MMSYSERR_NOERROR;
  Refusal prepareRefusal_, writeRefusal_;
  std::vector<uint8_t> played_;
  int buffersPlayed_ = 0;
  int buffersReset_ = 0;
  uint32_t lastDevice_ = 0;
  WAVEFORMATEX lastFormat_;
  int opens_ = 0;
  int refusedCloses_ = 0;
  uint32_t playOut_ = 0;
};

}  // namespace quor::audio
