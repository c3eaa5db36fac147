#include "platform/local_time.h"

#include <sys/time.h>
#include <time.h>

namespace platform {

TLocalDateTime LocalNow() {
  timeval now{};
  gettimeofday(&now, nullptr);
  const time_t seconds = now.tv_sec;
  tm local{};
  localtime_r(&seconds, &local);
  return TLocalDateTime{local.tm_year + 1900,
                        local.tm_mon + 1,
                        local.tm_mday,
                        local.tm_hour,
                        local.tm_min,
                        local.tm_sec,
                        static_cast<int>(now.tv_usec / 1000)};
}

}  // namespace platform
