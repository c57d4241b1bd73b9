#include "ScriptLine.h"

namespace quor {

namespace {

bool isTrimmed(char c) {
  return static_cast<unsigned char>(c) <= 0x20;
}

}  // namespace

std::string_view trimScriptLine(std::string_view line) {
  while (!line.empty() && isTrimmed(line.front())) line.remove_prefix(1);
  while (!line.empty() && isTrimmed(line.back())) line.remove_suffix(1);
  return line;
}

void ScriptFields::take(std::string_view trimmedLine) {
  size_t current = 0;
  fields_[current].clear();
  for (char c : trimmedLine) {
    if (c != ' ') {
      fields_[current] += c;
      continue;
    }
    if (current == fields_.size() - 1) break;  // the ninth space ends the last field
    fields_[++current].clear();
  }
}

}  // namespace quor
