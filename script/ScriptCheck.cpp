#include "ScriptCheck.h"

#include <algorithm>
#include <array>
#include <span>

#include "Conversions.h"
#include "ScriptInterpreter.h"
#include "ScriptLine.h"
#include "ToneError.h"
#include "ToneParameters.h"
#include "ToneValueRules.h"

namespace quor {

namespace {

using Severity = ScriptFinding::Severity;

constexpr std::string_view kCommands[] = {"tone",   "sweep", "pause", "delay",
                                          "repeat", "rem",   "end"};

enum class Quantity { Frequency, Period, Pulses, Duty, Level, SweepLaw, Seconds };

struct FieldUse {
  int field;
  const char* name;
  Quantity quantity;
};

// The fields each command reads, in the order the interpreter types them in.
constexpr FieldUse kToneUses[] = {{2, "frequency", Quantity::Frequency},
                                  {3, "period", Quantity::Period},
                                  {4, "pulses per second", Quantity::Pulses},
                                  {5, "duty cycle", Quantity::Duty},
                                  {6, "level", Quantity::Level}};
constexpr FieldUse kSweepUses[] = {{2, "initial frequency", Quantity::Frequency},
                                   {3, "final frequency", Quantity::Frequency},
                                   {4, "period", Quantity::Period},
                                   {5, "pulses per second", Quantity::Pulses},
                                   {6, "duty cycle", Quantity::Duty},
                                   {7, "level", Quantity::Level},
                                   {8, "sweep law", Quantity::SweepLaw}};
constexpr FieldUse kDelayUses[] = {{2, "seconds", Quantity::Seconds}};

std::span<const FieldUse> usesOf(std::string_view word) {
  if (word == "tone") return kToneUses;
  if (word == "sweep") return kSweepUses;
  if (word == "delay") return kDelayUses;
  return {};
}

std::string lowered(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return result;
}

// A field as the report shows it: quoted, a tab made visible.
std::string quoted(std::string_view text) {
  std::string shown = "'";
  for (const char c : text) shown += c == '\t' ? std::string("\\t") : std::string(1, c);
  return shown + "'";
}

std::string invalidCommandMessage(int line) {
  return std::string("\"") + ScriptInterpreter::kInvalidCommand + std::to_string(line) + "\"";
}

class Checker {
 public:
  explicit Checker(const std::string& bandwidth)
      : bandwidth_(bandwidth), sampleRate_(sampleRateOfBandwidth(bandwidth)) {}

  ScriptCheck read(const std::vector<std::string>& lines);

 private:
  void line(std::string_view trimmed);
  bool wordIsCommand(std::string_view trimmed);
  void checkLayout(std::string_view trimmed, int reached);
  void checkCarriedOver(std::span<const FieldUse> uses, int reached);
  void checkValues(std::span<const FieldUse> uses, int reached);
  void checkUnused(std::span<const FieldUse> uses, int reached);
  void judged(const FieldUse& use, const ValueJudgement& judgement, const std::string& where = "");
  void addToPass(std::span<const FieldUse> uses);
  void endPass(ScriptPass::Ending ending, int line);
  void note(Severity severity, std::string message) {
    result_.findings.push_back({severity, number_, std::move(message)});
  }

