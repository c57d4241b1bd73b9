#pragma once
#include <QVariant>
#include <cstdint>
#include <optional>

namespace quor {

// A stored value as the 32-bit unsigned number it stands for, or nothing when it is not a whole
// number from 0 to 4294967295: a text of decimal digits (the INI file's form) or an integer
// (the registry's 32-bit values, taken by their bits).
std::optional<uint32_t> storedWholeNumber(const QVariant& value);

}  // namespace quor
