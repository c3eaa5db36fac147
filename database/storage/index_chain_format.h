#pragma once
// The index tab of one index: a chain of blocks parallel to the record tab, each a link to the
// next block and 1024 eight-byte chain nodes. Node k belongs to record number k and names the
// record that follows it in the index's key order.

#include <cstddef>
#include <cstdint>
#include <span>

#include "database/storage/record_tab_format.h"

namespace database::storage {

// Index tab (frozen).
inline constexpr std::size_t kIndexTabItemSize = 8;
inline constexpr std::size_t kIndexTabBlockSize =
    kBlockLinkSize + kItemsPerBlock * kIndexTabItemSize;
static_assert(kIndexTabBlockSize == 8196);

inline constexpr std::int32_t kChainEnd = -1;  // NextRecordNo after the last record

struct TIndexTabItem {
  std::int32_t record_no = 0;               // the node's own record number
  std::int32_t next_record_no = kChainEnd;  // the next record in key order
};

// Raises "Database file is damaged" when fewer than kIndexTabItemSize bytes are given.
TIndexTabItem DecodeIndexTabItem(std::span<const std::uint8_t> bytes);
void EncodeIndexTabItem(const TIndexTabItem& item, std::span<std::uint8_t> out);

// Absolute position of the node of `record_no` inside the block at `block_offset`.
inline std::int64_t IndexTabItemPosition(std::int32_t block_offset, std::int32_t record_no) {
  return std::int64_t{block_offset} + kBlockLinkSize +
         std::int64_t{record_no % static_cast<std::int32_t>(kItemsPerBlock)} * kIndexTabItemSize;
}

}  // namespace database::storage
