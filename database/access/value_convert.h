#pragma once
// The conversions between texts and typed values that the field objects apply, in the user's
// regional format (platform/locale_format.h), and between date-time values and the stored
// date and time forms. A text written to a number field may carry the display form of a
// numeric edit: blanks, no-break spaces or the locale's thousands separator between digit
// groups, and a negative value in parentheses; so "1 234 567" reads as 1234567 and
// "(12,50)" as -12.5 in a locale whose decimal separator is ",".
//
// Each parser raises the database error "'%s' is not a valid ..." with the text as given.

#include <cstdint>
#include <string>
#include <string_view>

#include "database/access/field_value.h"
#include "platform/locale_format.h"

namespace database::access {

double TextToFloat(std::string_view text, const platform::TLocaleFormat& format);
std::int64_t TextToInteger(std::string_view text, const platform::TLocaleFormat& format);
// "True" and "False", letter case ignored, also any non-empty start of either ("T", "fa");
// the empty text is False.
bool TextToBoolean(std::string_view text);
// A short date in the locale's order (two-digit years 00..49 are 20xx, 50..99 19xx), a time
// "h:m[:s[.zzz]]", or both separated by blanks.
TDateTime TextToDate(std::string_view text, const platform::TLocaleFormat& format);
TDateTime TextToTime(std::string_view text, const platform::TLocaleFormat& format);
TDateTime TextToDateTime(std::string_view text, const platform::TLocaleFormat& format);

// Shortest text that reads back as the same double, with the locale's decimal separator.
std::string FloatToText(double value, const platform::TLocaleFormat& format);
std::string DateToText(TDateTime value, const platform::TLocaleFormat& format);
std::string TimeToText(TDateTime value, const platform::TLocaleFormat& format);
// The date, and the time when the time of day is not midnight.
std::string DateTimeToText(TDateTime value, const platform::TLocaleFormat& format);
inline std::string BooleanToText(bool value) {
  return value ? "True" : "False";
}

// The calendar: raise "'%s' is not a valid date" (with the numbers) for a date that does not
// exist.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);

// Stored forms: a Date is the day number from 1 January of year 1 (that day is 1), a Time
// the milliseconds since midnight, a DateTime (day number * 86 400 000 + milliseconds) held as
// a double. A stored form that does not convert reads as the date-time value 0.
std::int32_t DateTimeToStoredDate(TDateTime value);
std::int32_t DateTimeToStoredTime(TDateTime value);
double DateTimeToStoredDateTime(TDateTime value);
TDateTime StoredDateToDateTime(std::int32_t day_number);
TDateTime StoredTimeToDateTime(std::int32_t milliseconds);
TDateTime StoredDateTimeToDateTime(double stored);

// The local date (time of day zero) and the local date and time.
TDateTime Today();
TDateTime Now();

}  // namespace database::access
