#pragma once
// Codec of the ZIP local file header (30 bytes) and of the data descriptor with its signature
// (16 bytes), as APPNOTE lays them down. Used by the directory rebuild and the entry decoder.

#include <array>
#include <cstddef>
#include <cstdint>

#include "archive/format_util.h"

namespace archive {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034b50;  // frozen: APPNOTE
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::uint32_t kDataDescriptorSignature = 0x08074b50;  // frozen: APPNOTE
constexpr std::size_t kDataDescriptorSize = 16;

// General purpose flag bits that the reader looks at.
constexpr std::uint16_t kFlagEncrypted = 0x0001;
constexpr std::uint16_t kFlagDataDescriptor = 0x0008;

struct TLocalHeader {
  std::uint32_t signature = kLocalHeaderSignature;
  std::uint16_t version_needed = 0;
  std::uint16_t flags = 0;
  std::uint16_t method = 0;
  std::uint16_t time = 0;  // MS-DOS time, local
  std::uint16_t date = 0;  // MS-DOS date, local
  std::uint32_t crc32 = 0;
  std::uint32_t compressed_size = 0;
  std::uint32_t uncompressed_size = 0;
  std::uint16_t name_length = 0;
  std::uint16_t extra_length = 0;
};

// Offsets inside the encoded local header.
namespace local_header {
constexpr std::size_t kSignature = 0;
constexpr std::size_t kVersionNeeded = kSignature + 4;
constexpr std::size_t kFlags = kVersionNeeded + 2;
constexpr std::size_t kMethod = kFlags + 2;
constexpr std::size_t kTime = kMethod + 2;
constexpr std::size_t kDate = kTime + 2;
constexpr std::size_t kCrc32 = kDate + 2;
constexpr std::size_t kCompressedSize = kCrc32 + 4;
constexpr std::size_t kUncompressedSize = kCompressedSize + 4;
constexpr std::size_t kNameLength = kUncompressedSize + 4;
constexpr std::size_t kExtraLength = kNameLength + 2;
constexpr std::size_t kEnd = kExtraLength + 2;
}  // namespace local_header
static_assert(local_header::kEnd == kLocalHeaderSize);

struct TDataDescriptor {
  std::uint32_t crc32 = 0;
  std::uint32_t compressed_size = 0;
  std::uint32_t uncompressed_size = 0;
};

// Raises EShortRecord when `bytes` is shorter than the record. The signature is not tested.
TLocalHeader DecodeLocalHeader(TBytes bytes);
std::array<std::uint8_t, kLocalHeaderSize> EncodeLocalHeader(const TLocalHeader& header);

// Decodes a descriptor that starts with its signature (which is not tested here).
TDataDescriptor DecodeDataDescriptor(TBytes bytes);
std::array<std::uint8_t, kDataDescriptorSize> EncodeDataDescriptor(const TDataDescriptor& d);

}  // namespace archive
