#include "database/access/value_convert.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "database/access/access_error.h"
#include "database/storage/table_io.h"
#include "platform/local_time.h"

namespace database::access {
namespace {

constexpr std::int64_t kMSecsPerDay = 86'400'000;
// Day number (from 1 January of year 1) of 30 December 1899, the date-time value 0.
constexpr std::int32_t kDateDelta = 693'594;

constexpr char kNoBreakSpace = static_cast<char>(0xA0);

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == kNoBreakSpace;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

// The number text in the C form that from_chars reads: group separators dropped, the
// locale's decimal separator as ".", a parenthesised value as a leading "-". Empty when the
// text cannot be a number.
std::string NormalizeNumber(std::string_view text, const platform::TLocaleFormat& format) {
  text = Trim(text);
  bool negative = false;
  if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
    negative = true;
    text = Trim(text.substr(1, text.size() - 2));
  }
  std::string result = negative ? "-" : "";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == format.decimal_separator) {
      result += '.';
    } else if (IsBlank(c) || (format.thousand_separator != 0 && c == format.thousand_separator)) {
      // A group separator stands between digits only.
      const bool between =
          i > 0 && i + 1 < text.size() && IsDigit(text[i - 1]) && IsDigit(text[i + 1]);
      if (!between) {
        return {};
      }
    } else if (c == '+' && result.empty() && i + 1 < text.size()) {
      continue;
    } else if (c == '-' && negative && result.size() == 1) {
      return {};
    } else {
      result += c;
    }
  }
  return result == "-" ? std::string{} : result;
}

template <class TNumber>
bool ParseWhole(std::string_view text, TNumber& value) {
  if (text.empty()) {
    return false;
  }
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc{} && end == text.data() + text.size();
}

std::vector<int> SplitNumbers(std::string_view text, std::string_view separators, bool& ok) {
  std::vector<int> numbers;
  ok = true;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of(separators, start);
    if (end == std::string_view::npos) {
      end = text.size();
    }
    int number = 0;
    if (!ParseWhole(text.substr(start, end - start), number) || number < 0) {
      ok = false;
      return numbers;
    }
    numbers.push_back(number);
    start = end + 1;
  }
  return numbers;
}

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

bool ValidDate(int year, int month, int day) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) {
    return false;
  }
  const int last = kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
  return day <= last;
}

bool TryParseDate(std::string_view text, const platform::TLocaleFormat& format, TDateTime& value) {
  std::string separators = "/-.";
  separators += format.date_separator;
  bool ok = false;
  const std::vector<int> numbers = SplitNumbers(text, separators, ok);
  if (!ok || (numbers.size() != 2 && numbers.size() != 3)) {
    return false;
  }
  int year = platform::LocalNow().year;
  int month = 0;
  int day = 0;
  std::size_t n = 0;
  for (const char part : format.date_order) {
    if (part == 'Y' && numbers.size() == 2) {
      continue;
    }
    const int number = numbers[n++];
    if (part == 'D') {
      day = number;
    } else if (part == 'M') {
      month = number;
    } else {
      year = number;
      if (number < 100) {
        year = number < 50 ? 2000 + number : 1900 + number;
      }
    }
  }
  if (!ValidDate(year, month, day)) {
    return false;
  }
  value = EncodeDate(year, month, day);
  return true;
}

bool TryParseTime(std::string_view text, const platform::TLocaleFormat& format, TDateTime& value) {
  int millisecond = 0;
  const std::size_t dot = text.find_first_of(".,");
  if (dot != std::string_view::npos) {
    const std::string_view fraction = text.substr(dot + 1);
    if (fraction.empty() || fraction.size() > 3 || !ParseWhole(fraction, millisecond)) {
      return false;
    }
    for (std::size_t i = fraction.size(); i < 3; ++i) {
      millisecond *= 10;
    }
    text = text.substr(0, dot);
  }
  std::string separators = ":";
  separators += format.time_separator;
  bool ok = false;
  const std::vector<int> numbers = SplitNumbers(text, separators, ok);
  if (!ok || numbers.size() < 2 || numbers.size() > 3) {
    return false;
  }
  const int second = numbers.size() == 3 ? numbers[2] : 0;
  if (numbers[0] > 23 || numbers[1] > 59 || second > 59) {
    return false;
  }
  value = EncodeTime(numbers[0], numbers[1], second, millisecond);
  return true;
}

