#include "ErrorText.h"

namespace quor {

std::string errorBoxText(const std::string& message) {
  if (message.empty()) return message;
  // A last byte of 0x80 or above belongs to a character beyond ASCII, which sorts after ".".
  const auto last = static_cast<unsigned char>(message.back());
  if (last > static_cast<unsigned char>('.')) return message + ".";
  return message;
}

}  // namespace quor
