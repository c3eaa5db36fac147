#include "platform/file_time.h"

#include <sys/stat.h>

#include <ctime>

#include "platform/host_path.h"

namespace platform {

std::optional<std::uint32_t> FileGetDosDateTime(const std::string& path) {
  struct stat info {};
  if (::stat(HostPath(path).c_str(), &info) != 0) {
    return std::nullopt;
  }
  std::tm local{};
  const std::time_t when = info.st_mtime;
  if (::localtime_r(&when, &local) == nullptr || local.tm_year < 80) {
    return (std::uint32_t{(0 << 9) | (1 << 5) | 1} << 16);
  }
  const std::uint32_t date = static_cast<std::uint32_t>(((local.tm_year - 80) << 9) |
                                                        ((local.tm_mon + 1) << 5) | local.tm_mday);
  const std::uint32_t time =
      static_cast<std::uint32_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
  return (date << 16) | time;
}

}  // namespace platform