std::string TwoDigits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", value % 100);
  return text;
}

}  // namespace

double TextToFloat(std::string_view text, const platform::TLocaleFormat& format) {
  const std::string normal = NormalizeNumber(text, format);
  double value = 0;
  if (!ParseWhole(std::string_view(normal), value) || !std::isfinite(value)) {
    RaiseAccessError(TAccessMessage::InvalidFloat, text);
  }
  return value;
}

std::int64_t TextToInteger(std::string_view text, const platform::TLocaleFormat& format) {
  const std::string normal = NormalizeNumber(text, format);
  std::int64_t value = 0;
  if (!ParseWhole(std::string_view(normal), value)) {
    RaiseAccessError(TAccessMessage::InvalidInteger, text);
  }
  return value;
}

bool TextToBoolean(std::string_view text) {
  const std::string_view trimmed = Trim(text);
  if (trimmed.empty()) {
    return false;
  }
  const auto starts = [&](std::string_view word) {
    if (trimmed.size() > word.size()) {
      return false;
    }
    for (std::size_t i = 0; i < trimmed.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(trimmed[i])) != word[i]) {
        return false;
      }
    }
    return true;
  };
  if (starts("true")) {
    return true;
  }
  if (starts("false")) {
    return false;
  }
  RaiseAccessError(TAccessMessage::InvalidBoolean, text);
}

TDateTime TextToDate(std::string_view text, const platform::TLocaleFormat& format) {
  TDateTime value;
  if (!TryParseDate(Trim(text), format, value)) {
    RaiseAccessError(TAccessMessage::InvalidDate, text);
  }
  return value;
}

TDateTime TextToTime(std::string_view text, const platform::TLocaleFormat& format) {
  TDateTime value;
  if (!TryParseTime(Trim(text), format, value)) {
    RaiseAccessError(TAccessMessage::InvalidTime, text);
  }
  return value;
}

TDateTime TextToDateTime(std::string_view text, const platform::TLocaleFormat& format) {
  const std::string_view trimmed = Trim(text);
  const std::size_t blank = trimmed.find_first_of(" \t");
  TDateTime date;
  TDateTime time;
  bool ok = false;
  if (blank == std::string_view::npos) {
    ok = TryParseDate(trimmed, format, date) || TryParseTime(trimmed, format, time);
  } else {
    ok = TryParseDate(trimmed.substr(0, blank), format, date) &&
         TryParseTime(Trim(trimmed.substr(blank)), format, time);
  }
  if (!ok) {
    RaiseAccessError(TAccessMessage::InvalidDateTime, text);
  }
  // Before 1899-12-30 the time of day counts away from zero, as the date-time form keeps it.
  return TDateTime{date.value < 0 ? date.value - time.value : date.value + time.value};
}

std::string FloatToText(double value, const platform::TLocaleFormat& format) {
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, error == std::errc{} ? end : buffer);
  for (char& c : text) {
    if (c == '.') {
      c = format.decimal_separator;
    }
  }
  return text;
}

std::string DateToText(TDateTime value, const platform::TLocaleFormat& format) {
  int year = 0;
  int month = 0;
  int day = 0;
  DecodeDate(value, year, month, day);
  std::string text;
  for (const char part : format.date_order) {
    if (!text.empty()) {
      text += format.date_separator;
    }
    if (part == 'D') {
      text += TwoDigits(day);
    } else if (part == 'M') {
      text += TwoDigits(month);
    } else {
      text += format.four_digit_year ? std::to_string(year) : TwoDigits(year);
    }
  }
  return text;
}

