#pragma once
#include <cstdint>
#include <string>

#include "ToneControls.h"
#include "ToneOutput.h"
#include "WorkingValues.h"

namespace quor {

// Twice the bandwidth named by an FSList item, rounded: the sample rate it gives.
int32_t sampleRateOfBandwidth(const std::string& bandwidthText);
// The apply's rule for every frequency: above 0 and strictly below half the sample rate, and
// large enough to leave something when divided by the sample rate in single precision.
bool frequencyWithinBandwidth(float hertz, int32_t sampleRate);

// Derives the working values from the window's tone controls: the apply operation and the
// handlers of the level, bandwidth, resolution and pulse switch. Handlers throw ToneError.
class ToneParameters {
 public:
  ToneParameters(WorkingValues& values, ToneControls& controls, ToneOutput& output);

  void fEditExit();  // the apply
  void AmplitudeChange();
  void AmplitudeExit();
  void FSListChange();
  void cboSoundQualityChange();
  void PulsedOnClick();
  // fEditChange, fInitChange and fFinalChange: a non-empty text that is no number becomes "1000".
  void frequencyTextChange(Control field);

  // The sample rate of the selected bandwidth: twice its value, rounded.
  int32_t sampleRateFromBandwidth() const;

 private:
  bool frequenciesValid() const;
  void deriveFrequencies();

  WorkingValues& values_;
  ToneControls& controls_;
  ToneOutput& output_;
};

}  // namespace quor
