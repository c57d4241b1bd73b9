#include "QuorgenSetup.h"

#include "DeviceList.h"
#include "FirstStart.h"
#include "ToneError.h"

namespace quor::tools {

namespace {

void type(MemoryControls& controls, Control field, const std::optional<std::string>& text) {
  if (!text) return;
  controls.userType(field, *text);
  controls.userLeave(field);
}

}  // namespace

void fillDeviceList(MemoryControls& controls, audio::ToneOutputAdapter& output,
                    const audio::WaveOutDevice& device) {
  const audio::OutputDeviceList list = audio::outputDeviceList(device);
  controls.setItems(Control::WaveDevice, list.items);
  controls.setItemIndex(Control::WaveDevice, 0);
  output.setWaveDevice(audio::deviceNumberForItem(0));
  controls.setVisible(Control::Label11, !list.hidden);
  controls.setVisible(Control::WaveDevice, !list.hidden);
}

void applyRequest(const QuorgenRequest& r, MemoryControls& controls) {
  if (r.bandwidth) controls.userSelect(Control::FSList, *r.bandwidth);
  if (r.bits) controls.userSelect(Control::cboSoundQuality, *r.bits);
  if (r.buffers) controls.userSelect(Control::Buffers, *r.buffers);
  if (r.bufferSize) controls.userSelect(Control::BufferSizeEdit, *r.bufferSize);
  if (r.device) controls.userSelect(Control::WaveDevice, *r.device);
  if (r.waveform) controls.userSelect(Control::WaveForm, *r.waveform);
  controls.setActivePage(r.sweep ? SignalPage::Sweep : SignalPage::Constant);
  type(controls, Control::fEdit, r.freq);
  type(controls, Control::fInit, r.init);
  type(controls, Control::fFinal, r.final);
  if (r.logarithmic) controls.setChecked(Control::Logarithmic, *r.logarithmic);
  type(controls, Control::Duration, r.period);
  type(controls, Control::Amplitude, r.level);
  // The pulse fields are disabled until their check box is ticked.
  if ((r.pulses || r.duty) && !controls.checked(Control::PulsedOn))
    controls.userClick(Control::PulsedOn);
  type(controls, Control::Pulses, r.pulses);
  type(controls, Control::DutyCycle, r.duty);
  controls.setChecked(Control::chkPositiveOffset, r.offset);
  controls.setChecked(Control::chkLoop, r.loopSeconds.has_value());
}

std::string prepareWindow(const QuorgenRequest& request, MemoryControls& controls,
                          ToneEngine& engine, audio::ToneOutputAdapter& output,
                          const audio::WaveOutDevice& device) {
  fillDeviceList(controls, output, device);
  if (request.device &&
      *request.device >= static_cast<int>(controls.items(Control::WaveDevice).size())) {
    return "there is no device item " + std::to_string(*request.device) +
           " (see 'quorgen devices')";
  }
  try {
    prepareFirstStart(engine, controls);
    applyRequest(request, controls);
  } catch (const ToneError& e) {
    return e.what();
  }
  return {};
}

audio::PortAudioWaveOut::Devices devicesToStart(const QuorgenRequest& request) {
  return request.device ? audio::PortAudioWaveOut::Devices::Every
                        : audio::PortAudioWaveOut::Devices::DefaultOnly;
}

std::string messageLines(std::string text) {
  for (char& c : text)
    if (c == '\r') c = '\n';
  return text;
}

}  // namespace quor::tools
