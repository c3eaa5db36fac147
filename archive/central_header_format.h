#pragma once
// Codec of the ZIP central directory file header (46 bytes) and of the extra field that
// follows its name: a sequence of blocks, each a 16-bit id, a 16-bit size and that many bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "archive/format_util.h"

namespace archive {

constexpr std::uint32_t kCentralHeaderSignature = 0x02014b50;  // frozen: APPNOTE
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kExtraBlockHeaderSize = 4;
constexpr std::uint32_t kAttrDirectory = 0x10;  // MS-DOS directory bit of external attributes
constexpr std::uint32_t kAttrArchive = 0x20;

struct TCentralHeader {
  std::uint32_t signature = kCentralHeaderSignature;
  std::uint16_t version_made_by = 0;
  std::uint16_t version_needed = 0;
  std::uint16_t flags = 0;
  std::uint16_t method = 0;
  std::uint16_t time = 0;  // MS-DOS time, local
  std::uint16_t date = 0;  // MS-DOS date, local
  std::uint32_t crc32 = 0;
  std::uint32_t compressed_size = 0;    // 0xFFFFFFFF: see the Zip64 extra block
  std::uint32_t uncompressed_size = 0;  // 0xFFFFFFFF: see the Zip64 extra block
  std::uint16_t name_length = 0;
  std::uint16_t extra_length = 0;
  std::uint16_t comment_length = 0;
  std::uint16_t disk_start = 0;
  std::uint16_t internal_attributes = 0;
  std::uint32_t external_attributes = 0;
  std::uint32_t local_header_offset = 0;  // absolute file position after offset correction
};

namespace central_header {
constexpr std::size_t kSignature = 0;
constexpr std::size_t kVersionMadeBy = kSignature + 4;
constexpr std::size_t kVersionNeeded = kVersionMadeBy + 2;
constexpr std::size_t kFlags = kVersionNeeded + 2;
constexpr std::size_t kMethod = kFlags + 2;
constexpr std::size_t kTime = kMethod + 2;
constexpr std::size_t kDate = kTime + 2;
constexpr std::size_t kCrc32 = kDate + 2;
constexpr std::size_t kCompressedSize = kCrc32 + 4;
constexpr std::size_t kUncompressedSize = kCompressedSize + 4;
constexpr std::size_t kNameLength = kUncompressedSize + 4;
constexpr std::size_t kExtraLength = kNameLength + 2;
constexpr std::size_t kCommentLength = kExtraLength + 2;
constexpr std::size_t kDiskStart = kCommentLength + 2;
constexpr std::size_t kInternalAttributes = kDiskStart + 2;
constexpr std::size_t kExternalAttributes = kInternalAttributes + 2;
constexpr std::size_t kLocalHeaderOffset = kExternalAttributes + 4;
constexpr std::size_t kEnd = kLocalHeaderOffset + 4;
}  // namespace central_header
static_assert(central_header::kEnd == kCentralHeaderSize);

struct TExtraBlock {
  std::uint16_t id = 0;
  std::vector<std::uint8_t> data;  // owned; its size is the block's data size
};

// Raises EShortRecord when `bytes` is shorter than the header. The signature is not tested.
TCentralHeader DecodeCentralHeader(TBytes bytes);
std::array<std::uint8_t, kCentralHeaderSize> EncodeCentralHeader(const TCentralHeader& header);

// Splits an extra field into its blocks. A block whose size runs past the field is cut to
// what remains; trailing bytes too few for a block header are dropped.
std::vector<TExtraBlock> DecodeExtraField(TBytes field);
std::vector<std::uint8_t> EncodeExtraField(const std::vector<TExtraBlock>& blocks);

}  // namespace archive
