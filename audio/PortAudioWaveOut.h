#pragma once
#include <QTimer>
#include <string>
#include <vector>

#include "QueuedWaveOut.h"

struct PaStreamCallbackTimeInfo;

namespace quor::audio {

struct DeviceBuffering;

// The real sound device, through PortAudio. Its callback thread only copies handed-over
// buffers out (silence when none is queued or while paused) and reports each finished buffer
// through the lock-free notification queue; it never calls into the component and never
// allocates. A watchdog on the owning thread notices a device that has gone away (its stream
// stopped or its callbacks ceased) and gives every buffer back, so the output can end.
class PortAudioWaveOut : public QueuedWaveOut {
  Q_OBJECT
 public:
  PortAudioWaveOut();
  ~PortAudioWaveOut() override;

  uint32_t deviceCount() const override { return static_cast<uint32_t>(devices_.size()); }
  std::string deviceName(uint32_t id) const override;
  std::string errorText(MMRESULT code) const override;
  // False when PortAudio itself could not start; every open then fails.
  bool initialised() const { return initialised_; }
  // Frames past `frames` since the open are not played: the device holds its buffers and
  // plays silence (0: no limit).
  void setFrameLimit(uint64_t frames) { frameLimit_.store(frames); }
  // Seconds from the copy of a frame to its sound, for the open device `handle` (0 if unknown).
  double outputLatency(HWAVEOUT handle) const;

 protected:
  std::unique_ptr<Stream> openStream(uint32_t deviceId, const WAVEFORMATEX& format,
                                     MMRESULT& result) override;
  MMRESULT prepareBuffer(Stream& stream, WAVEHDR* header) override;
  MMRESULT submit(Stream& stream, WAVEHDR* header) override;
  void setHalted(Stream& stream, bool halted) override;
  void returnAll(Stream& stream) override;
  void closeStream(Stream& stream) override;
  uint64_t framesPlayed(const Stream& stream) const override;
  bool queued(const Stream& stream, const WAVEHDR* header) const override;

 private:
  struct PaState;
  static int callback(const void* input, void* output, unsigned long frames,
                      const PaStreamCallbackTimeInfo* time, unsigned long flags, void* user);
  MMRESULT fail(int paError);
  int openPortAudio(PaState& state, const DeviceBuffering& buffering);
  int startPortAudio(PaState& state);
  void sizeForRing(PaState& state);
  void watch();
  void takeBack(PaState& state);

  bool initialised_ = false;
  std::vector<int> devices_;  // PortAudio indexes of the output devices, in PortAudio's order
  std::vector<std::string> names_;
  std::string lastDetail_;
  std::atomic<uint64_t> frameLimit_{0};
  QTimer watchdog_;
};

}  // namespace quor::audio
