#include "database/access/field_json.h"

#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "database/access/access_error.h"
#include "database/access/field.h"
#include "database/access/table_blob_stream.h"
#include "database/access/value_convert.h"
#include "database/storage/field_types.h"
#include "database/storage/table_io.h"
#include "platform/code_page.h"

namespace database::access {
namespace {

using storage::TJsonValue;

constexpr double kMSecsPerDay = 86'400'000.0;

// Dates print with the stored day number's calendar date, so every stored date (year 1 to
// 9999) reads back as itself.
std::string DateText(std::int32_t day_number) {
  int year = 0;
  int month = 0;
  int day = 0;
  storage::DayNumberToDate(day_number, year, month, day);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  return text;
}

// `ms`: milliseconds since midnight.
std::string TimeText(std::int32_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", ms / 3600000, ms / 60000 % 60,
                ms / 1000 % 60, ms % 1000);
  return text;
}

std::string Hex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (const std::uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

TJsonValue Integer(std::int64_t value) {
  return TJsonValue::Number(static_cast<double>(value), std::to_string(value));
}

[[noreturn]] void BadValue(const TField& field, const std::string& why) {
  throw EDatabaseError("field '" + field.FieldName() + "': " + why);
}

int Digits(std::string_view text, std::size_t at, std::size_t count, const TField& field) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) {
      BadValue(field, "'" + std::string(text) + "' is not in the expected form");
    }
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// The stored day number of "YYYY-MM-DD".
std::int32_t ParseDate(std::string_view text, const TField& field) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
    BadValue(field, "a date is YYYY-MM-DD");
  }
  const int year = Digits(text, 0, 4, field);
  const int month = Digits(text, 5, 2, field);
  const int day = Digits(text, 8, 2, field);
  int y = 0;
  int m = 0;
  int d = 0;
  storage::DayNumberToDate(storage::DateToDayNumber(year, month, day), y, m, d);
  if (year < 1 || y != year || m != month || d != day) {
    BadValue(field, "'" + std::string(text) + "' is not a date");
  }
  return storage::DateToDayNumber(year, month, day);
}

// Milliseconds since midnight of "HH:MM:SS.mmm".
std::int32_t ParseTime(std::string_view text, const TField& field) {
  if (text.size() != 12 || text[2] != ':' || text[5] != ':' || text[8] != '.') {
    BadValue(field, "a time is HH:MM:SS.mmm");
  }
  const int h = Digits(text, 0, 2, field);
  const int m = Digits(text, 3, 2, field);
  const int s = Digits(text, 6, 2, field);
  const int ms = Digits(text, 9, 3, field);
  if (h > 23 || m > 59 || s > 59) {
    BadValue(field, "'" + std::string(text) + "' is not a time");
  }
  return ((h * 60 + m) * 60 + s) * 1000 + ms;
}

std::vector<std::uint8_t> ParseHex(const std::string& text, const TField& field) {
  if (text.size() % 2 != 0) {
    BadValue(field, "a BLOB is an even number of hexadecimal digits");
  }
  const auto digit = [&](char c) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) {
      BadValue(field, "a BLOB is a string of hexadecimal digits");
    }
    return std::isdigit(static_cast<unsigned char>(c))
               ? c - '0'
               : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
  };
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size() / 2);
  for (std::size_t i = 0; i < text.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(digit(text[i]) * 16 + digit(text[i + 1])));
  }
  return bytes;
}

// Writes through the field object, whose conversion and range rules apply; its error gets the
// field's name in front.
void Assign(TField& field, const TValue& value) {
  try {
    field.SetValue(value);
  } catch (const EDatabaseError& error) {
    BadValue(field, error.what());
  }
}

// The field's value as a date-time; a stored form that does not convert reads as 0.
TDateTime DateTimeOf(const TField& field) {
  const TValue value = field.Value();
  const auto* date_time = std::get_if<TDateTime>(&value);
  return date_time != nullptr ? *date_time : TDateTime{};
}

