#pragma once
// The user's regional formats for numbers, dates and times, as the engines' text conversions
// need them: separators and the order of the date parts. Taken from the user's locale
// (LC_ALL, LC_NUMERIC / LC_TIME, LANG); the C locale's values when none is set.

#include <string>

namespace platform {

struct TLocaleFormat {
  char decimal_separator = '.';
  char thousand_separator = ',';  // 0: the locale groups with a character 1252 cannot hold
  char date_separator = '/';
  char time_separator = ':';
  // The order of day, month and year in a short date: "DMY", "MDY" or "YMD".
  std::string date_order = "MDY";
  bool four_digit_year = false;  // the short date shows the year with four digits
};

// Read once per process and cached; the locale does not change while the program runs.
const TLocaleFormat& UserLocaleFormat();

}  // namespace platform
