#pragma once
#include <string>

namespace quor {

// The text the application's error box shows for an error's message: a full stop is added
// when the last character comes after "." in character order (a letter or a digit, say),
// so "No device" gets one and "Failed." or "Failed!" do not. Texts are UTF-8.
std::string errorBoxText(const std::string& message);

}  // namespace quor
