#include "archive/end_record_format.h"

#include "platform/byte_order.h"

namespace archive {

using platform::LoadLE16;
using platform::LoadLE32;
using platform::StoreLE16;
using platform::StoreLE32;

TEndRecord DecodeEndRecord(TBytes bytes) {
  RequireLength(bytes, kEndRecordSize);
  namespace o = end_record;
  TEndRecord r;
  r.signature = LoadLE32(bytes, o::kSignature);
  r.this_disk = LoadLE16(bytes, o::kThisDisk);
  r.directory_disk = LoadLE16(bytes, o::kDirectoryDisk);
  r.entries_on_disk = LoadLE16(bytes, o::kEntriesOnDisk);
  r.total_entries = LoadLE16(bytes, o::kTotalEntries);
  r.directory_size = LoadLE32(bytes, o::kDirectorySize);
  r.directory_offset = LoadLE32(bytes, o::kDirectoryOffset);
  r.comment_length = LoadLE16(bytes, o::kCommentLength);
  return r;
}

std::array<std::uint8_t, kEndRecordSize> EncodeEndRecord(const TEndRecord& r) {
  std::array<std::uint8_t, kEndRecordSize> bytes{};
  namespace o = end_record;
  StoreLE32(bytes, o::kSignature, r.signature);
  StoreLE16(bytes, o::kThisDisk, r.this_disk);
  StoreLE16(bytes, o::kDirectoryDisk, r.directory_disk);
  StoreLE16(bytes, o::kEntriesOnDisk, r.entries_on_disk);
  StoreLE16(bytes, o::kTotalEntries, r.total_entries);
  StoreLE32(bytes, o::kDirectorySize, r.directory_size);
  StoreLE32(bytes, o::kDirectoryOffset, r.directory_offset);
  StoreLE16(bytes, o::kCommentLength, r.comment_length);
  return bytes;
}

}  // namespace archive
