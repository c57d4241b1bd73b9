#pragma once
#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <memory>

#include "EventLoop.h"
#include "NotificationRing.h"
#include "WaveOut.h"

namespace quor::audio {

// Of `frames` more, how many a device may still play once `played` have played under a limit of
// `limit` frames (0: no limit).
constexpr uint64_t framesWithinLimit(uint64_t played, uint64_t limit, uint64_t frames) {
  if (limit == 0) return frames;
  return played >= limit ? 0 : std::min(frames, limit - played);
}

// The rules that every wave-out implementation shares: handles, header checks, the refusal to
// close while buffers are out, and the notification queue. A device thread reports a buffer
// back through bufferDone, which neither locks nor allocates; an eventfd wakes the event loop of
// the thread that created the device, which delivers the notifications in the order they were
// raised.
class QueuedWaveOut : public WaveOutDevice {
 public:
  QueuedWaveOut();
  ~QueuedWaveOut() override;
  QueuedWaveOut(const QueuedWaveOut&) = delete;
  QueuedWaveOut& operator=(const QueuedWaveOut&) = delete;

  MMRESULT open(HWAVEOUT* handle, uint32_t deviceId, const WAVEFORMATEX& format,
                std::weak_ptr<WaveCallback> callback, uintptr_t instance, uint32_t flags) override;
  MMRESULT prepareHeader(HWAVEOUT handle, WAVEHDR* header, uint32_t size) override;
  MMRESULT write(HWAVEOUT handle, WAVEHDR* header, uint32_t size) override;
  MMRESULT pause(HWAVEOUT handle) override;
  MMRESULT restart(HWAVEOUT handle) override;
  MMRESULT reset(HWAVEOUT handle) override;
  MMRESULT unprepareHeader(HWAVEOUT handle, WAVEHDR* header, uint32_t size) override;
  MMRESULT close(HWAVEOUT handle) override;
  void cutClose(HWAVEOUT handle) override;
  MMRESULT position(HWAVEOUT handle, uint64_t& frames) override;
  std::string errorText(MMRESULT code) const override { return standardErrorText(code); }
  void deliverPending() override;
  int outstanding(HWAVEOUT handle) const override;

  // One open device. Implementations derive their own state from it.
  struct Stream {
    virtual ~Stream() = default;
    HWAVEOUT handle = 0;
    WAVEFORMATEX format;
    std::weak_ptr<WaveCallback> callback;
    bool open = true;
    bool halted = false;
    std::atomic<int> outstanding{0};
  };

 protected:
  // Creates the device for `format`; null with `result` set when it cannot.
  virtual std::unique_ptr<Stream> openStream(uint32_t deviceId, const WAVEFORMATEX& format,
                                             MMRESULT& result) = 0;
  virtual MMRESULT prepareBuffer(Stream&, WAVEHDR*) { return MMSYSERR_NOERROR; }
  // Appends a buffer to the play queue; on an error the buffer is not taken.
  virtual MMRESULT submit(Stream& stream, WAVEHDR* header) = 0;
  virtual void setHalted(Stream& stream, bool halted) = 0;
  // Stops at once; every queued buffer comes back through bufferDone, in queue order.
  virtual void returnAll(Stream& stream) = 0;
  // Releases the device; every buffer has come back. True when it is closed now; false when it
  // plays out what it still holds first and reports the end through closed().
  virtual bool closeStream(Stream& stream) = 0;
  // A closeStream that answered false finishes now, without the rest of the sound.
  virtual void cutDrain(Stream&) {}
  virtual uint64_t framesPlayed(const Stream& stream) const = 0;
  // Whether a buffer is still in the play queue of `stream`.
  virtual bool queued(const Stream& stream, const WAVEHDR* header) const = 0;

  // From any thread: `header` has played or been returned.
  void bufferDone(Stream& stream, WAVEHDR* header);
  // From any thread: the device of `handle`, whose closeStream answered false, is closed.
  void closed(HWAVEOUT handle);
  // The open device of `handle`, or null.
  Stream* findOpen(HWAVEOUT handle) const;
  // From any thread: runs `task` on the owning thread once the work under way there is done,
  // unless this device is gone by then.
  void later(std::function<void()> task);

  template <typename F>
  void forEachOpenStream(F f) {
    for (auto& [handle, stream] : streams_)
      if (stream->open) f(*stream);
  }
  // Open ones and closed ones whose Close has not been delivered yet.
  template <typename F>
  void forEachStream(F f) {
    for (auto& [handle, stream] : streams_) f(*stream);
  }

 private:
  // Pause and restart: the flag the device reads, and the device halted or resumed.
  MMRESULT halt(HWAVEOUT handle, bool halted);
  struct Notification {
    HWAVEOUT handle;
    WaveMessage message;
    WAVEHDR* header;
  };

  void raise(HWAVEOUT handle, WaveMessage message, WAVEHDR* header);
  void onWake();

  void wake();

  NotificationRing<Notification, 1024> ring_;
  std::atomic<uint64_t> raised_{0};  // notifications pushed so far
  uint64_t delivered_ = 0;           // owning thread only
  EventLoop& loop_;
  int wakeFd_ = -1;
  EventLoop::Handle wakeWatch_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);  // what `later` tasks look at
  std::map<HWAVEOUT, std::unique_ptr<Stream>> streams_;  // open, or closed and not yet reported
  HWAVEOUT nextHandle_ = 1;
};

}  // namespace quor::audio
