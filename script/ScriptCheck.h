#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace quor {

// What is wrong with one line of a script, or dangerous about it.
struct ScriptFinding {
  enum class Severity { Error, Warning };
  Severity severity = Severity::Error;
  int line = 1;  // the first line is 1
  std::string message;

  bool operator==(const ScriptFinding&) const = default;
};

// The first pass of a run through the script, read without playing: the lines run in order
// until "end", "repeat" or an invalid line.
struct ScriptPass {
  enum class Ending { End, Repeat, Invalid };
  Ending ending = Ending::Invalid;
  int endingLine = 1;
  // The sound of the pass as the lines say it: the periods of its tones and sweeps and its
  // delays, in seconds. The window may play a little longer (whole buffers) or otherwise
  // (values it does not take as written).
  double seconds = 0;
  // A tone, sweep or delay line comes before the ending: a repeating script that has none
  // runs for ever without a sound.
  bool sounds = false;
};

struct ScriptCheck {
  std::vector<ScriptFinding> findings;  // in line order
  ScriptPass pass;
  bool hasErrors() const;
};

// Reads `lines` (UTF-8, without line ends; see scriptLinesOf) as the interpreter would, at the
// bandwidth `bandwidth` (an FSList item) that decides which frequencies play. Errors: lines the
// run would refuse or stop at (an unknown word, a capital letter, a tab after the word, a blank
// line, no "end" or "repeat" at the end), arguments that the window would not take as written,
// a delay that is no whole number. Warnings: the traps of the language (two spaces shifting the
// arguments, fields carried over from an earlier line, text after the ninth space, arguments no
// command uses) and values beyond the window's spin ranges that still play as written.
ScriptCheck checkScript(const std::vector<std::string>& lines, const std::string& bandwidth);

// Whether `word` is one of the language's command words, exactly as written.
bool isScriptCommand(std::string_view word);

// "FILE:LINE: error: message", as compilers write it.
std::string formatFinding(const std::string& fileName, const ScriptFinding& finding);

}  // namespace quor
