#include "database/storage/table_directory_format.h"

#include <string>

#include "database/storage/database_error.h"
#include "platform/byte_order.h"

namespace database::storage {

TTableDirectory DecodeTableDirectory(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kTableDirectorySize) {
    RaiseDamaged("table directory too short");
  }
  TTableDirectory directory;
  directory.table_count = static_cast<std::int32_t>(platform::LoadLE32(bytes, kTableCountOffset));
  if (directory.table_count < 0 || directory.table_count > static_cast<std::int32_t>(kMaxTables)) {
    RaiseDamaged("table count " + std::to_string(directory.table_count) + " out of range");
  }
  for (std::int32_t i = 0; i < directory.table_count; ++i) {
    directory.header_offsets[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(
        platform::LoadLE32(bytes, kTableHeaderOffsetsOffset + 4 * static_cast<std::size_t>(i)));
  }
  return directory;
}

void EncodeTableDirectory(const TTableDirectory& directory, std::span<std::uint8_t> out) {
  platform::StoreLE32(out, kTableCountOffset, static_cast<std::uint32_t>(directory.table_count));
  for (std::int32_t i = 0; i < directory.table_count; ++i) {
    platform::StoreLE32(
        out, kTableHeaderOffsetsOffset + 4 * static_cast<std::size_t>(i),
        static_cast<std::uint32_t>(directory.header_offsets[static_cast<std::size_t>(i)]));
  }
}

}  // namespace database::storage
