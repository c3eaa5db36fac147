#pragma once
// The local date and time of day, for the engines' "today" and "now".

namespace platform {

struct TLocalDateTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

TLocalDateTime LocalNow();

}  // namespace platform
