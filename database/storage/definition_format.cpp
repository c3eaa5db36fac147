#include "database/storage/definition_format.h"

#include "database/storage/database_error.h"
#include "database/storage/fixed_text.h"
#include "platform/byte_order.h"

namespace database::storage {

TFieldEntry DecodeFieldEntry(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kFieldEntrySize) {
    RaiseDamaged("field entry too short");
  }
  TFieldEntry entry;
  entry.name = ReadFixedText(bytes.subspan(0, kNameSize));
  entry.field_type = bytes[kFieldTypeOffset];
  entry.field_size = static_cast<std::int32_t>(platform::LoadLE32(bytes, kFieldSizeOffset));
  entry.process_mode = bytes[kProcessModeOffset];
  return entry;
}

void EncodeFieldEntry(const TFieldEntry& entry, std::span<std::uint8_t> out) {
  WriteFixedText(out.subspan(0, kNameSize), entry.name);
  out[kFieldTypeOffset] = entry.field_type;
  platform::StoreLE32(out, kFieldSizeOffset, static_cast<std::uint32_t>(entry.field_size));
  out[kProcessModeOffset] = entry.process_mode;
}

TIndexEntry DecodeIndexEntry(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kIndexEntrySize) {
    RaiseDamaged("index entry too short");
  }
  TIndexEntry entry;
  entry.name = ReadFixedText(bytes.subspan(0, kNameSize));
  entry.options = bytes[kIndexOptionsOffset];
  for (std::size_t i = 0; i < kMaxIndexFields; ++i) {
    entry.fields[i] =
        static_cast<std::int32_t>(platform::LoadLE32(bytes, kIndexFieldsOffset + 4 * i));
  }
  entry.index_tab_offset =
      static_cast<std::int32_t>(platform::LoadLE32(bytes, kIndexTabOffsetOffset));
  entry.chain_head = static_cast<std::int32_t>(platform::LoadLE32(bytes, kChainHeadOffset));
  return entry;
}

void EncodeIndexEntry(const TIndexEntry& entry, std::span<std::uint8_t> out) {
  WriteFixedText(out.subspan(0, kNameSize), entry.name);
  out[kIndexOptionsOffset] = entry.options;
  for (std::size_t i = 0; i < kMaxIndexFields; ++i) {
    platform::StoreLE32(out, kIndexFieldsOffset + 4 * i,
                        static_cast<std::uint32_t>(entry.fields[i]));
  }
  platform::StoreLE32(out, kIndexTabOffsetOffset,
                      static_cast<std::uint32_t>(entry.index_tab_offset));
  platform::StoreLE32(out, kChainHeadOffset, static_cast<std::uint32_t>(entry.chain_head));
}

}  // namespace database::storage
