#include "archive/local_header_format.h"

#include "platform/byte_order.h"

namespace archive {

using platform::LoadLE16;
using platform::LoadLE32;
using platform::StoreLE16;
using platform::StoreLE32;

TLocalHeader DecodeLocalHeader(TBytes bytes) {
  RequireLength(bytes, kLocalHeaderSize);
  namespace o = local_header;
  TLocalHeader h;
  h.signature = LoadLE32(bytes, o::kSignature);
  h.version_needed = LoadLE16(bytes, o::kVersionNeeded);
  h.flags = LoadLE16(bytes, o::kFlags);
  h.method = LoadLE16(bytes, o::kMethod);
  h.time = LoadLE16(bytes, o::kTime);
  h.date = LoadLE16(bytes, o::kDate);
  h.crc32 = LoadLE32(bytes, o::kCrc32);
  h.compressed_size = LoadLE32(bytes, o::kCompressedSize);
  h.uncompressed_size = LoadLE32(bytes, o::kUncompressedSize);
  h.name_length = LoadLE16(bytes, o::kNameLength);
  h.extra_length = LoadLE16(bytes, o::kExtraLength);
  return h;
}

std::array<std::uint8_t, kLocalHeaderSize> EncodeLocalHeader(const TLocalHeader& h) {
  std::array<std::uint8_t, kLocalHeaderSize> bytes{};
  namespace o = local_header;
  StoreLE32(bytes, o::kSignature, h.signature);
  StoreLE16(bytes, o::kVersionNeeded, h.version_needed);
  StoreLE16(bytes, o::kFlags, h.flags);
  StoreLE16(bytes, o::kMethod, h.method);
  StoreLE16(bytes, o::kTime, h.time);
  StoreLE16(bytes, o::kDate, h.date);
  StoreLE32(bytes, o::kCrc32, h.crc32);
  StoreLE32(bytes, o::kCompressedSize, h.compressed_size);
  StoreLE32(bytes, o::kUncompressedSize, h.uncompressed_size);
  StoreLE16(bytes, o::kNameLength, h.name_length);
  StoreLE16(bytes, o::kExtraLength, h.extra_length);
  return bytes;
}

TDataDescriptor DecodeDataDescriptor(TBytes bytes) {
  RequireLength(bytes, kDataDescriptorSize);
  return {LoadLE32(bytes, 4), LoadLE32(bytes, 8), LoadLE32(bytes, 12)};
}

std::array<std::uint8_t, kDataDescriptorSize> EncodeDataDescriptor(const TDataDescriptor& d) {
  std::array<std::uint8_t, kDataDescriptorSize> bytes{};
  StoreLE32(bytes, 0, kDataDescriptorSignature);
  StoreLE32(bytes, 4, d.crc32);
  StoreLE32(bytes, 8, d.compressed_size);
  StoreLE32(bytes, 12, d.uncompressed_size);
  return bytes;
}

}  // namespace archive
