#include "database/storage/blob_format.h"

#include <algorithm>

#include "database/storage/database_error.h"
#include "platform/byte_order.h"

namespace database::storage {

TBlobHeader DecodeBlobHeader(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kBlobHeaderSize) {
    RaiseDamaged("BLOB header too short");
  }
  TBlobHeader header;
  header.blob_offset = static_cast<std::int32_t>(platform::LoadLE32(bytes, 0));
  header.blob_size = static_cast<std::int32_t>(platform::LoadLE32(bytes, kBlobSizeOffset));
  header.area_size = static_cast<std::int32_t>(platform::LoadLE32(bytes, kAreaSizeOffset));
  std::copy_n(bytes.begin() + kBlobReservedOffset, kBlobReservedSize, header.reserved.begin());
  return header;
}

void EncodeBlobHeader(const TBlobHeader& header, std::span<std::uint8_t> out) {
  platform::StoreLE32(out, 0, static_cast<std::uint32_t>(header.blob_offset));
  platform::StoreLE32(out, kBlobSizeOffset, static_cast<std::uint32_t>(header.blob_size));
  platform::StoreLE32(out, kAreaSizeOffset, static_cast<std::uint32_t>(header.area_size));
  std::copy(header.reserved.begin(), header.reserved.end(), out.begin() + kBlobReservedOffset);
}

}  // namespace database::storage
