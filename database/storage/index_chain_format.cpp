#include "database/storage/index_chain_format.h"

#include "database/storage/database_error.h"
#include "platform/byte_order.h"

namespace database::storage {

TIndexTabItem DecodeIndexTabItem(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kIndexTabItemSize) {
    RaiseDamaged("index tab item too short");
  }
  return TIndexTabItem{static_cast<std::int32_t>(platform::LoadLE32(bytes, 0)),
                       static_cast<std::int32_t>(platform::LoadLE32(bytes, 4))};
}

void EncodeIndexTabItem(const TIndexTabItem& item, std::span<std::uint8_t> out) {
  platform::StoreLE32(out, 0, static_cast<std::uint32_t>(item.record_no));
  platform::StoreLE32(out, 4, static_cast<std::uint32_t>(item.next_record_no));
}

}  // namespace database::storage
