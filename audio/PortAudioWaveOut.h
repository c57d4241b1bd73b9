#pragma once
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "QueuedWaveOut.h"

struct PaAlsaStreamInfo;

namespace quor::audio {

class PortAudioKeeper;
struct PortAudioStream;

// The real sound device, through PortAudio. Its callback thread only copies handed-over
// buffers out (silence when none is queued or while paused) and reports each finished buffer
// through the lock-free notification queue; it never calls into the component and never
// allocates. The calls that wait for the sound server (a start, a stop, a close after the
// sound has played out) are made by a keeper thread, which also notices a device that has gone
// away and has every buffer given back, so that the output can end; only the open, which has to
// answer whether the device plays, waits here. A stream starts once the ring's first buffers
// are there, so the tone does not queue behind silence.
class PortAudioWaveOut : public QueuedWaveOut {
 public:
  // What the start of PortAudio looks at. Every device: the device list, and any device by its
  // number. Default only: no device is probed and no JACK server looked for, which saves most
  // of a start (each probe is a connection to a sound server); the list is empty, and the
  // system's default output opens by its ALSA name. When that name cannot be opened at the
  // first open, PortAudio starts again with every device and opens its default, as with every
  // device from the start.
  enum class Devices { Every, DefaultOnly };

  explicit PortAudioWaveOut(Devices devices = Devices::Every);
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
  bool closeStream(Stream& stream) override;
  void cutDrain(Stream& stream) override;
  uint64_t framesPlayed(const Stream& stream) const override;
  bool queued(const Stream& stream, const WAVEHDR* header) const override;

 private:
  // Starts PortAudio (once more after a stop): with the device list, or without any device.
  void startPortAudio(Devices devices);
  // Opens `s` on its device, sized for any ring; a PortAudio error code. An open of the
  // default by name that fails before any other has succeeded starts PortAudio again with
  // every device and opens its default instead.
  int openDevice(PortAudioStream& s);
  MMRESULT fail(int paError);
  // Starts `stream` once the work under way on this thread (the rest of the ring handed over)
  // is done.
  void askToStart(PortAudioStream& stream);
  // Takes every queued buffer back, each with its notification.
  void takeBack(PortAudioStream& stream);

  bool initialised_ = false;
  Devices started_ = Devices::Every;
  std::unique_ptr<PaAlsaStreamInfo> defaultByName_;  // DefaultOnly: ALSA's "default"
  std::vector<int> devices_;  // PortAudio indexes of the output devices, in PortAudio's order
  std::vector<std::string> names_;
  std::string lastDetail_;
  std::atomic<uint64_t> frameLimit_{0};
  std::mutex paCalls_;
  std::unique_ptr<PortAudioKeeper> keeper_;  // from the first open
};

}  // namespace quor::audio
