#include "ErrorText.h"

namespace quor {

std::string errorBoxText(const std::string& message) {
  if (message.empty()) return message;
  // A last byte of 0x80 or above belongs to a character beyond ASCII, which sorts after ".".
  const auto last = static_cast<unsigned char>(message.back());
  if (last > static_cast<unsigned char>('.')) return message + ".";
  return message;
}

std::string messageBoxLines(const std::string& text) {
  std::string lines;
  lines.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      lines += text[i];
    } else if (i + 1 >= text.size() || text[i + 1] != '\n') {
      lines += '\n';
    }
  }
  return lines;
}

}  // namespace quor
