#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace quor {

// Converts a decimal text that uses "," or "." as its decimal separator to float32, under
// any process locale. Throws ToneError "'%s' is not a valid floating point value".
float IntlStrToFloat(const std::string& Str);

// A decimal number with "." as the decimal point and nothing around it but leading blanks,
// rounded to float32; empty when the text is anything else or beyond float32.
std::optional<float> PlainDecimalToFloat(const std::string& text);

// Leading blanks, an optional sign and the digits that follow; never fails (0 when there is
// no number). Values beyond 32 bits saturate.
int32_t LenientInteger(const std::string& text);

// As LenientInteger, with a "." fraction and an exponent; never fails. Extended precision.
long double LenientDecimal(const std::string& text);

// The whole text must be an integer (surrounding blanks allowed) within 32 bits.
// Throws ToneError "'%s' is not a valid integer value".
int32_t StrictInteger(const std::string& text);

// Round to nearest, ties to even, as every rounding to an integer in the engine does.
int32_t RoundHalfEven(long double value);

}  // namespace quor
