#pragma once
#include <cstdint>

#include "ToneControls.h"
#include "ToneOutput.h"
#include "ToneParameters.h"
#include "WorkingValues.h"

namespace quor {

// Switches the tone on and off and follows the output's notifications: LED, ToneBusy, the
// lock on the output settings and the flash at the end of a tone.
class ToneSwitch {
 public:
  ToneSwitch(WorkingValues& values, ToneControls& controls, ToneOutput& output,
             ToneParameters& parameters);

  void OnButtonClick();   // the ON/OFF toggle (button, menu item, F5, scripts)
  void stopsignal();      // immediate stop, from any caller
  void AudioOut1Start();  // the output's start notification
  void AudioOut1Stop();   // the output's stop notification
  bool AudioOut1FillBuffer(uint8_t* Buffer, int32_t& Size);

  static constexpr const char* kSoundcardError =
      "Soundcard Error! The system message returned by Windows was: ";
  static constexpr const char* kPeriodTooShort =
      "The tone cannot start: the period must be at least 1 second.";

 private:
  void setOutputSettingsEnabled(bool enabled);

  WorkingValues& values_;
  ToneControls& controls_;
  ToneOutput& output_;
  ToneParameters& parameters_;
  // Set by a stop through the toggle, cleared when that stop's notification has been handled.
  bool suppressFlash_ = false;
};

}  // namespace quor
