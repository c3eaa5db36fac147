#include "platform/locale_format.h"

#include <langinfo.h>
#include <locale.h>

#include <cstring>

namespace platform {
namespace {

// A separator the locale gives as UTF-8: kept when it is ASCII, the no-break space (which
// 1252 holds as 0xA0) for the no-break spaces, otherwise none.
char SingleByteSeparator(const char* text, char fallback) {
  if (text == nullptr || text[0] == '\0') {
    return fallback;
  }
  const auto first = static_cast<unsigned char>(text[0]);
  if (first < 0x80) {
    return text[0];
  }
  if (std::strcmp(text, "\xC2\xA0") == 0 || std::strcmp(text, "\xE2\x80\xAF") == 0) {
    return static_cast<char>(0xA0);
  }
  return fallback;
}

TLocaleFormat ReadLocaleFormat() {
  TLocaleFormat format;
  locale_t locale = newlocale(LC_NUMERIC_MASK | LC_TIME_MASK, "", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) {
    return format;
  }
  format.decimal_separator = SingleByteSeparator(nl_langinfo_l(RADIXCHAR, locale), '.');
  format.thousand_separator = SingleByteSeparator(nl_langinfo_l(THOUSEP, locale), 0);
  if (format.thousand_separator == format.decimal_separator) {
    format.thousand_separator = 0;
  }
  // The short date pattern, for example "%d/%m/%Y" or "%m/%d/%y".
  const std::string pattern = nl_langinfo_l(D_FMT, locale);
  std::string order;
  for (std::size_t i = 0; i + 1 < pattern.size(); ++i) {
    if (pattern[i] != '%') {
      continue;
    }
    const char code = pattern[i + 1];
    if (code == 'd' || code == 'e') {
      order += 'D';
    } else if (code == 'm') {
      order += 'M';
    } else if (code == 'y' || code == 'Y') {
      order += 'Y';
      format.four_digit_year = code == 'Y';
    } else if (code == 'F') {
      order = "YMD";
      format.four_digit_year = true;
      format.date_separator = '-';
    }
    if (order.size() == 1 && i + 2 < pattern.size() && pattern[i + 2] != '%') {
      format.date_separator = pattern[i + 2];
    }
    ++i;
  }
  if (order == "DMY" || order == "MDY" || order == "YMD") {
    format.date_order = order;
  }
  const std::string time_pattern = nl_langinfo_l(T_FMT, locale);
  const std::size_t hour = time_pattern.find("%H");
  if (hour != std::string::npos && hour + 2 < time_pattern.size() &&
      time_pattern[hour + 2] != '%') {
    format.time_separator = time_pattern[hour + 2];
  }
  freelocale(locale);
  return format;
}

}  // namespace

const TLocaleFormat& UserLocaleFormat() {
  static const TLocaleFormat format = ReadLocaleFormat();
  return format;
}

}  // namespace platform
