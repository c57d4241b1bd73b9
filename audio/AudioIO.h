#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "WaveOut.h"

namespace quor::audio {

class TAudioOut;
class TCallBackWinOut;

// The host's variable that holds the component; notifications reach the component through it.
using PAudioOut = TAudioOut**;
// Fills one buffer: Size is the buffer's size on entry and the bytes to play on return.
// True: the buffer holds data; false: nothing more for now.
using TBufferEvent = std::function<bool(uint8_t* Buffer, int32_t& Size)>;
using TNotifyEvent = std::function<void(TCallBackWinOut* Sender)>;

// PCM format, buffer ring memory, counters and the stop operations of a wave device.
class TAudioIO {
 public:
  TAudioIO();
  virtual ~TAudioIO();
  TAudioIO(const TAudioIO&) = delete;
  TAudioIO& operator=(const TAudioIO&) = delete;

  virtual void StopAtOnce();
  virtual void StopGracefully();

  int32_t BufferSize() const { return FBufferSize; }
  void SetBufferSize(int32_t Value);
  int32_t NumBuffers() const { return FNumBuffers; }
  void SetNumBuffers(int32_t Value);
  int32_t FrameRate() const { return static_cast<int32_t>(FWaveFmtEx.nSamplesPerSec); }
  void SetFrameRate(int32_t Value);
  bool Stereo() const { return FWaveFmtEx.nChannels == 2; }
  void SetStereo(bool Value);
  uint16_t Quantization() const { return FWaveFmtEx.wBitsPerSample; }
  void SetQuantization(uint16_t Value);
  uint32_t WaveDevice() const { return FWaveDevice; }
  void SetWaveDevice(uint32_t Value) { FWaveDevice = Value; }
  const TNotifyEvent& OnStart() const { return FonOpen; }
  void SetOnStart(TNotifyEvent Handler) { FonOpen = std::move(Handler); }
  const TNotifyEvent& OnStop() const { return FonClose; }
  void SetOnStop(TNotifyEvent Handler) { FonClose = std::move(Handler); }

  std::string ErrorMessage;
  bool Active = false;
  int32_t FilledBuffers = 0;
  int32_t QueuedBuffers = 0;
  int32_t ProcessedBuffers = 0;

  static constexpr int kMaxBuffers = 4;

 protected:
  void UpdateWaveFormat();
  bool AllocateHeaders();
  void FreeHeaders();
  bool AllocateBuffers();
  void FreeBuffers();
  bool InitWaveHeaders();

  int32_t FBufferSize = 0;
  int32_t FRequestedBufferSize = 8192;
  int32_t FNumBuffers = 4;
  WAVEFORMATEX FWaveFmtEx;
  TNotifyEvent FonOpen;
  TNotifyEvent FonClose;
  uint32_t FWaveDevice = WAVE_MAPPER;
  std::array<std::unique_ptr<WAVEHDR>, kMaxBuffers> hWaveHeader;
  std::array<WAVEHDR*, kMaxBuffers> WaveHdr{};
  std::array<uint8_t*, kMaxBuffers> WaveBuffer{};
  std::array<std::unique_ptr<uint8_t[]>, kMaxBuffers> hWaveBuffer;
  int32_t BufIndex = 0;
  bool ContinueProcessing = false;
  bool FPaused = false;
};

// Plays a PCM stream on an output device through a ring of two to four buffers that the host
// fills on request (OnFillBuffer), and closes the device by itself when the ring runs dry.
class TAudioOut : public TAudioIO {
 public:
  // `Platform` is the wave-out family the component plays through; it must outlive the
  // component.
  explicit TAudioOut(WaveOutDevice& Platform);
  // Stops and closes a device that is still open and drops its notifications.
  ~TAudioOut() override;

  // Opens the device, fills the ring and starts playing. TS is the host's variable that holds
  // this component; it must stay valid while notifications can arrive.
  bool Start(TAudioOut*& TS);
  void StopAtOnce() override;
  void StopGracefully() override;
  double ElapsedTime();
  // If an earlier device is no longer marked open but its close or notifications are still
  // pending, finishes it now: reset, close, cut what it still plays out, and deliver its
  // notifications, so that its OnStop comes exactly once and before anything new starts.
  void FinishPendingClose();

  bool Paused() const { return FPaused; }
  void SetPaused(bool Value);
  const TBufferEvent& OnFillBuffer() const { return FOnFillBuffer; }
  void SetOnFillBuffer(TBufferEvent Handler) { FOnFillBuffer = std::move(Handler); }

  bool IsWaveDeviceOpen() const { return WaveDeviceOpen; }
  TCallBackWinOut* CallBackWindow() const { return CallBackWin.get(); }
  HWAVEOUT WaveHandle = 0;

 protected:
  virtual bool FillBuffer(int32_t Index, int32_t Size);
  virtual void CloseWaveDevice();
  virtual bool OpenWaveDevice(TAudioOut*& TS);
  bool StartOutput();
  bool QueueBuffer();
  std::string WaveOutErrorText(MMRESULT Code) const;

  bool WaveDeviceOpen = false;
  // The device holds it weakly, so dropping it here ends its notifications.
  std::shared_ptr<TCallBackWinOut> CallBackWin;
  TBufferEvent FOnFillBuffer;

 private:
  friend class TCallBackWinOut;
  // Resets and closes `handle`, and silences it if it is still playing out.
  void ShutDown(HWAVEOUT handle);

  WaveOutDevice& FPlatform;
  // The fill of the buffer in each slot answered true: a refused hand-over takes it back out of
  // FilledBuffers, so that a drain still reaches zero.
  std::array<bool, kMaxBuffers> FCounted{};
};

// Receives one device's notifications on the thread that owns the component and turns them into
// the component's work and its OnStart and OnStop events (raised with this object as sender).
class TCallBackWinOut : public WaveCallback {
 public:
  explicit TCallBackWinOut(TAudioOut& Owner) : FOwner(Owner) {}

  PAudioOut AudioComponent = nullptr;
  HWAVEOUT Device = 0;        // the device whose notifications arrive here
  bool CloseHandled = false;  // its closed notification has been handled

  void waveMessage(WaveMessage message, HWAVEOUT handle, WAVEHDR* header) override;

 private:
  friend class TAudioOut;
  void WomOpen();
  void WomDone();
  void WomClose();
  void RaiseStop();

  TAudioOut& FOwner;
};

}  // namespace quor::audio
