#pragma once
#include <array>
#include <string>
#include <string_view>

namespace quor {

// Removes every character at or below the space (tabs, line ends, the other control
// characters) from both ends of a script line.
std::string_view trimScriptLine(std::string_view line);

// The nine fields of a run. Each line empties field 1 and, in turn, each further field it
// reaches with one more space; a field that a line does not reach keeps the text it had on the
// last line that did. So "tone 440" after "tone 1000 3 0 50 80" plays 440 Hz for 3 s at 80.
class ScriptFields {
 public:
  static constexpr int kCount = 9;

  // Splits a trimmed line at each single space: two spaces make an empty field between them,
  // tabs belong to their field, and whatever follows the ninth space is dropped.
  void take(std::string_view trimmedLine);

  // Field `number`, 1 (the command word) to 9.
  const std::string& operator[](int number) const { return fields_.at(number - 1); }

 private:
  std::array<std::string, kCount> fields_;
};

}  // namespace quor