  std::string bandwidth_;
  int32_t sampleRate_;
  ScriptFields fields_;
  std::array<int, ScriptFields::kCount + 1> origin_{};  // the line that last reached each field
  int number_ = 0;
  bool passEnded_ = false;
  int finalLine_ = 0;  // the first "end" or "repeat": no line after it is read
  ScriptCheck result_;
};

ScriptCheck Checker::read(const std::vector<std::string>& lines) {
  for (const std::string& text : lines) {
    ++number_;
    const std::string_view trimmed = trimScriptLine(text);
    if (finalLine_ == 0) {
      line(trimmed);
    } else if (!trimmed.empty()) {
      note(Severity::Warning, "never played: the run does not get past line " +
                                  std::to_string(finalLine_) + " (" + fields_[1] + ")");
      break;
    }
  }
  if (finalLine_ == 0) {
    // Past its last line a script reads as blank lines.
    const int after = static_cast<int>(lines.size()) + 1;
    number_ = std::max(1, after - 1);
    note(Severity::Error, std::string(lines.empty() ? "the script is empty"
                                                    : "the script ends without \"end\" or "
                                                      "\"repeat\"") +
                              ": the run stops with " + invalidCommandMessage(after));
    endPass(ScriptPass::Ending::Invalid, after);
  }
  return std::move(result_);
}

void Checker::line(std::string_view trimmed) {
  const int spaces = static_cast<int>(std::count(trimmed.begin(), trimmed.end(), ' '));
  const int reached = std::min(spaces + 1, ScriptFields::kCount);
  fields_.take(trimmed);
  for (int k = 2; k <= reached; ++k) origin_[k] = number_;
  if (!wordIsCommand(trimmed)) {
    endPass(ScriptPass::Ending::Invalid, number_);
    return;
  }
  const std::string& word = fields_[1];
  if (word == "rem") return;
  checkLayout(trimmed, reached);
  const std::span<const FieldUse> uses = usesOf(word);
  checkCarriedOver(uses, reached);
  checkValues(uses, reached);
  checkUnused(uses, reached);
  addToPass(uses);
  if (word == "end" || word == "repeat") {
    finalLine_ = number_;
    if (word == "repeat" && !passEnded_ && !result_.pass.sounds) {
      note(Severity::Error,
           "the script repeats without a tone, sweep or delay before this line: it runs for "
           "ever and plays nothing");
    }
    endPass(word == "end" ? ScriptPass::Ending::End : ScriptPass::Ending::Repeat, number_);
  }
}

bool Checker::wordIsCommand(std::string_view trimmed) {
  const std::string& word = fields_[1];
  if (trimmed.empty()) {
    note(Severity::Error, "a blank line stops the run with " + invalidCommandMessage(number_));
    return false;
  }
  if (isScriptCommand(word)) return true;
  const std::string beforeTab = word.substr(0, word.find('\t'));
  if (beforeTab != word && isScriptCommand(lowered(beforeTab))) {
    note(Severity::Error, "a tab after \"" + beforeTab + "\" makes " + quoted(word) +
                              " one word, which is no command: separate them with a space");
  } else if (isScriptCommand(lowered(word))) {
    note(Severity::Error,
         quoted(word) + " is no command: command words are lower case (\"" + lowered(word) + "\")");
  } else {
    note(Severity::Error, quoted(word) +
                              " is no command: a line starts with tone, sweep, delay, pause, "
                              "rem, repeat or end");
  }
  return false;
}

void Checker::checkLayout(std::string_view trimmed, int reached) {
  for (int k = 2; k <= reached; ++k) {
    if (fields_[k].empty()) {
      note(Severity::Warning, "two spaces in a row leave field " + std::to_string(k) +
                                  " empty: every argument after it moves one field on");
      break;
    }
  }
  int spaces = 0;
  for (size_t at = 0; at < trimmed.size(); ++at) {
    if (trimmed[at] == ' ' && ++spaces == ScriptFields::kCount) {
      note(Severity::Warning,
           "the text after the ninth space is ignored: " + quoted(trimmed.substr(at + 1)));
      break;
    }
  }
}

void Checker::checkCarriedOver(std::span<const FieldUse> uses, int reached) {
  std::string carried;
  for (const FieldUse& use : uses) {
    if (use.field <= reached || origin_[use.field] == 0) continue;
    carried += std::string(carried.empty() ? "" : ", ") + use.name + " " +
               quoted(fields_[use.field]) + " (line " + std::to_string(origin_[use.field]) + ")";
  }
  if (!carried.empty()) {
    note(Severity::Warning,
         "fields missing from this line carry over from earlier lines: " + carried);
  }
}

void Checker::checkValues(std::span<const FieldUse> uses, int reached) {
  const auto pulses = std::find_if(uses.begin(), uses.end(), [](const FieldUse& use) {
    return use.quantity == Quantity::Pulses;
  });
  const bool pulsed = pulses != uses.end() && LenientInteger(fields_[pulses->field]) > 0;
  for (const FieldUse& use : uses) {
    const std::string& text = fields_[use.field];
    switch (use.quantity) {
      case Quantity::Frequency:
        judged(use, judgeFrequency(text, bandwidth_), " at bandwidth " + bandwidth_);
        break;
      case Quantity::Period:
        judged(use, judgePeriod(text));
        break;
      // Without them the window plays a continuous tone at full level.
      case Quantity::Pulses:
        if (!text.empty()) judged(use, judgePulses(text, sampleRate_));
        break;
      case Quantity::Level:
        if (!text.empty()) judged(use, judgeLevel(text));
        break;
      case Quantity::Duty:
        if (pulsed) judged(use, judgeDuty(text));
        break;
      case Quantity::SweepLaw:
        if (use.field <= reached && text != "0" && text != "1") {
          note(Severity::Warning, "sweep law " + quoted(text) +
                                      ": only \"1\" sweeps logarithmically, anything else "
                                      "linearly");
        }
        break;
      case Quantity::Seconds:
        try {
          if (StrictInteger(text) <= 0) {
            note(Severity::Warning, "seconds " + quoted(text) +
                                        ": a delay of 0 seconds or less lasts one step of 0.1 s");
          }
        } catch (const ToneError& e) {
          note(Severity::Error,
               (text.empty() ? "no seconds (field 2)" : "seconds " + quoted(text)) +
                   ": a delay lasts a whole number of seconds; the run stops "
                   "with \"" +
                   e.what() + "\"");
        }
        break;
    }
  }
}

void Checker::judged(const FieldUse& use, const ValueJudgement& judgement,
                     const std::string& where) {
  const std::string& text = fields_[use.field];
  const std::string value =
      text.empty() ? std::string("no ") + use.name + " (field " + std::to_string(use.field) + ")"
                   : use.name + (" " + quoted(text));
  if (judgement.verdict == ValueVerdict::NotAsWritten) {
    note(Severity::Error, value + ": " + judgement.rule + where);
  } else if (judgement.verdict == ValueVerdict::BeyondSpinRange) {
    note(Severity::Warning,
         value + " plays as written, beyond the window's range: " + judgement.rule + where);
  }
}

void Checker::checkUnused(std::span<const FieldUse> uses, int reached) {
  const int lastUsed = uses.empty() ? 1 : uses.back().field;
  std::string unused;
  for (int k = lastUsed + 1; k <= reached; ++k)
    if (!fields_[k].empty()) unused += " " + quoted(fields_[k]);
  if (!unused.empty()) note(Severity::Warning, "not used by " + fields_[1] + ":" + unused);
}

void Checker::addToPass(std::span<const FieldUse> uses) {
  if (passEnded_ || uses.empty()) return;
  ScriptPass& pass = result_.pass;
  pass.sounds = true;
  if (uses.front().quantity == Quantity::Seconds) {
    try {
      pass.seconds += static_cast<double>(delaySteps(StrictInteger(fields_[2]))) / 10;
    } catch (const ToneError&) {
      // the run stops here; the error is reported
    }
    return;
  }
  const auto period = std::find_if(uses.begin(), uses.end(), [](const FieldUse& use) {
    return use.quantity == Quantity::Period;
  });
  pass.seconds += std::max(0, LenientInteger(fields_[period->field]));
}

void Checker::endPass(ScriptPass::Ending ending, int line) {
  if (passEnded_) return;
  passEnded_ = true;
  result_.pass.ending = ending;
  result_.pass.endingLine = line;
}

}  // namespace

bool isScriptCommand(std::string_view word) {
  return std::find(std::begin(kCommands), std::end(kCommands), word) != std::end(kCommands);
}

bool ScriptCheck::hasErrors() const {
  return std::any_of(findings.begin(), findings.end(),
                     [](const ScriptFinding& f) { return f.severity == Severity::Error; });
}

ScriptCheck checkScript(const std::vector<std::string>& lines, const std::string& bandwidth) {
  return Checker(bandwidth).read(lines);
}

std::string formatFinding(const std::string& fileName, const ScriptFinding& finding) {
  return fileName + ":" + std::to_string(finding.line) + ": " +
         (finding.severity == Severity::Error ? "error: " : "warning: ") + finding.message;
}

}  // namespace quor