// A value of a kind no listed field type gives, in its natural JSON form.
TJsonValue OtherToJson(const TValue& value) {
  if (const auto* b = std::get_if<bool>(&value)) {
    return TJsonValue::Boolean(*b);
  }
  if (const auto* i = std::get_if<std::int64_t>(&value)) {
    return Integer(*i);
  }
  if (const auto* d = std::get_if<double>(&value)) {
    return TJsonValue::Number(*d);
  }
  if (const auto* s = std::get_if<std::string>(&value)) {
    return TJsonValue::String(platform::AnsiToUtf8(*s));
  }
  if (const auto* t = std::get_if<TDateTime>(&value)) {
    return TJsonValue::Number(t->value);
  }
  return TJsonValue();
}

}  // namespace

TJsonValue FieldToJson(TField& field) {
  if (field.IsBlob()) {
    TTableBlobStream stream(field, TBlobStreamMode::bmRead);
    std::vector<std::uint8_t> bytes(stream.Size());
    stream.Seek(0);
    bytes.resize(stream.Read(bytes.data(), bytes.size()));
    return TJsonValue::String(Hex(bytes));
  }
  switch (field.DataType()) {
    case storage::ftDate:
      return TJsonValue::String(DateText(DateTimeToStoredDate(DateTimeOf(field))));
    case storage::ftTime:
      return TJsonValue::String(TimeText(DateTimeToStoredTime(DateTimeOf(field))));
    case storage::ftDateTime: {
      const TDateTime value = DateTimeOf(field);
      return TJsonValue::String(DateText(DateTimeToStoredDate(value)) + "T" +
                                TimeText(DateTimeToStoredTime(value)));
    }
    default:
      return OtherToJson(field.Value());
  }
}

void JsonToField(const TJsonValue& json, TField& field) {
  try {
    if (field.IsBlob()) {
      const std::vector<std::uint8_t> bytes = ParseHex(json.AsString(), field);
      TTableBlobStream(field, TBlobStreamMode::bmWrite).Write(bytes);
      return;
    }
    switch (field.DataType()) {
      case storage::ftString:
      case storage::ftFixedChar: {
        // The field would cut a longer text to its size; the tool refuses it instead, so
        // that nothing typed is lost unnoticed.
        const std::string text = platform::Utf8ToAnsi(json.AsString());
        if (text.size() > static_cast<std::size_t>(field.Size())) {
          BadValue(field, "text longer than " + std::to_string(field.Size()) + " characters");
        }
        Assign(field, TValue(text));
        return;
      }
      case storage::ftSmallint:
      case storage::ftWord:
      case storage::ftInteger:
      case storage::ftAutoInc:
      case storage::ftLargeint:
        Assign(field, TValue(json.AsInteger()));
        return;
      case storage::ftBoolean:
        Assign(field, TValue(json.AsBoolean()));
        return;
      case storage::ftFloat:
      case storage::ftCurrency:
        Assign(field, TValue(json.AsNumber()));
        return;
      case storage::ftDate:
        Assign(field, TValue(StoredDateToDateTime(ParseDate(json.AsString(), field))));
        return;
      case storage::ftTime:
        Assign(field, TValue(StoredTimeToDateTime(ParseTime(json.AsString(), field))));
        return;
      case storage::ftDateTime: {
        const std::string& text = json.AsString();
        if (text.size() != 23 || text[10] != 'T') {
          BadValue(field, "a date-time is YYYY-MM-DDTHH:MM:SS.mmm");
        }
        const double stored =
            static_cast<double>(ParseDate(text.substr(0, 10), field)) * kMSecsPerDay +
            ParseTime(text.substr(11), field);
        Assign(field, TValue(StoredDateTimeToDateTime(stored)));
        return;
      }
      default:
        RaiseAccessError(TAccessMessage::InvalidConversion, field.FieldName());
    }
  } catch (const storage::EJsonError& error) {
    BadValue(field, error.what());
  }
}

}  // namespace database::access
