#include "archive/zip64_format.h"

#include "platform/byte_order.h"

namespace archive {

using platform::LoadLE16;
using platform::LoadLE32;
using platform::LoadLE64;
using platform::StoreLE16;
using platform::StoreLE32;
using platform::StoreLE64;

TZip64Locator DecodeZip64Locator(TBytes bytes) {
  RequireLength(bytes, kZip64LocatorSize);
  namespace o = zip64_locator;
  return {LoadLE32(bytes, o::kSignature), LoadLE32(bytes, o::kEndRecordDisk),
          LoadLE64(bytes, o::kEndRecordOffset), LoadLE32(bytes, o::kTotalDisks)};
}

std::array<std::uint8_t, kZip64LocatorSize> EncodeZip64Locator(const TZip64Locator& l) {
  std::array<std::uint8_t, kZip64LocatorSize> bytes{};
  namespace o = zip64_locator;
  StoreLE32(bytes, o::kSignature, l.signature);
  StoreLE32(bytes, o::kEndRecordDisk, l.end_record_disk);
  StoreLE64(bytes, o::kEndRecordOffset, l.end_record_offset);
  StoreLE32(bytes, o::kTotalDisks, l.total_disks);
  return bytes;
}

TZip64EndRecord DecodeZip64EndRecord(TBytes bytes) {
  RequireLength(bytes, kZip64EndRecordSize);
  namespace o = zip64_end_record;
  TZip64EndRecord r;
  r.signature = LoadLE32(bytes, o::kSignature);
  r.record_size = LoadLE64(bytes, o::kRecordSize);
  r.version_made_by = LoadLE16(bytes, o::kVersionMadeBy);
  r.version_needed = LoadLE16(bytes, o::kVersionNeeded);
  r.this_disk = LoadLE32(bytes, o::kThisDisk);
  r.directory_disk = LoadLE32(bytes, o::kDirectoryDisk);
  r.entries_on_disk = LoadLE64(bytes, o::kEntriesOnDisk);
  r.total_entries = LoadLE64(bytes, o::kTotalEntries);
  r.directory_size = LoadLE64(bytes, o::kDirectorySize);
  r.directory_offset = LoadLE64(bytes, o::kDirectoryOffset);
  return r;
}

std::array<std::uint8_t, kZip64EndRecordSize> EncodeZip64EndRecord(const TZip64EndRecord& r) {
  std::array<std::uint8_t, kZip64EndRecordSize> bytes{};
  namespace o = zip64_end_record;
  StoreLE32(bytes, o::kSignature, r.signature);
  StoreLE64(bytes, o::kRecordSize, r.record_size);
  StoreLE16(bytes, o::kVersionMadeBy, r.version_made_by);
  StoreLE16(bytes, o::kVersionNeeded, r.version_needed);
  StoreLE32(bytes, o::kThisDisk, r.this_disk);
  StoreLE32(bytes, o::kDirectoryDisk, r.directory_disk);
  StoreLE64(bytes, o::kEntriesOnDisk, r.entries_on_disk);
  StoreLE64(bytes, o::kTotalEntries, r.total_entries);
  StoreLE64(bytes, o::kDirectorySize, r.directory_size);
  StoreLE64(bytes, o::kDirectoryOffset, r.directory_offset);
  return bytes;
}

TZip64Extra DecodeZip64Extra(TBytes data, bool want_uncompressed, bool want_compressed,
                             bool want_offset, bool want_disk) {
  TZip64Extra extra;
  std::size_t pos = 0;
  const auto take64 = [&](bool wanted, std::optional<std::uint64_t>& field) {
    if (wanted && data.size() - pos >= 8) {
      field = LoadLE64(data, pos);
      pos += 8;
    }
  };
  take64(want_uncompressed, extra.uncompressed_size);
  take64(want_compressed, extra.compressed_size);
  take64(want_offset, extra.local_header_offset);
  if (want_disk && data.size() - pos >= 4) {
    extra.disk_start = LoadLE16(data, pos);
  }
  return extra;
}

}  // namespace archive
