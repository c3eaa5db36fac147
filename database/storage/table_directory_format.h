#pragma once
// The table directory (1032 bytes at kTableDirectoryOffset): the number of tables and the
// offset of each table's header. Its order is the file's table order: a table's number is its
// position here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace database::storage {

inline constexpr std::size_t kTableDirectorySize = 1032;
inline constexpr std::size_t kTableCountOffset = 0;
inline constexpr std::size_t kTableHeaderOffsetsOffset = 8;
inline constexpr std::size_t kMaxTables = 256;
static_assert(kTableHeaderOffsetsOffset + kMaxTables * 4 == kTableDirectorySize);

struct TTableDirectory {
  std::int32_t table_count = 0;  // 0..kMaxTables
  // Entry i: absolute offset of the header of table number i; entries from table_count on
  // are neither read nor written.
  std::array<std::int32_t, kMaxTables> header_offsets{};
};

// Raises "Database file is damaged" on a short buffer or a table count outside 0..256.
TTableDirectory DecodeTableDirectory(std::span<const std::uint8_t> bytes);
// Writes the count and the first table_count entries; other bytes stay as they are.
void EncodeTableDirectory(const TTableDirectory& directory, std::span<std::uint8_t> out);

}  // namespace database::storage
