#include "AppSettingsValue.h"

#include <QString>
#include <limits>

namespace quor {

namespace {

constexpr uint64_t kLargest = std::numeric_limits<uint32_t>::max();

std::optional<uint32_t> fromDigits(const QString& text) {
  const QString digits = text.trimmed();
  if (digits.isEmpty() || digits.size() > 10) return std::nullopt;
  uint64_t number = 0;
  for (QChar c : digits) {
    if (c < u'0' || c > u'9') return std::nullopt;
    number = number * 10 + static_cast<uint64_t>(c.unicode() - u'0');
  }
  if (number > kLargest) return std::nullopt;
  return static_cast<uint32_t>(number);
}

}  // namespace

std::optional<uint32_t> storedWholeNumber(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::QString:
      return fromDigits(value.toString());
    case QMetaType::Int:
      // The registry hands its 32-bit values over as signed integers.
      return static_cast<uint32_t>(value.toInt());
    case QMetaType::UInt:
      return value.toUInt();
    case QMetaType::LongLong: {
      const qlonglong number = value.toLongLong();
      if (number < 0 || static_cast<uint64_t>(number) > kLargest) return std::nullopt;
      return static_cast<uint32_t>(number);
    }
    case QMetaType::ULongLong: {
      const qulonglong number = value.toULongLong();
      if (number > kLargest) return std::nullopt;
      return static_cast<uint32_t>(number);
    }
    default:
      return std::nullopt;
  }
}

}  // namespace quor
