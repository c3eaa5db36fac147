#pragma once
// Codecs of the Zip64 records: the end of central directory locator (20 bytes), the fixed
// part of the Zip64 end of central directory record (56 bytes; its extensible data is not
// kept), and the Zip64 extended information extra block (id 0x0001) of a central entry.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "archive/format_util.h"

namespace archive {

constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;    // frozen: APPNOTE
constexpr std::uint32_t kZip64EndRecordSignature = 0x06064b50;  // frozen: APPNOTE
constexpr std::size_t kZip64LocatorSize = 20;
constexpr std::size_t kZip64EndRecordSize = 56;
constexpr std::uint16_t kZip64ExtraId = 0x0001;  // frozen: APPNOTE
constexpr std::uint32_t kZip64Marker32 = 0xFFFFFFFF;
constexpr std::uint16_t kZip64Marker16 = 0xFFFF;

struct TZip64Locator {
  std::uint32_t signature = kZip64LocatorSignature;
  std::uint32_t end_record_disk = 0;
  std::uint64_t end_record_offset = 0;  // file position of the Zip64 end record, as stored
  std::uint32_t total_disks = 0;
};

struct TZip64EndRecord {
  std::uint32_t signature = kZip64EndRecordSignature;
  std::uint64_t record_size = 0;  // bytes after this field, extensible data included
  std::uint16_t version_made_by = 0;
  std::uint16_t version_needed = 0;
  std::uint32_t this_disk = 0;
  std::uint32_t directory_disk = 0;
  std::uint64_t entries_on_disk = 0;
  std::uint64_t total_entries = 0;
  std::uint64_t directory_size = 0;
  std::uint64_t directory_offset = 0;
};

namespace zip64_locator {
constexpr std::size_t kSignature = 0;
constexpr std::size_t kEndRecordDisk = kSignature + 4;
constexpr std::size_t kEndRecordOffset = kEndRecordDisk + 4;
constexpr std::size_t kTotalDisks = kEndRecordOffset + 8;
constexpr std::size_t kEnd = kTotalDisks + 4;
}  // namespace zip64_locator
static_assert(zip64_locator::kEnd == kZip64LocatorSize);

namespace zip64_end_record {
constexpr std::size_t kSignature = 0;
constexpr std::size_t kRecordSize = kSignature + 4;
constexpr std::size_t kVersionMadeBy = kRecordSize + 8;
constexpr std::size_t kVersionNeeded = kVersionMadeBy + 2;
constexpr std::size_t kThisDisk = kVersionNeeded + 2;
constexpr std::size_t kDirectoryDisk = kThisDisk + 4;
constexpr std::size_t kEntriesOnDisk = kDirectoryDisk + 4;
constexpr std::size_t kTotalEntries = kEntriesOnDisk + 8;
constexpr std::size_t kDirectorySize = kTotalEntries + 8;
constexpr std::size_t kDirectoryOffset = kDirectorySize + 8;
constexpr std::size_t kEnd = kDirectoryOffset + 8;
}  // namespace zip64_end_record
static_assert(zip64_end_record::kEnd == kZip64EndRecordSize);

TZip64Locator DecodeZip64Locator(TBytes bytes);
std::array<std::uint8_t, kZip64LocatorSize> EncodeZip64Locator(const TZip64Locator& locator);
TZip64EndRecord DecodeZip64EndRecord(TBytes bytes);
std::array<std::uint8_t, kZip64EndRecordSize> EncodeZip64EndRecord(const TZip64EndRecord& r);

// The values of a Zip64 extended information block. A field is present only when the central
// header's 32-bit (or 16-bit) field holds the marker and the block still has room for it,
// in the order uncompressed size, compressed size, local header offset, disk start.
struct TZip64Extra {
  std::optional<std::uint64_t> uncompressed_size;
  std::optional<std::uint64_t> compressed_size;
  std::optional<std::uint64_t> local_header_offset;
  std::optional<std::uint32_t> disk_start;  // only the low 16 bits are taken
};

TZip64Extra DecodeZip64Extra(TBytes block_data, bool want_uncompressed, bool want_compressed,
                             bool want_offset, bool want_disk);

}  // namespace archive
