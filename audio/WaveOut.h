#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace quor::audio {

// The platform's wave-out family as the output component uses it: PCM formats, buffer headers,
// result codes and the three notifications. Implementations: PortAudioWaveOut (a real sound
// device), SimulatedWaveOut (tests), FileWaveOut (renders into a WAV file).

using HWAVEOUT = intptr_t;  // 0: no device
using MMRESULT = uint32_t;

inline constexpr uint32_t WAVE_MAPPER = 0xFFFFFFFFu;  // the system's default output

inline constexpr MMRESULT MMSYSERR_NOERROR = 0;
inline constexpr MMRESULT MMSYSERR_ERROR = 1;
inline constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
inline constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
inline constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
inline constexpr MMRESULT MMSYSERR_NODRIVER = 6;
inline constexpr MMRESULT MMSYSERR_NOMEM = 7;
inline constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
inline constexpr MMRESULT WAVERR_BADFORMAT = 32;
inline constexpr MMRESULT WAVERR_STILLPLAYING = 33;
inline constexpr MMRESULT WAVERR_UNPREPARED = 34;

inline constexpr uint32_t WHDR_DONE = 0x01;
inline constexpr uint32_t WHDR_PREPARED = 0x02;
inline constexpr uint32_t WHDR_INQUEUE = 0x10;

inline constexpr uint32_t CALLBACK_WINDOW = 0x00010000u;
inline constexpr uint32_t WAVE_ALLOWSYNC = 0x0002u;

// Notifications, delivered to the callback object given to open.
enum class WaveMessage : uint32_t { Open = 0x3BB, Close = 0x3BC, Done = 0x3BD };

struct WAVEFORMATEX {
  uint16_t wFormatTag = 1;  // PCM
  uint16_t nChannels = 1;
  uint32_t nSamplesPerSec = 22050;
  uint32_t nAvgBytesPerSec = 44100;
  uint16_t nBlockAlign = 2;
  uint16_t wBitsPerSample = 16;
  uint16_t cbSize = 0;
};

struct WAVEHDR {
  uint8_t* lpData = nullptr;
  uint32_t dwBufferLength = 0;
  uint32_t dwBytesRecorded = 0;
  uintptr_t dwUser = 0;
  uint32_t dwFlags = 0;
  uint32_t dwLoops = 0;
  WAVEHDR* lpNext = nullptr;
  uintptr_t reserved = 0;
};

// Receives a device's notifications. A device holds it weakly: once it is gone, nothing more is
// delivered to it.
class WaveCallback {
 public:
  virtual ~WaveCallback() = default;
  virtual void waveMessage(WaveMessage message, HWAVEOUT handle, WAVEHDR* header) = 0;
};

// Rules every implementation keeps:
//  - notifications are queued and delivered later by the event loop of the thread that owns the
//    device object, never inside the call that causes them, in the order they were raised;
//  - write hands a prepared buffer over; each buffer comes back exactly once, by playing or by a
//    reset, with a Done notification; a reset has them all back before it returns;
//  - close is refused (WAVERR_STILLPLAYING) while a handed-over buffer has not come back; a
//    device may still be playing what it took from the buffers when they came back, and then
//    sends Close once that has sounded;
//  - every operation on a handle that is not open fails with MMSYSERR_INVALHANDLE and no effect;
//  - no call but open waits for the sound hardware or server.
class WaveOutDevice {
 public:
  virtual ~WaveOutDevice() = default;

  // On success *handle is the new device and an Open notification is queued to `callback`.
  virtual MMRESULT open(HWAVEOUT* handle, uint32_t deviceId, const WAVEFORMATEX& format,
                        std::weak_ptr<WaveCallback> callback, uintptr_t instance,
                        uint32_t flags) = 0;
  virtual MMRESULT prepareHeader(HWAVEOUT handle, WAVEHDR* header, uint32_t size) = 0;
  virtual MMRESULT write(HWAVEOUT handle, WAVEHDR* header, uint32_t size) = 0;
  virtual MMRESULT pause(HWAVEOUT handle) = 0;
  virtual MMRESULT restart(HWAVEOUT handle) = 0;
  virtual MMRESULT reset(HWAVEOUT handle) = 0;
  virtual MMRESULT unprepareHeader(HWAVEOUT handle, WAVEHDR* header, uint32_t size) = 0;
  virtual MMRESULT close(HWAVEOUT handle) = 0;
  // A closed device that is still playing out what it took stops at once; its Close follows as
  // soon as it has let go of the hardware. No effect on any other handle.
  virtual void cutClose(HWAVEOUT handle) = 0;
  // Frames played since the open (or the last reset). 64 bits: a 32-bit count wraps after
  // 12.4 hours at 96000 frames per second.
  virtual MMRESULT position(HWAVEOUT handle, uint64_t& frames) = 0;
  virtual std::string errorText(MMRESULT code) const = 0;

  virtual uint32_t deviceCount() const = 0;
  // Product name of output device `id` (0 … deviceCount() − 1), at most 31 characters.
  virtual std::string deviceName(uint32_t id) const = 0;

  // Delivers every queued notification now, in order. For a caller that has to finish a device
  // before it goes on; the event loop does the same whenever it runs.
  virtual void deliverPending() = 0;
  // Number of buffers of `handle` handed over and not yet come back (0 for an unknown handle).
  virtual int outstanding(HWAVEOUT handle) const = 0;
};

// The texts of the codes above, shared by the implementations.
std::string standardErrorText(MMRESULT code);

}  // namespace quor::audio
