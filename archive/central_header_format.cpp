#include "archive/central_header_format.h"

#include <algorithm>

#include "platform/byte_order.h"

namespace archive {

using platform::LoadLE16;
using platform::LoadLE32;
using platform::StoreLE16;
using platform::StoreLE32;

TCentralHeader DecodeCentralHeader(TBytes bytes) {
  RequireLength(bytes, kCentralHeaderSize);
  namespace o = central_header;
  TCentralHeader h;
  h.signature = LoadLE32(bytes, o::kSignature);
  h.version_made_by = LoadLE16(bytes, o::kVersionMadeBy);
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
  h.comment_length = LoadLE16(bytes, o::kCommentLength);
  h.disk_start = LoadLE16(bytes, o::kDiskStart);
  h.internal_attributes = LoadLE16(bytes, o::kInternalAttributes);
  h.external_attributes = LoadLE32(bytes, o::kExternalAttributes);
  h.local_header_offset = LoadLE32(bytes, o::kLocalHeaderOffset);
  return h;
}

std::array<std::uint8_t, kCentralHeaderSize> EncodeCentralHeader(const TCentralHeader& h) {
  std::array<std::uint8_t, kCentralHeaderSize> bytes{};
  namespace o = central_header;
  StoreLE32(bytes, o::kSignature, h.signature);
  StoreLE16(bytes, o::kVersionMadeBy, h.version_made_by);
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
  StoreLE16(bytes, o::kCommentLength, h.comment_length);
  StoreLE16(bytes, o::kDiskStart, h.disk_start);
  StoreLE16(bytes, o::kInternalAttributes, h.internal_attributes);
  StoreLE32(bytes, o::kExternalAttributes, h.external_attributes);
  StoreLE32(bytes, o::kLocalHeaderOffset, h.local_header_offset);
  return bytes;
}

std::vector<TExtraBlock> DecodeExtraField(TBytes field) {
  std::vector<TExtraBlock> blocks;
  std::size_t pos = 0;
  while (field.size() - pos >= kExtraBlockHeaderSize) {
    TExtraBlock block;
    block.id = LoadLE16(field, pos);
    const std::size_t declared = LoadLE16(field, pos + 2);
    pos += kExtraBlockHeaderSize;
    const std::size_t size = std::min(declared, field.size() - pos);
    block.data.assign(field.begin() + static_cast<std::ptrdiff_t>(pos),
                      field.begin() + static_cast<std::ptrdiff_t>(pos + size));
    pos += size;
    blocks.push_back(std::move(block));
  }
  return blocks;
}

std::vector<std::uint8_t> EncodeExtraField(const std::vector<TExtraBlock>& blocks) {
  std::vector<std::uint8_t> field;
  for (const TExtraBlock& block : blocks) {
    std::uint8_t header[kExtraBlockHeaderSize];
    StoreLE16(header, 0, block.id);
    StoreLE16(header, 2, static_cast<std::uint16_t>(block.data.size()));
    field.insert(field.end(), header, header + kExtraBlockHeaderSize);
    field.insert(field.end(), block.data.begin(), block.data.end());
  }
  return field;
}

}  // namespace archive
