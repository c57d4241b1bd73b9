#include "ToneSwitch.h"

#include "Conversions.h"
#include "SampleSynthesis.h"

namespace quor {

ToneSwitch::ToneSwitch(WorkingValues& values, ToneControls& controls, ToneOutput& output,
                       ToneParameters& parameters)
    : values_(values), controls_(controls), output_(output), parameters_(parameters) {}

void ToneSwitch::setOutputSettingsEnabled(bool enabled) {
  for (Control c : {Control::FSList, Control::Buffers, Control::BufferSizeEdit, Control::WaveDevice,
                    Control::cboSoundQuality}) {
    controls_.setEnabled(c, enabled);
  }
}

void ToneSwitch::stopsignal() {
  output_.stopAtOnce();
}

void ToneSwitch::OnButtonClick() {
  if (output_.active()) {
    // The stop notification comes after this returns; it must not flash the screen.
    suppressFlash_ = true;
    stopsignal();
    return;
  }

  // A previous device that is still closing reports its end now, not during the new tone.
  output_.finishPendingStop();
  parameters_.fEditExit();
  values_.SampleCounter = 0;
  values_.Phase = 0.0;
  // Read before the settings are locked, so that a list without a usable item ends the start
  // with its conversion error instead of leaving the settings locked without a tone.
  const int32_t buffers = StrictInteger(controls_.text(Control::Buffers));
  const int32_t bufferSize = StrictInteger(controls_.text(Control::BufferSizeEdit));
  setOutputSettingsEnabled(false);
  output_.setStereo(false);
  output_.setFrameRate(values_.SampleRate);
  output_.setNumBuffers(buffers);
  output_.setBufferSize(bufferSize);
  if (output_.start()) return;

  // A period of no samples never fills a buffer; the sound card's words would not say why.
  controls_.showMessage(values_.SamplesPerPeriod <= 0
                            ? std::string(kPeriodTooShort)
                            : std::string(kSoundcardError) + "\r" + output_.errorMessage());
  stopsignal();
  values_.ToneBusy = false;
  controls_.hideScriptDialog();
  setOutputSettingsEnabled(true);
}

void ToneSwitch::AudioOut1Start() {
  controls_.setLed(LedColour::Lime);
  values_.ToneBusy = true;
}

void ToneSwitch::AudioOut1Stop() {
  const bool stoppedByToggle = suppressFlash_;
  suppressFlash_ = false;
  if (controls_.menuChecked(MenuOption::Flashscreenwhenfinished1) && !stoppedByToggle) {
    controls_.flashScreen();
  }
  setOutputSettingsEnabled(true);
  controls_.setLed(LedColour::Red);
  values_.ToneBusy = false;
  // A device that went away while the tone played (a sound server that stopped, a card
  // pulled out) ends the tone as a failed start does: said, and a script run ends.
  if (const std::string failure = output_.failureSinceStart(); !failure.empty()) {
    controls_.showMessage(std::string(kSoundcardError) + "\r" + failure);
    controls_.hideScriptDialog();
  }
}

bool ToneSwitch::AudioOut1FillBuffer(uint8_t* Buffer, int32_t& Size) {
  FillInputs inputs;
  inputs.waveform = controls_.itemIndex(Control::WaveForm);
  inputs.loop = controls_.checked(Control::chkLoop);
  inputs.sweep = controls_.activePage() == SignalPage::Sweep;
  inputs.bitsPerSample = output_.quantization();
  return FillBuffer(values_, inputs, Buffer, Size);
}

}  // namespace quor
