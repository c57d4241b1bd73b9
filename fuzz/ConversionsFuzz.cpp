// Any text through the conversions of the tone fields. A conversion that succeeds gives a
// finite value, "," and "." mean the same, a failure says the standard text, and the lenient
// readers never fail and agree with the strict ones wherever those succeed.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "Conversions.h"
#include "FuzzProperty.h"
#include "ToneError.h"

namespace {

using namespace quor;
using fuzz::require;

std::string swappedSeparators(std::string text) {
  for (char& c : text) c = c == ',' ? '.' : c == '.' ? ',' : c;
  return text;
}

std::string withPoints(std::string text) {
  for (char& c : text) c = c == ',' ? '.' : c;
  return text;
}

void requireStandardText(const ToneError& error, const std::string& text, const char* kind) {
  const std::string expected = "'" + text + "' is not a valid " + kind + " value";
  // A message is a C string: a NUL in the text ends it there.
  require(error.what() == expected.substr(0, expected.find('\0')),
          std::string("the standard conversion text, not: ") + error.what());
}

void checkFloat(const std::string& text) {
  bool converted = false;
  float value = 0;
  try {
    value = IntlStrToFloat(text);
    converted = true;
  } catch (const ToneError& error) {
    requireStandardText(error, text, "floating point");
  }
  bool swappedConverted = false;
  float swapped = 0;
  try {
    swapped = IntlStrToFloat(swappedSeparators(text));
    swappedConverted = true;
  } catch (const ToneError&) {
  }
  require(converted == swappedConverted, "a comma and a point are the same separator");
  if (!converted) return;
  require(std::isfinite(value), "a converted number is finite");
  require(swapped == value, "a comma and a point give the same number");
  require(static_cast<float>(LenientDecimal(withPoints(text))) == value,
          "the lenient reading of a whole number is that number");
}

void checkIntegers(const std::string& text) {
  const int32_t lenient = LenientInteger(text);
  const long double decimal = LenientDecimal(text);
  require(!std::isnan(decimal), "the lenient decimal is a number");
  try {
    require(StrictInteger(text) == lenient, "the lenient reading of an integer is that integer");
  } catch (const ToneError& error) {
    requireStandardText(error, text, "integer");
  }
}

// The first bytes as an extended-precision number, any bit pattern included.
void checkRounding(const uint8_t* data, size_t size) {
  long double value = 0;
  if (size < 10) return;
  std::memcpy(&value, data, 10);
  const int32_t rounded = RoundHalfEven(value);
  if (!(std::fabs(value) < 2147483647.0L)) return;
  const long double distance = std::fabs(static_cast<long double>(rounded) - value);
  require(distance <= 0.5L, "rounding goes to the nearest integer");
  if (distance == 0.5L) require(rounded % 2 == 0, "ties go to the even integer");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  checkFloat(text);
  checkIntegers(text);
  checkRounding(data, size);
  return 0;
}
