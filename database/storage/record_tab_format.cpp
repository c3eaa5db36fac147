#include "database/storage/record_tab_format.h"

#include "database/storage/database_error.h"
#include "platform/byte_order.h"

namespace database::storage {

TRecordTabItem DecodeRecordTabItem(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kRecordTabItemSize) {
    RaiseDamaged("record tab item too short");
  }
  return TRecordTabItem{static_cast<std::int32_t>(platform::LoadLE32(bytes, 0)), bytes[4]};
}

void EncodeRecordTabItem(const TRecordTabItem& item, std::span<std::uint8_t> out) {
  platform::StoreLE32(out, 0, static_cast<std::uint32_t>(item.data_offset));
  out[4] = item.delete_flag;
}

std::int32_t DecodeBlockLink(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kBlockLinkSize) {
    RaiseDamaged("block link too short");
  }
  return static_cast<std::int32_t>(platform::LoadLE32(bytes, 0));
}

void EncodeBlockLink(std::int32_t next_block, std::span<std::uint8_t> out) {
  platform::StoreLE32(out, 0, static_cast<std::uint32_t>(next_block));
}

}  // namespace database::storage
