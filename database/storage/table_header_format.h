#pragma once
// The table header (4821 bytes): the table's name, where its record tab starts, how many
// records it ever had, the last auto-increment value, and its field and index entries. The
// table reader keeps the header's bytes as last read or written and rewrites them whole or
// from kRecordTabOffsetOffset on; this codec decodes them and overlays changed values.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "database/storage/definition_format.h"

namespace database::storage {

// Table header (frozen).
inline constexpr std::size_t kTableHeaderSize = 4821;
inline constexpr std::size_t kRecordTabOffsetOffset = kNameSize;
inline constexpr std::size_t kRecordTotalOffset = kRecordTabOffsetOffset + 4;
inline constexpr std::size_t kLastAutoIncOffset = kRecordTotalOffset + 4;
inline constexpr std::size_t kFieldCountOffset = kLastAutoIncOffset + 4;
inline constexpr std::size_t kFieldEntriesOffset = kFieldCountOffset + 4;
inline constexpr std::size_t kMaxFields = 96;
inline constexpr std::size_t kIndexCountOffset = kFieldEntriesOffset + kMaxFields * kFieldEntrySize;
inline constexpr std::size_t kIndexEntriesOffset = kIndexCountOffset + 4;
inline constexpr std::size_t kMaxIndexes = 8;
static_assert(kIndexCountOffset == 4177);
static_assert(kIndexEntriesOffset + kMaxIndexes * kIndexEntrySize + 16 == kTableHeaderSize);

struct TTableHeader {
  std::string name;
  std::int32_t record_tab_offset = 0;  // first record tab block; meaningful when record_total > 0
  std::int32_t record_total = 0;       // records ever appended, deleted ones included
  std::int32_t last_auto_inc = 0;
  std::vector<TFieldEntry> fields;   // FieldCount entries, at most kMaxFields
  std::vector<TIndexEntry> indexes;  // IndexCount entries, at most kMaxIndexes
};

// Raises "Database file is damaged" on a short buffer, a negative record total or record
// tab offset, or counts outside 0..96 and 0..8.
TTableHeader DecodeTableHeader(std::span<const std::uint8_t> bytes);
// Overlays every interpreted value on out[0, kTableHeaderSize): entries past the counts and
// the uninterpreted bytes keep what out holds.
void EncodeTableHeader(const TTableHeader& header, std::span<std::uint8_t> out);
// Overlays only the values a table reader changes (record tab offset, record total, last
// auto-increment value, and each index entry's index tab offset and chain head) on
// out[0, kTableHeaderSize). Every other byte stays as found: the product's files may carry
// anything after the NUL of a stored name, and a header written back whole must keep it.
void EncodeTableHeaderState(const TTableHeader& header, std::span<std::uint8_t> out);

}  // namespace database::storage
