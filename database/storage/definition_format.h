#pragma once
// The two definition entries of a table header: a field entry (43 bytes: name, type code,
// declared size, processing mode) and an index entry (78 bytes: name, options, key field
// numbers, the offset of its index tab and the head of its chain).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace database::storage {

inline constexpr std::size_t kNameSize = 33;  // every stored name: text[33]

// Field entry (frozen).
inline constexpr std::size_t kFieldEntrySize = 43;
inline constexpr std::size_t kFieldTypeOffset = kNameSize;
inline constexpr std::size_t kFieldSizeOffset = kFieldTypeOffset + 1;
inline constexpr std::size_t kProcessModeOffset = kFieldSizeOffset + 4;
static_assert(kProcessModeOffset + 1 + 4 == kFieldEntrySize);

// Index entry (frozen).
inline constexpr std::size_t kIndexEntrySize = 78;
inline constexpr std::size_t kIndexOptionsOffset = kNameSize;
inline constexpr std::size_t kIndexFieldsOffset = kIndexOptionsOffset + 1;
inline constexpr std::size_t kMaxIndexFields = 8;
inline constexpr std::size_t kIndexTabOffsetOffset = kIndexFieldsOffset + 4 * kMaxIndexFields;
inline constexpr std::size_t kChainHeadOffset = kIndexTabOffsetOffset + 4;
static_assert(kChainHeadOffset + 4 + 4 == kIndexEntrySize);

struct TFieldEntry {
  std::string name;
  std::uint8_t field_type = 0;    // a field-type code
  std::int32_t field_size = 0;    // declared size; the text types' maximum character count
  std::uint8_t process_mode = 0;  // 0: follows the database's encryption and compression
};

struct TIndexEntry {
  std::string name;
  std::uint8_t options = 0;  // bits of TIndexOption
  // Key field numbers in key order; the key ends at the first -1 or after all 8.
  std::array<std::int32_t, kMaxIndexFields> fields{-1, -1, -1, -1, -1, -1, -1, -1};
  std::int32_t index_tab_offset = 0;  // first index tab block; 0 while there is none
  std::int32_t chain_head = 0;        // record number first in key order
};

// Decoders raise "Database file is damaged" on a short buffer.
TFieldEntry DecodeFieldEntry(std::span<const std::uint8_t> bytes);
void EncodeFieldEntry(const TFieldEntry& entry, std::span<std::uint8_t> out);
TIndexEntry DecodeIndexEntry(std::span<const std::uint8_t> bytes);
void EncodeIndexEntry(const TIndexEntry& entry, std::span<std::uint8_t> out);

}  // namespace database::storage
