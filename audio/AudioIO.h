#pragma once
#include <QObject>
#include <QPointer>
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
using TNotifyEvent = std::function<void(QObject* Sender)>;

// PCM format, buffer ring memory, counters and the stop operations of a wave device.
class TAudioIO : public QObject {
  Q_OBJECT
  Q_PROPERTY(qint32 BufferSize READ BufferSize WRITE SetBufferSize)
  Q_PROPERTY(qint32 NumBuffers READ NumBuffers WRITE SetNumBuffers)
  Q_PROPERTY(qint32 FrameRate READ FrameRate WRITE SetFrameRate)
  Q_PROPERTY(bool Stereo READ Stereo WRITE SetStereo)
  Q_PROPERTY(ushort Quantization READ Quantization WRITE SetQuantization)
  Q_PROPERTY(uint WaveDevice READ WaveDevice WRITE SetWaveDevice)

 public:
  explicit TAudioIO(QObject* AOwner);
  ~TAudioIO() override;

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
  Q_OBJECT
  Q_PROPERTY(bool Paused READ Paused WRITE SetPaused)

 public:
  // `Platform` is the wave-out family the component plays through; it must outlive the
  // component.
  TAudioOut(QObject* AOwner, WaveOutDevice& Platform);
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
  TCallBackWinOut* CallBackWindow() const { return CallBackWin; }
  HWAVEOUT WaveHandle = 0;

 protected:
  virtual bool FillBuffer(int32_t Index, int32_t Size);
  virtual void CloseWaveDevice();
  virtual bool OpenWaveDevice(TAudioOut*& TS);
  bool StartOutput();
  bool QueueBuffer();
  std::string WaveOutErrorText(MMRESULT Code) const;

  bool WaveDeviceOpen = false;
  QPointer<TCallBackWinOut> CallBackWin;
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
class TCallBackWinOut : public QObject {
  Q_OBJECT
 public:
  explicit TCallBackWinOut(QObject* Parent) : QObject(Parent) {}

  PAudioOut AudioComponent = nullptr;
  HWAVEOUT Device = 0;        // the device whose notifications arrive here
  bool CloseHandled = false;  // its closed notification has been handled

 protected:
  bool event(QEvent* Event) override;

 private:
  friend class TAudioOut;
  void WomOpen();
  void WomDone();
  void WomClose();
  void RaiseStop();
};

}  // namespace quor::audio
