#pragma once
// The values that fields give and take: nothing (no current record), a Boolean, a whole
// number, a floating-point number, a text (Windows-1252 bytes) or a date-time. A date-time is
// the toolkit's form: days since 30 December 1899 00:00 with the time of day as the fraction.

#include <cstdint>
#include <string>
#include <variant>

namespace database::access {

struct TDateTime {
  double value = 0;  // days since 1899-12-30 00:00; fraction: time of day
  bool operator==(const TDateTime&) const = default;
};

using TValue = std::variant<std::monostate, bool, std::int64_t, double, std::string, TDateTime>;

inline bool IsNull(const TValue& value) {
  return std::holds_alternative<std::monostate>(value);
}

}  // namespace database::access
