#include "ToneSettingsFormat.h"

#include <array>
#include <variant>

#include "Conversions.h"
#include "ToneError.h"
#include "Windows1252.h"

namespace quor {

namespace {

using TextField = std::string MemoryRecord::*;
using IntegerField = int32_t MemoryRecord::*;
using BooleanField = bool MemoryRecord::*;
using BlockLine = std::variant<TextField, IntegerField, BooleanField>;

// The twelve lines of a slot's block. The order is the file's, not the record's: files
// written by earlier versions put Logarithmic after Loop and the pulse fields last.
constexpr std::array<BlockLine, 12> kBlock = {
    &MemoryRecord::Name,        &MemoryRecord::fEdit,      &MemoryRecord::InitFreq,
    &MemoryRecord::FinalFreq,   &MemoryRecord::ActivePage, &MemoryRecord::Duration,
    &MemoryRecord::Amplitude,   &MemoryRecord::WaveForm,   &MemoryRecord::Loop,
    &MemoryRecord::Logarithmic, &MemoryRecord::Pulses,     &MemoryRecord::DutyCycle,
};

template <class... Handlers>
struct Overloaded : Handlers... {
  using Handlers::operator()...;
};
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

constexpr const char* kLineEnd = "\r\n";
constexpr size_t kLongestNumber = 32;
constexpr const char* kNotANumber = "Invalid numeric input";
constexpr const char* kNotABoolean =
    "Could not convert variant of type (UnicodeString) into type (Boolean)";

// A field from a single-line edit holds no line break; should one get in all the same, it
// must not split the line and shift every field after it.
std::string oneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

bool sameLetters(const std::string& text, std::string_view word) {
  if (text.size() != word.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != word[i]) return false;
  }
  return true;
}

bool toBoolean(const std::string& line) {
  if (sameLetters(line, "true")) return true;
  if (sameLetters(line, "false")) return false;
  try {
    return IntlStrToFloat(line) != 0.0f;
  } catch (const ToneError&) {
    throw ToneError(kNotABoolean);
  }
}

// Reads the file's lines and words with one byte of look-ahead.
class LineReader {
 public:
  explicit LineReader(ByteSource& source) : source_(source) {}

  // The bytes up to the next LF or CR LF, which is taken too; empty at the end of the file.
  std::string line() {
    std::string bytes;
    for (int c = take(); c != ByteSource::kEnd && c != '\n'; c = take()) {
      if (c == '\r' && peek() == '\n') {
        take();
        break;
      }
      bytes += static_cast<char>(c);
    }
    return bytes;
  }

  // A whole number: blanks and line breaks are skipped, then up to 32 characters above the
  // space are the number, and the rest of its line is passed over. 0 at the end of the file.
  int32_t integer() {
    while (peek() != ByteSource::kEnd && peek() <= ' ') take();
    if (peek() == ByteSource::kEnd) return 0;
    std::string word;
    while (word.size() < kLongestNumber && peek() != ByteSource::kEnd && peek() > ' ') {
      word += static_cast<char>(take());
    }
    line();
    try {
      return StrictInteger(word);
    } catch (const ToneError&) {
      throw ToneError(kNotANumber);
    }
  }

 private:
  int peek() {
    if (!peeked_) {
      next_ = source_.next();
      peeked_ = true;
    }
    return next_;
  }
  int take() {
    const int c = peek();
    peeked_ = false;
    return c;
  }

  ByteSource& source_;
  int next_ = ByteSource::kEnd;
  bool peeked_ = false;
};

}  // namespace

std::string formatToneSettings(const Memories& memories) {
  std::string bytes;
  for (const MemoryRecord& record : memories) {
    for (const BlockLine& field : kBlock) {
      std::visit(Overloaded{
                     [&](TextField text) { bytes += encodeWindows1252(oneLine(record.*text)); },
                     [&](IntegerField number) { bytes += std::to_string(record.*number); },
                     [&](BooleanField flag) { bytes += record.*flag ? "True" : "False"; },
                 },
                 field);
      bytes += kLineEnd;
    }
  }
  return bytes;
}

void readToneSettings(ByteSource& source, Memories& memories) {
  LineReader reader(source);
  for (MemoryRecord& record : memories) {
    for (const BlockLine& field : kBlock) {
      std::visit(Overloaded{
                     [&](TextField text) { record.*text = decodeWindows1252(reader.line()); },
                     [&](IntegerField number) { record.*number = reader.integer(); },
                     [&](BooleanField flag) { record.*flag = toBoolean(reader.line()); },
                 },
                 field);
    }
  }
}

}  // namespace quor
