#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fstream>

#include "platform/host_path.h"

namespace platform {
namespace {

bool Stat(const std::string& path, struct stat& info) {
  return ::stat(HostPath(path).c_str(), &info) == 0;
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat info {};
  return Stat(path, info) && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat info {};
  return Stat(path, info) && S_ISDIR(info.st_mode);
}

bool ForceDirectories(const std::string& path) {
  const std::string host = HostPath(path);
  std::string partial;
  for (std::size_t i = 0; i <= host.size(); ++i) {
    if (i == host.size() || host[i] == '/') {
      partial = host.substr(0, i);
      if (!partial.empty()) {
        ::mkdir(partial.c_str(), 0777);
      }
    }
  }
  struct stat info {};
  return ::stat(host.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool DeleteFile(const std::string& path) { return ::unlink(HostPath(path).c_str()) == 0; }

bool RenameFile(const std::string& from, const std::string& to) {
  const std::string host_to = HostPath(to);
  struct stat info {};
  if (::lstat(host_to.c_str(), &info) == 0) {
    return false;  // like Windows, never replace an existing target
  }
  return std::rename(HostPath(from).c_str(), host_to.c_str()) == 0;
}

std::optional<std::uint32_t> FileGetAttr(const std::string& path) {
  struct stat info {};
  if (!Stat(path, info)) {
    return std::nullopt;
  }
  std::uint32_t attributes = S_ISDIR(info.st_mode) ? kFileAttrDirectory : kFileAttrArchive;
  if ((info.st_mode & S_IWUSR) == 0) {
    attributes |= kFileAttrReadOnly;
  }
  return attributes;
}

bool FileSetAttr(const std::string& path, std::uint32_t attributes) {
  const std::string host = HostPath(path);
  struct stat info {};
  if (::stat(host.c_str(), &info) != 0) {
    return false;
  }
  mode_t mode = info.st_mode & 07777;
  if ((attributes & kFileAttrReadOnly) != 0) {
    mode &= static_cast<mode_t>(~(S_IWUSR | S_IWGRP | S_IWOTH));
  } else {
    mode |= S_IWUSR;
  }
  return ::chmod(host.c_str(), mode) == 0;
}

bool FileSetDosDateTime(const std::string& path, std::uint16_t dos_date, std::uint16_t dos_time) {
  std::tm local{};
  local.tm_year = ((dos_date >> 9) & 0x7F) + 80;
  local.tm_mon = ((dos_date >> 5) & 0x0F) - 1;
  local.tm_mday = dos_date & 0x1F;
  local.tm_hour = (dos_time >> 11) & 0x1F;
  local.tm_min = (dos_time >> 5) & 0x3F;
  local.tm_sec = (dos_time & 0x1F) * 2;
  local.tm_isdst = -1;
  if (local.tm_mon < 0 || local.tm_mon > 11 || local.tm_mday < 1 || local.tm_hour > 23 ||
      local.tm_min > 59 || local.tm_sec > 59) {
    return false;
  }
  const std::time_t when = std::mktime(&local);
  if (when == static_cast<std::time_t>(-1)) {
    return false;
  }
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;  // access time: as the system sets it
  times[1].tv_sec = when;
  times[1].tv_nsec = 0;
  return ::utimensat(AT_FDCWD, HostPath(path).c_str(), times, 0) == 0;
}

std::uint64_t AvailablePhysicalMemory() {
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  std::uint64_t value = 0;
  std::string unit;
  while (meminfo >> key >> value >> unit) {
    if (key == "MemAvailable:") {
      return value * 1024;
    }
  }
  const long pages = ::sysconf(_SC_AVPHYS_PAGES);
  const long page_size = ::sysconf(_SC_PAGESIZE);
  return pages > 0 && page_size > 0
             ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page_size)
             : std::uint64_t{256} << 20;
}

}  // namespace platform
