#include "AudioIO.h"

#include <algorithm>
#include <new>

#include "QueuedWaveOut.h"

namespace quor::audio {

namespace {
constexpr uint32_t kHeaderSize = sizeof(WAVEHDR);
}  // namespace

// ---------------------------------------------------------------------------------------------
// TAudioIO

TAudioIO::TAudioIO() {
  FWaveFmtEx.wFormatTag = 1;
  FWaveFmtEx.nChannels = 1;
  FWaveFmtEx.nSamplesPerSec = 22050;
  FWaveFmtEx.wBitsPerSample = 16;
  FWaveFmtEx.cbSize = 0;
  UpdateWaveFormat();
  AllocateHeaders();
  AllocateBuffers();
}

TAudioIO::~TAudioIO() {
  FreeBuffers();
  FreeHeaders();
}

void TAudioIO::UpdateWaveFormat() {
  FWaveFmtEx.nBlockAlign =
      static_cast<uint16_t>((FWaveFmtEx.wBitsPerSample / 8) * FWaveFmtEx.nChannels);
  FWaveFmtEx.nAvgBytesPerSec = FWaveFmtEx.nSamplesPerSec * FWaveFmtEx.nBlockAlign;
  const int32_t align = FWaveFmtEx.nBlockAlign;
  FBufferSize =
      align > 0 ? FRequestedBufferSize - FRequestedBufferSize % align : FRequestedBufferSize;
}

bool TAudioIO::AllocateHeaders() {
  for (int i = 0; i < kMaxBuffers; ++i) {
    hWaveHeader[i].reset(new (std::nothrow) WAVEHDR{});
    if (!hWaveHeader[i]) {
      FreeHeaders();
      ErrorMessage = "Error allocating wave header memory";
      return false;
    }
    WaveHdr[i] = hWaveHeader[i].get();
  }
  return true;
}

void TAudioIO::FreeHeaders() {
  for (int i = 0; i < kMaxBuffers; ++i) {
    hWaveHeader[i].reset();
    WaveHdr[i] = nullptr;
  }
}

// Every slot gets the size asked for, whatever the current format and number of buffers: the
// effective size never exceeds it, so NumBuffers, Quantization or Stereo written after
// BufferSize can never offer the fill more bytes than its buffer holds.
bool TAudioIO::AllocateBuffers() {
  for (int i = 0; i < kMaxBuffers; ++i) {
    hWaveBuffer[i].reset(new (std::nothrow) uint8_t[static_cast<size_t>(FRequestedBufferSize)]);
    if (!hWaveBuffer[i]) {
      FreeBuffers();
      ErrorMessage = "Error allocating wave buffer memory";
      return false;
    }
    WaveBuffer[i] = hWaveBuffer[i].get();
    if (WaveHdr[i] != nullptr) WaveHdr[i]->lpData = WaveBuffer[i];
  }
  return true;
}

void TAudioIO::FreeBuffers() {
  for (int i = 0; i < kMaxBuffers; ++i) {
    hWaveBuffer[i].reset();
    WaveBuffer[i] = nullptr;
  }
}

bool TAudioIO::InitWaveHeaders() {
  UpdateWaveFormat();
  for (int i = 0; i < FNumBuffers; ++i) {
    if (WaveHdr[i] == nullptr) continue;
    *WaveHdr[i] = WAVEHDR{};
    WaveHdr[i]->lpData = WaveBuffer[i];
    WaveHdr[i]->dwBufferLength = static_cast<uint32_t>(FBufferSize);
  }
  return true;
}

void TAudioIO::SetBufferSize(int32_t Value) {
  FRequestedBufferSize = std::max(Value, 512);
  UpdateWaveFormat();
  FreeBuffers();
  AllocateBuffers();
}

void TAudioIO::SetNumBuffers(int32_t Value) {
  FNumBuffers = std::clamp(Value, 2, kMaxBuffers);
}

void TAudioIO::SetFrameRate(int32_t Value) {
  FWaveFmtEx.nSamplesPerSec = static_cast<uint32_t>(Value);
  UpdateWaveFormat();
}

void TAudioIO::SetStereo(bool Value) {
  FWaveFmtEx.nChannels = Value ? 2 : 1;
  UpdateWaveFormat();
}

void TAudioIO::SetQuantization(uint16_t Value) {
  FWaveFmtEx.wBitsPerSample = std::clamp<uint16_t>(Value, 8, 24);
  UpdateWaveFormat();
}

void TAudioIO::StopAtOnce() {
  Active = false;
  ContinueProcessing = false;
}

void TAudioIO::StopGracefully() {
  ContinueProcessing = false;
}

// ---------------------------------------------------------------------------------------------
// TAudioOut

TAudioOut::TAudioOut(WaveOutDevice& Platform) : FPlatform(Platform) {}

TAudioOut::~TAudioOut() {
  // Buffers are freed below: a device must not keep playing them, and no notification may
  // reach a component that is gone.
  if (WaveDeviceOpen) {
    Active = false;
    ContinueProcessing = false;
    WaveDeviceOpen = false;
  }
  if (CallBackWin && !CallBackWin->CloseHandled) ShutDown(CallBackWin->Device);
}

std::string TAudioOut::WaveOutErrorText(MMRESULT Code) const {
  // The platform's longest error text fits 256 characters.
  std::string text = FPlatform.errorText(Code);
  if (text.size() > 255) text.resize(255);
  return text;
}

bool TAudioOut::Start(TAudioOut*& TS) {
  FinishPendingClose();
  if (!OpenWaveDevice(TS)) return false;
  return StartOutput();
}

bool TAudioOut::OpenWaveDevice(TAudioOut*& TS) {
  if (WaveDeviceOpen) {
    ErrorMessage = "Wave output device is already open";
    return false;
  }
  BufIndex = 0;
  auto window = std::make_shared<TCallBackWinOut>(*this);
  window->AudioComponent = &TS;
  CallBackWin = window;
  HWAVEOUT handle = 0;
  const MMRESULT opened =
      FPlatform.open(&handle, FWaveDevice, FWaveFmtEx, window, 0, CALLBACK_WINDOW | WAVE_ALLOWSYNC);
  if (opened != MMSYSERR_NOERROR) {
    ErrorMessage = WaveOutErrorText(opened);
    // No notification will ever reach this window.
    CallBackWin.reset();
    return false;
  }
  WaveHandle = handle;
  window->Device = handle;
  WaveDeviceOpen = true;
  InitWaveHeaders();
  for (int i = 0; i < FNumBuffers; ++i) {
    const MMRESULT prepared = FPlatform.prepareHeader(WaveHandle, WaveHdr[i], kHeaderSize);
    if (prepared != MMSYSERR_NOERROR) {
      ErrorMessage = WaveOutErrorText(prepared);
      CloseWaveDevice();
      return false;
    }
  }
  QueuedBuffers = 0;
  ProcessedBuffers = 0;
  FilledBuffers = 0;
  FCounted.fill(false);
  ContinueProcessing = true;
  Active = true;
  if (!FillBuffer(0, FBufferSize)) {
    CloseWaveDevice();
    ErrorMessage = "There must be at least one filled buffer";
    return false;
  }
  for (int i = 1; i < FNumBuffers; ++i) FillBuffer(i, FBufferSize);
  return true;
}

bool TAudioOut::StartOutput() {
  Active = true;
  if (FPaused) FPlatform.pause(WaveHandle);
  if (!QueueBuffer()) {
    CloseWaveDevice();
    return false;
  }
  for (int i = 1; i < FNumBuffers; ++i) QueueBuffer();
  return true;
}

bool TAudioOut::QueueBuffer() {
  WAVEHDR* header = WaveHdr[BufIndex];
  header->dwFlags = WHDR_PREPARED;
  const MMRESULT written = FPlatform.write(WaveHandle, header, kHeaderSize);
  if (written != MMSYSERR_NOERROR) {
    ErrorMessage = WaveOutErrorText(written);
    if (FCounted[BufIndex]) {
      FCounted[BufIndex] = false;
      FilledBuffers -= 1;
      QueuedBuffers = FilledBuffers - ProcessedBuffers;
    }
    StopGracefully();
    return false;
  }
  BufIndex = (BufIndex + 1) % FNumBuffers;
  return true;
}

bool TAudioOut::FillBuffer(int32_t Index, int32_t Size) {
  if (!ContinueProcessing) return false;
  bool answer = false;
  if (FOnFillBuffer) {
    int32_t s = Size;
    answer = FOnFillBuffer(WaveBuffer[Index], s);
    WaveHdr[Index]->dwBufferLength = static_cast<uint32_t>(std::clamp(s, 0, FBufferSize));
  }
  FCounted[Index] = answer;
  if (answer) FilledBuffers += 1;
  QueuedBuffers = FilledBuffers - ProcessedBuffers;
  return answer;
}

void TAudioOut::CloseWaveDevice() {
  Active = false;
  SetPaused(false);
  for (int i = 0; i < FNumBuffers; ++i)
    FPlatform.unprepareHeader(WaveHandle, WaveHdr[i], kHeaderSize);
  FPlatform.close(WaveHandle);
  WaveDeviceOpen = false;
}

void TAudioOut::StopAtOnce() {
  if (!WaveDeviceOpen) return;
  Active = false;
  ContinueProcessing = false;
  FPlatform.reset(WaveHandle);
  CloseWaveDevice();
}

void TAudioOut::StopGracefully() {
  if (!WaveDeviceOpen) return;
  ContinueProcessing = false;
}

void TAudioOut::SetPaused(bool Value) {
  FPaused = Value;
  if (!Active) return;
  if (Value)
    FPlatform.pause(WaveHandle);
  else
    FPlatform.restart(WaveHandle);
}

double TAudioOut::ElapsedTime() {
  if (!Active) return 0.0;
  uint64_t frames = 0;
  if (FPlatform.position(WaveHandle, frames) != MMSYSERR_NOERROR || FrameRate() == 0) return 0.0;
  return static_cast<double>(frames) / FrameRate();
}

void TAudioOut::ShutDown(HWAVEOUT handle) {
  // A reset has every buffer back at once, so the close that follows is not refused; a device
  // that was closed already and still plays out its last buffers stops too.
  FPlatform.reset(handle);
  FPlatform.close(handle);
  FPlatform.cutClose(handle);
}

void TAudioOut::FinishPendingClose() {
  if (WaveDeviceOpen) return;
  const std::shared_ptr<TCallBackWinOut> window = CallBackWin;
  if (window == nullptr || window->CloseHandled) return;
  ShutDown(window->Device);
  FPlatform.deliverPending();
  if (CallBackWin == window && !window->CloseHandled) {
    // The device never gave its buffers back: cut it off so that nothing more of it arrives,
    // and report its end once.
    window->CloseHandled = true;
    window->RaiseStop();
    if (CallBackWin == window) CallBackWin.reset();
  }
}

// ---------------------------------------------------------------------------------------------
// TCallBackWinOut

void TCallBackWinOut::waveMessage(WaveMessage message, HWAVEOUT, WAVEHDR*) {
  if (CloseHandled || AudioComponent == nullptr || *AudioComponent == nullptr) return;
  switch (message) {
    case WaveMessage::Open:
      WomOpen();
      break;
    case WaveMessage::Done:
      WomDone();
      break;
    case WaveMessage::Close:
      WomClose();
      break;
  }
}

void TCallBackWinOut::WomOpen() {
  TAudioOut* component = *AudioComponent;
  if (component->FonOpen) component->FonOpen(this);
}

void TCallBackWinOut::WomDone() {
  TAudioOut* c = *AudioComponent;
  c->ProcessedBuffers += 1;
  c->QueuedBuffers = c->FilledBuffers - c->ProcessedBuffers;
  c->Active = c->QueuedBuffers > 0;
  if (c->FillBuffer(c->BufIndex, c->FBufferSize)) c->QueueBuffer();
  if (!c->Active) {
    c->ContinueProcessing = false;
    c->CloseWaveDevice();
  }
}

void TCallBackWinOut::WomClose() {
  CloseHandled = true;
  RaiseStop();
  // This device is finished; the window goes once the device that called it here lets go.
  if (FOwner.CallBackWin.get() == this) FOwner.CallBackWin.reset();
}

void TCallBackWinOut::RaiseStop() {
  TAudioOut* component = AudioComponent != nullptr ? *AudioComponent : nullptr;
  if (component != nullptr && component->FonClose) component->FonClose(this);
}

}  // namespace quor::audio
