#pragma once
// Codec of the ZIP end of central directory record (22 bytes; the archive comment follows it).

#include <array>
#include <cstddef>
#include <cstdint>

#include "archive/format_util.h"

namespace archive {

constexpr std::uint32_t kEndRecordSignature = 0x06054b50;  // frozen: APPNOTE
constexpr std::size_t kEndRecordSize = 22;

struct TEndRecord {
  std::uint32_t signature = kEndRecordSignature;
  std::uint16_t this_disk = 0;       // 0xFFFF is taken as 0
  std::uint16_t directory_disk = 0;  // disk where the central directory starts
  std::uint16_t entries_on_disk = 0;
  std::uint16_t total_entries = 0;
  std::uint32_t directory_size = 0;    // bytes
  std::uint32_t directory_offset = 0;  // as stored; single-file archives do not use it
  std::uint16_t comment_length = 0;
};

namespace end_record {
constexpr std::size_t kSignature = 0;
constexpr std::size_t kThisDisk = kSignature + 4;
constexpr std::size_t kDirectoryDisk = kThisDisk + 2;
constexpr std::size_t kEntriesOnDisk = kDirectoryDisk + 2;
constexpr std::size_t kTotalEntries = kEntriesOnDisk + 2;
constexpr std::size_t kDirectorySize = kTotalEntries + 2;
constexpr std::size_t kDirectoryOffset = kDirectorySize + 4;
constexpr std::size_t kCommentLength = kDirectoryOffset + 4;
constexpr std::size_t kEnd = kCommentLength + 2;
}  // namespace end_record
static_assert(end_record::kEnd == kEndRecordSize);

TEndRecord DecodeEndRecord(TBytes bytes);
std::array<std::uint8_t, kEndRecordSize> EncodeEndRecord(const TEndRecord& record);

}  // namespace archive
