#pragma once
#include <string>

#include "ToneControls.h"

namespace quor {

// The settings that persist between runs: the selections of FSList, Buffers, BufferSizeEdit,
// cboSoundQuality and WaveForm, the check marks of Flashscreenwhenfinished1,
// DisableScreensaver and FreqSlider1, and the state of chkPositiveOffset.

// Sets the nine controls from the stored values, each as soon as it is read: list selections
// raise no event, menu marks none, and chkPositiveOffset raises its click (and so the apply)
// when it changes. Missing or unreadable values give all nine their first-start defaults,
// silently. The caller then runs cboSoundQualityChange and derives the sample rate.
void RestoreApplicationSettings(ToneControls& controls);

struct StoreResult {
  bool ok = true;
  std::string message;  // for the user when !ok: where the settings could not be written
};

// Writes the nine values. Never throws: a folder or file that cannot be written, or a file that
// does not hold the values afterwards, is reported in the result.
StoreResult StoreApplicationSettings(const ToneControls& controls);

// Where the values live: the INI file on Linux, the registry key on Windows.
std::string ApplicationSettingsLocation();

}  // namespace quor
