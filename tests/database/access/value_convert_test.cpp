// Text and date conversions of the field layer, in fixed regional formats.

#include "database/access/value_convert.h"

#include <gtest/gtest.h>

#include "database/access/access_error.h"

namespace database::access {
namespace {

platform::TLocaleFormat French() {
  platform::TLocaleFormat format;
  format.decimal_separator = ',';
  format.thousand_separator = static_cast<char>(0xA0);
  format.date_order = "DMY";
  format.four_digit_year = true;
  return format;
}

platform::TLocaleFormat English() {
  platform::TLocaleFormat format;
  format.decimal_separator = '.';
  format.thousand_separator = ',';
  format.date_order = "MDY";
  format.four_digit_year = true;
  return format;
}

TEST(TValueConvert, NumbersInTheNumericEditsDisplayForm) {
  struct TCase {
    const char* text;
    double french;
    double english;
  };
  constexpr TCase kCases[] = {
      {"1 234 567", 1234567, 1234567},
      {"1\xA0"
       "234\xA0"
       "567,50",
       1234567.5, 0},
      {"(1 500)", -1500, -1500},
      {"-12", -12, -12},
      {"  42  ", 42, 42},
      {"1,234.5", 0, 1234.5},
      {"3.25", 3.25, 3.25},
  };
  for (const TCase& c : kCases) {
    SCOPED_TRACE(c.text);
    if (c.french != 0) {
      EXPECT_EQ(TextToFloat(c.text, French()), c.french);
    }
    if (c.english != 0) {
      EXPECT_EQ(TextToFloat(c.text, English()), c.english);
    }
  }
  for (const char* bad : {"", "abc", "1 2 3x", "(-5)", "( )", "1e999", "1  000", "nan"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(TextToFloat(bad, French()), EDatabaseError);
  }
  EXPECT_EQ(TextToInteger("1 024", French()), 1024);
  EXPECT_THROW(TextToInteger("1,5", French()), EDatabaseError);
  EXPECT_EQ(FloatToText(1234.5, French()), "1234,5");
}

TEST(TValueConvert, DatesTimesAndStoredForms) {
  // 30 December 1899 is the date-time value 0 and day 693594 counted from 1 January of year 1.
  EXPECT_EQ(EncodeDate(1899, 12, 30), TDateTime{0});
  EXPECT_EQ(DateTimeToStoredDate(TDateTime{0}), 693594);
  EXPECT_EQ(DateTimeToStoredDate(EncodeDate(1, 1, 1)), 1);
  EXPECT_EQ(DateTimeToStoredDateTime(TDateTime{0.5}), 693594.0 * 86400000 + 43200000);
  EXPECT_EQ(StoredDateTimeToDateTime(693594.0 * 86400000 + 43200000), TDateTime{0.5});
  EXPECT_EQ(StoredDateTimeToDateTime(0), TDateTime{0});  // does not convert: 0
  EXPECT_EQ(StoredDateTimeToDateTime(-5e9), TDateTime{0});
  EXPECT_EQ(StoredTimeToDateTime(43200000), TDateTime{0.5});
  EXPECT_EQ(StoredDateToDateTime(0), TDateTime{0});
  const TDateTime date = TextToDate("15/12/2015", French());
  EXPECT_EQ(date, EncodeDate(2015, 12, 15));
  EXPECT_EQ(DateToText(date, French()), "15/12/2015");
  EXPECT_EQ(TextToDate("12/15/15", English()), date);
  const TDateTime both = TextToDateTime("15/12/2015 13:45:30", French());
  EXPECT_EQ(DateTimeToText(both, French()), "15/12/2015 13:45:30");
  EXPECT_EQ(TimeToText(TextToTime("7:05", French()), French()), "07:05:00");
  for (const char* bad : {"31/02/2015", "2015", "15/12/2015 25:00", "aa/bb/cccc"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(TextToDateTime(bad, French()), EDatabaseError);
  }
  EXPECT_TRUE(TextToBoolean("true"));
  EXPECT_FALSE(TextToBoolean("F"));
  EXPECT_FALSE(TextToBoolean(""));
  EXPECT_THROW(TextToBoolean("maybe"), EDatabaseError);
}

}  // namespace
}  // namespace database::access
