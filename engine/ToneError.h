#pragma once
#include <stdexcept>
#include <string>

namespace quor {

// An error raised by a handler. The text is shown to the user as it stands (the error box
// adds the closing full stop), so it must read as a message, not as a diagnostic.
class ToneError : public std::runtime_error {
 public:
  explicit ToneError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace quor
