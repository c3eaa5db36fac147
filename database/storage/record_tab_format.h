#pragma once
// The record tab: a chain of blocks, each a link to the next block and 1024 five-byte items.
// Item k of the chain belongs to record number k and holds the offset of its record image and
// its delete flag.

#include <cstddef>
#include <cstdint>
#include <span>

namespace database::storage {

// Record tab (frozen).
inline constexpr std::size_t kItemsPerBlock = 1024;  // record tab and index tab blocks alike
inline constexpr std::size_t kBlockLinkSize = 4;     // NextBlock; 0 in the last block
inline constexpr std::size_t kRecordTabItemSize = 5;
inline constexpr std::size_t kRecordTabBlockSize =
    kBlockLinkSize + kItemsPerBlock * kRecordTabItemSize;
static_assert(kRecordTabBlockSize == 5124);

inline constexpr std::uint8_t kRecordLive = 0;
inline constexpr std::uint8_t kRecordDeleted = 1;

struct TRecordTabItem {
  std::int32_t data_offset = 0;  // absolute offset of the record image
  std::uint8_t delete_flag = 0;  // kRecordLive or kRecordDeleted
};

// Raises "Database file is damaged" when fewer than kRecordTabItemSize bytes are given.
TRecordTabItem DecodeRecordTabItem(std::span<const std::uint8_t> bytes);
void EncodeRecordTabItem(const TRecordTabItem& item, std::span<std::uint8_t> out);

// The block link at the start of a record tab or index tab block.
std::int32_t DecodeBlockLink(std::span<const std::uint8_t> bytes);
void EncodeBlockLink(std::int32_t next_block, std::span<std::uint8_t> out);

// Absolute position of the item of record `record_no` inside the block at `block_offset`
// (the block that holds it: number record_no / kItemsPerBlock of the chain).
inline std::int64_t RecordTabItemPosition(std::int32_t block_offset, std::int32_t record_no) {
  return std::int64_t{block_offset} + kBlockLinkSize +
         std::int64_t{record_no % static_cast<std::int32_t>(kItemsPerBlock)} * kRecordTabItemSize;
}

// Blocks needed for `item_count` items.
inline std::size_t BlocksForItems(std::size_t item_count) {
  return (item_count + kItemsPerBlock - 1) / kItemsPerBlock;
}

}  // namespace database::storage