std::string TimeToText(TDateTime value, const platform::TLocaleFormat& format) {
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  DecodeTime(value, hour, minute, second, millisecond);
  return TwoDigits(hour) + format.time_separator + TwoDigits(minute) + format.time_separator +
         TwoDigits(second);
}

std::string DateTimeToText(TDateTime value, const platform::TLocaleFormat& format) {
  std::string text = DateToText(value, format);
  if (DateTimeToStoredTime(value) != 0) {
    text += ' ';
    text += TimeToText(value, format);
  }
  return text;
}

TDateTime EncodeDate(int year, int month, int day) {
  if (!ValidDate(year, month, day)) {
    RaiseAccessError(
        TAccessMessage::InvalidDate,
        std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day));
  }
  return TDateTime{static_cast<double>(storage::DateToDayNumber(year, month, day) - kDateDelta)};
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  const std::int64_t ms = ((std::int64_t{hour} * 60 + minute) * 60 + second) * 1000 + millisecond;
  return TDateTime{static_cast<double>(ms) / kMSecsPerDay};
}

std::int32_t DateTimeToStoredDate(TDateTime value) {
  const double whole = std::trunc(value.value);
  std::int32_t day = kDateDelta + static_cast<std::int32_t>(whole);
  if (value.value >= 0 && DateTimeToStoredTime(value) == 0 &&
      std::round(std::abs(value.value - whole) * kMSecsPerDay) >= kMSecsPerDay) {
    ++day;  // a fraction that rounds up to a whole day
  }
  return day;
}

std::int32_t DateTimeToStoredTime(TDateTime value) {
  const double fraction = std::abs(value.value - std::trunc(value.value));
  const auto ms = static_cast<std::int64_t>(std::round(fraction * kMSecsPerDay));
  return static_cast<std::int32_t>(ms >= kMSecsPerDay ? 0 : ms);
}

double DateTimeToStoredDateTime(TDateTime value) {
  return static_cast<double>(DateTimeToStoredDate(value)) * kMSecsPerDay +
         DateTimeToStoredTime(value);
}

TDateTime StoredDateToDateTime(std::int32_t day_number) {
  if (day_number <= 0) {
    return TDateTime{};
  }
  return TDateTime{static_cast<double>(day_number - kDateDelta)};
}

TDateTime StoredTimeToDateTime(std::int32_t milliseconds) {
  if (milliseconds < 0 || milliseconds >= kMSecsPerDay) {
    return TDateTime{};
  }
  return TDateTime{static_cast<double>(milliseconds) / kMSecsPerDay};
}

TDateTime StoredDateTimeToDateTime(double stored) {
  if (!std::isfinite(stored) || stored < kMSecsPerDay || stored >= 3'652'060.0 * kMSecsPerDay) {
    return TDateTime{};
  }
  const double days = std::trunc(stored / kMSecsPerDay);
  const double ms = stored - days * kMSecsPerDay;
  const double date = days - kDateDelta;
  return TDateTime{date < 0 ? date - ms / kMSecsPerDay : date + ms / kMSecsPerDay};
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  const std::int32_t day_number = DateTimeToStoredDate(value);
  if (day_number <= 0) {
    year = month = day = 0;
    return;
  }
  storage::DayNumberToDate(day_number, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond) {
  std::int32_t ms = DateTimeToStoredTime(value);
  millisecond = ms % 1000;
  ms /= 1000;
  second = ms % 60;
  ms /= 60;
  minute = ms % 60;
  hour = ms / 60;
}

TDateTime Today() {
  const platform::TLocalDateTime now = platform::LocalNow();
  return EncodeDate(now.year, now.month, now.day);
}

TDateTime Now() {
  const platform::TLocalDateTime now = platform::LocalNow();
  return TDateTime{EncodeDate(now.year, now.month, now.day).value +
                   EncodeTime(now.hour, now.minute, now.second, now.millisecond).value};
}

}  // namespace database::access
