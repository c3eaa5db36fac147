#include "database/storage/table_header_format.h"

#include "database/storage/database_error.h"
#include "database/storage/fixed_text.h"
#include "platform/byte_order.h"

namespace database::storage {
namespace {

std::int32_t LoadInt32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::int32_t>(platform::LoadLE32(bytes, offset));
}

}  // namespace

TTableHeader DecodeTableHeader(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kTableHeaderSize) {
    RaiseDamaged("table header too short");
  }
  TTableHeader header;
  header.name = ReadFixedText(bytes.subspan(0, kNameSize));
  header.record_tab_offset = LoadInt32(bytes, kRecordTabOffsetOffset);
  header.record_total = LoadInt32(bytes, kRecordTotalOffset);
  header.last_auto_inc = LoadInt32(bytes, kLastAutoIncOffset);
  const std::int32_t field_count = LoadInt32(bytes, kFieldCountOffset);
  const std::int32_t index_count = LoadInt32(bytes, kIndexCountOffset);
  const std::string where = "table '" + header.name + "': ";
  if (header.record_total < 0) {
    RaiseDamaged(where + "record total " + std::to_string(header.record_total) + " out of range");
  }
  if (header.record_total > 0 && header.record_tab_offset <= 0) {
    RaiseDamaged(where + "record tab offset " + std::to_string(header.record_tab_offset) +
                 " out of range");
  }
  if (field_count < 0 || field_count > static_cast<std::int32_t>(kMaxFields)) {
    RaiseDamaged(where + "field count " + std::to_string(field_count) + " out of range");
  }
  if (index_count < 0 || index_count > static_cast<std::int32_t>(kMaxIndexes)) {
    RaiseDamaged(where + "index count " + std::to_string(index_count) + " out of range");
  }
  for (std::int32_t i = 0; i < field_count; ++i) {
    header.fields.push_back(DecodeFieldEntry(
        bytes.subspan(kFieldEntriesOffset + static_cast<std::size_t>(i) * kFieldEntrySize)));
  }
  for (std::int32_t i = 0; i < index_count; ++i) {
    header.indexes.push_back(DecodeIndexEntry(
        bytes.subspan(kIndexEntriesOffset + static_cast<std::size_t>(i) * kIndexEntrySize)));
  }
  return header;
}

void EncodeTableHeader(const TTableHeader& header, std::span<std::uint8_t> out) {
  WriteFixedText(out.subspan(0, kNameSize), header.name);
  platform::StoreLE32(out, kRecordTabOffsetOffset,
                      static_cast<std::uint32_t>(header.record_tab_offset));
  platform::StoreLE32(out, kRecordTotalOffset, static_cast<std::uint32_t>(header.record_total));
  platform::StoreLE32(out, kLastAutoIncOffset, static_cast<std::uint32_t>(header.last_auto_inc));
  platform::StoreLE32(out, kFieldCountOffset, static_cast<std::uint32_t>(header.fields.size()));
  for (std::size_t i = 0; i < header.fields.size() && i < kMaxFields; ++i) {
    EncodeFieldEntry(header.fields[i], out.subspan(kFieldEntriesOffset + i * kFieldEntrySize));
  }
  platform::StoreLE32(out, kIndexCountOffset, static_cast<std::uint32_t>(header.indexes.size()));
  for (std::size_t i = 0; i < header.indexes.size() && i < kMaxIndexes; ++i) {
    EncodeIndexEntry(header.indexes[i], out.subspan(kIndexEntriesOffset + i * kIndexEntrySize));
  }
}

void EncodeTableHeaderState(const TTableHeader& header, std::span<std::uint8_t> out) {
  platform::StoreLE32(out, kRecordTabOffsetOffset,
                      static_cast<std::uint32_t>(header.record_tab_offset));
  platform::StoreLE32(out, kRecordTotalOffset, static_cast<std::uint32_t>(header.record_total));
  platform::StoreLE32(out, kLastAutoIncOffset, static_cast<std::uint32_t>(header.last_auto_inc));
  for (std::size_t i = 0; i < header.indexes.size() && i < kMaxIndexes; ++i) {
    const std::size_t entry = kIndexEntriesOffset + i * kIndexEntrySize;
    platform::StoreLE32(out, entry + kIndexTabOffsetOffset,
                        static_cast<std::uint32_t>(header.indexes[i].index_tab_offset));
    platform::StoreLE32(out, entry + kChainHeadOffset,
                        static_cast<std::uint32_t>(header.indexes[i].chain_head));
  }
}

}  // namespace database::storage
