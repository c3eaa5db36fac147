#pragma once
// Files and folders as the engines and the wizard see them: existence, folder chains, delete,
// rename, attributes, last-write times from MS-DOS date-times, and the available memory.
// Paths are engine paths (Windows-1252, possibly Windows form; see host_path.h).

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Windows attribute bits that have a host meaning; the others are kept by callers as data.
constexpr std::uint32_t kFileAttrReadOnly = 0x01;
constexpr std::uint32_t kFileAttrDirectory = 0x10;
constexpr std::uint32_t kFileAttrArchive = 0x20;

bool FileExists(const std::string& path);       // an existing non-folder
bool DirectoryExists(const std::string& path);  // an existing folder

// Creates the folder and every missing parent; true when the folder exists afterwards.
bool ForceDirectories(const std::string& path);

bool DeleteFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);

// The attributes of an existing file or folder (read-only from the owner's write permission,
// folder, and archive for every plain file), or nothing when it does not exist.
std::optional<std::uint32_t> FileGetAttr(const std::string& path);
// Applies the read-only bit (the owner's write permission); other bits have no host meaning.
bool FileSetAttr(const std::string& path, std::uint32_t attributes);

// Sets the last-write time from an MS-DOS date and time taken as local time; false when the
// file is missing or the date-time is not valid.
bool FileSetDosDateTime(const std::string& path, std::uint16_t dos_date, std::uint16_t dos_time);

// The physical memory available to new allocations, in bytes.
std::uint64_t AvailablePhysicalMemory();

}  // namespace platform
