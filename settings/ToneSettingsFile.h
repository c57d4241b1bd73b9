#pragma once
#include <string>

#include "MemoryRecord.h"

namespace quor {

// Tone settings files (".qvp"): the four presets, names included, in the form of
// ToneSettingsFormat.h. Failures throw a ToneError with the message the user is shown.

// Writes all four slots; a failed save leaves the file as it was (FileReplace.h).
void SaveToneSettings(const std::string& fileName, const Memories& memories);

// Reads the file into the four slots. A failure part-way leaves the fields read before it
// with their new values and the rest as they were.
void LoadToneSettings(const std::string& fileName, Memories& memories);

// Whether a command-line argument names a tone settings file to load at start: an existing
// file whose name ends in exactly "qvp", with or without a dot before it.
bool isToneSettingsArgument(const std::string& argument);

}  // namespace quor
