#pragma once
#include <string>

namespace quor {

// The text the application's error box shows for an error's message: a full stop is added
// when the last character comes after "." in character order (a letter or a digit, say),
// so "No device" gets one and "Failed." or "Failed!" do not. Texts are UTF-8.
std::string errorBoxText(const std::string& message);

// A message's text as a box shows it: a carriage return, which the sound card's message puts
// before the device's own text, breaks the line as it does in the platform's native boxes.
std::string messageBoxLines(const std::string& text);

}  // namespace quor
