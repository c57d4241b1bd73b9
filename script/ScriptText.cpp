#include "ScriptText.h"

#include "Windows1252.h"

namespace quor {

std::vector<std::string> scriptLinesOf(std::string_view bytes) {
  const std::string text = decodeWindows1252(bytes);
  std::vector<std::string> lines;
  std::string line;
  for (const char c : text) {
    if (c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
    } else if (c != '\r') {
      line += c;
    }
  }
  if (!text.empty() && text.back() != '\n') lines.push_back(std::move(line));
  return lines;
}

std::string scriptFileBytes(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return encodeWindows1252(text);
}

}  // namespace quor
