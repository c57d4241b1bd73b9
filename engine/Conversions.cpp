// Text-to-number conversions of the tone fields. They accept exactly one syntax whatever the
// process locale: the locale is never consulted, "," and "." both mean the decimal point.
#include "Conversions.h"

#include <locale.h>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "ToneError.h"

namespace quor {
namespace {

bool isBlank(char c) {
  return c == ' ';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Strtold in the "C" locale, created once: the decimal point is always ".".
long double parseCLocale(const std::string& number) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return strtold_l(number.c_str(), nullptr, cLocale);
}

// Scans [sign] digits [. digits] [e [sign] digits] from `pos`. Returns the position after
// the number, or npos when no digit was found. `allowFraction` off stops at the integer part.
size_t scanNumber(const std::string& s, size_t pos, bool allowFraction, std::string& out) {
  size_t i = pos;
  out.clear();
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) out += s[i++];
  size_t digits = 0;
  while (i < s.size() && isDigit(s[i])) {
    out += s[i++];
    ++digits;
  }
  if (allowFraction && i < s.size() && s[i] == '.') {
    out += s[i++];
    while (i < s.size() && isDigit(s[i])) {
      out += s[i++];
      ++digits;
    }
  }
  if (digits == 0) return std::string::npos;
  if (allowFraction && i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
    const size_t expStart = j;
    while (j < s.size() && isDigit(s[j])) exponent += s[j++];
    if (j > expStart) {
      out += exponent;
      i = j;
    }
  }
  return i;
}

std::string formatted(const char* pattern, const std::string& text) {
  std::string message = pattern;
  message.replace(message.find("%s"), 2, text);
  return message;
}

size_t skipBlanks(const std::string& s, size_t i) {
  while (i < s.size() && isBlank(s[i])) ++i;
  return i;
}

// The whole text as one float32 number, with trailing blanks allowed or not.
std::optional<float> wholeTextAsFloat(const std::string& text, bool trailingBlanks) {
  std::string number;
  size_t end = scanNumber(text, skipBlanks(text, 0), true, number);
  // A number without an exponent marker must not end in a dangling "e".
  if (end != std::string::npos && trailingBlanks) end = skipBlanks(text, end);
  if (end == std::string::npos || end != text.size()) return std::nullopt;
  const long double value = parseCLocale(number);
  if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) {
    return std::nullopt;
  }
  return static_cast<float>(value);
}

}  // namespace

float IntlStrToFloat(const std::string& Str) {
  std::string text = Str;
  for (char& c : text) {
    if (c == ',') c = '.';
  }
  const std::optional<float> value = wholeTextAsFloat(text, true);
  if (!value) throw ToneError(formatted("'%s' is not a valid floating point value", Str));
  return *value;
}

std::optional<float> PlainDecimalToFloat(const std::string& text) {
  return wholeTextAsFloat(text, false);
}

int32_t LenientInteger(const std::string& text) {
  std::string number;
  if (scanNumber(text, skipBlanks(text, 0), false, number) == std::string::npos) return 0;
  const bool negative = number[0] == '-';
  long long magnitude = 0;
  for (char c : number) {
    if (!isDigit(c)) continue;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > (1LL << 31)) break;
  }
  const long long value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

long double LenientDecimal(const std::string& text) {
  std::string number;
  if (scanNumber(text, skipBlanks(text, 0), true, number) == std::string::npos) return 0.0L;
  return parseCLocale(number);
}

int32_t StrictInteger(const std::string& text) {
  std::string number;
  size_t end = scanNumber(text, skipBlanks(text, 0), false, number);
  if (end != std::string::npos) end = skipBlanks(text, end);
  if (end == std::string::npos || end != text.size()) {
    throw ToneError(formatted("'%s' is not a valid integer value", text));
  }
  const long long value = std::strtoll(number.c_str(), nullptr, 10);
  if (value > std::numeric_limits<int32_t>::max() || value < std::numeric_limits<int32_t>::min()) {
    throw ToneError(formatted("'%s' is not a valid integer value", text));
  }
  return static_cast<int32_t>(value);
}

int32_t RoundHalfEven(long double value) {
  // The engine never changes the rounding mode, so nearbyintl rounds half to even.
  const long double r = nearbyintl(value);
  if (!(r >= std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  if (r > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(r);
}

}  // namespace quor
