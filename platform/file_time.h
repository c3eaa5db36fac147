#pragma once
// The last-write time of a file as an MS-DOS date-time in local time, the form ZIP entries
// carry, so that extraction can compare a target with an entry.

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// The last-write time of `path` (engine path) as (date << 16) | time, MS-DOS format, local
// time, two-second resolution; nothing when the file does not exist. Times before 1980 give
// 1980-01-01 00:00.
std::optional<std::uint32_t> FileGetDosDateTime(const std::string& path);

}  // namespace platform
