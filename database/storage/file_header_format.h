#pragma once
// The database file map and the 12-byte file header at its start: the format signature and
// the version text. The file reader checks both before it opens a database; the creator
// writes them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace database::storage {

// Where the fixed parts of a database lie (absolute file offsets, frozen).
inline constexpr std::int32_t kFileHeaderOffset = 0;
inline constexpr std::size_t kFileHeaderSize = 12;
inline constexpr std::size_t kReservedAreaSize = 2305;  // after the header, never interpreted
inline constexpr std::int32_t kDataProcessBlockOffset = 2317;
inline constexpr std::int32_t kTableDirectoryOffset = 2789;
inline constexpr std::int32_t kFirstFreeOffset = 3821;  // where tables of a new file start

inline constexpr std::size_t kSignatureSize = 7;
inline constexpr std::size_t kVersionOffset = kSignatureSize;
inline constexpr std::size_t kVersionSize = 5;
static_assert(kVersionOffset + kVersionSize == kFileHeaderSize);
static_assert(kFileHeaderSize + kReservedAreaSize == kDataProcessBlockOffset);

// The format signature, before its NUL (frozen: every database file carries it).
inline constexpr std::array<std::uint8_t, 6> kSignature = {0x54, 0x69, 0x6E, 0x79, 0x44, 0x42};
// The version this system writes and the newest it reads.
inline constexpr char kCurrentVersion[] = "2.0";

struct TFileHeader {
  std::string signature;  // up to the first NUL of the 7-byte field
  std::string version;    // up to the first NUL of the 5-byte field
};

// Decodes the first kFileHeaderSize bytes; raises the database error "Database file is
// damaged" when fewer are given.
TFileHeader DecodeFileHeader(std::span<const std::uint8_t> bytes);
// Writes the header into out[0, kFileHeaderSize); texts are cut and NUL-padded.
void EncodeFileHeader(const TFileHeader& header, std::span<std::uint8_t> out);

// True when the signature field holds exactly the format signature.
bool HasDatabaseSignature(const TFileHeader& header);

}  // namespace database::storage
