#include "archive/arc_dir_manager.h"

#include <algorithm>
#include <vector>

#include "archive/arc_exception.h"
#include "archive/local_header_format.h"
#include "archive/signature_scanner.h"
#include "platform/byte_order.h"
#include "platform/code_page.h"

namespace archive {
namespace {

// A little more than the 65557 bytes an end record with the longest comment takes.
constexpr std::size_t kEndSearchSize = 65600;
constexpr std::size_t kStubScanChunk = 10000;
constexpr std::size_t kRebuildChunk = 65535;
constexpr std::size_t kMaxRebuildExtra = 260;
constexpr std::size_t kMaxRebuildName = 999;

std::vector<std::uint8_t> ReadBlock(TArcStream& stream, std::uint64_t position, std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  stream.ReadExact(position, bytes);
  return bytes;
}

}  // namespace

TArcDirManager::TArcDirManager(TArcStream& stream, bool oem_file_names)
    : stream_(stream), oem_file_names_(oem_file_names) {}

std::string TArcDirManager::ConvertName(TBytes stored, bool oem_file_names) {
  const auto nul = std::find(stored.begin(), stored.end(), std::uint8_t{0});
  std::string name(stored.begin(), nul);
  if (oem_file_names) {
    name = platform::OemToAnsi(name);
  }
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

std::optional<std::uint64_t> TArcDirManager::FindEndRecord() {
  archive_comment_.clear();
  end_record_ = TEndRecord{};
  const std::uint64_t size = stream_.Size();
  const std::size_t length =
      static_cast<std::size_t>(std::min<std::uint64_t>(size, kEndSearchSize));
  const std::uint64_t base = size - length;
  std::vector<std::uint8_t> buffer(length);
  buffer.resize(stream_.ReadAt(base, buffer));
  std::uint8_t wanted[4];
  platform::StoreLE32(wanted, 0, kEndRecordSignature);
  for (std::size_t i = buffer.size() >= 4 ? buffer.size() - 4 + 1 : 0; i-- > 0;) {
    if (!std::equal(wanted, wanted + 4, buffer.begin() + static_cast<std::ptrdiff_t>(i))) {
      continue;
    }
    const std::uint64_t position = base + i;
    if (position + kEndRecordSize > size || i + kEndRecordSize > buffer.size()) {
      continue;
    }
    const TEndRecord record = DecodeEndRecord(TBytes(buffer).subspan(i, kEndRecordSize));
    // The comment must reach exactly to the end of the file: this rejects signature bytes
    // that happen to lie inside a comment or inside entry data.
    if (record.comment_length != size - (position + kEndRecordSize)) {
      continue;
    }
    end_record_ = record;
    const auto comment = TBytes(buffer).subspan(i + kEndRecordSize, record.comment_length);
    archive_comment_.assign(comment.begin(), comment.end());
    return position;
  }
  return std::nullopt;
}

void TArcDirManager::ReadDirectory(bool multi_volume) {
  entries_.SetCount(0);
  end_record_ = TEndRecord{};
  zip64_ = false;
  stub_size_ = 0;
  last_disk_ = 0;
  const std::optional<std::uint64_t> found = FindEndRecord();
  if (!found) {
    if (multi_volume) {
      RaiseArcError(arc_error::kMultiVolumeWithoutEndRecord);
    }
    RebuildFromLocalHeaders();
    return;
  }
  const std::uint64_t end_position = *found;
  std::uint64_t position = end_position;
  std::uint64_t directory_size = end_record_.directory_size;
  std::uint64_t count = end_record_.total_entries;
  last_disk_ = end_record_.this_disk == kZip64Marker16 ? 0 : end_record_.this_disk;
  ReadZip64Records(position);
  if (zip64_) {
    directory_size = zip64_end_record_.directory_size;
    count = zip64_end_record_.total_entries;
    last_disk_ = zip64_locator_.total_disks > 0 ? zip64_locator_.total_disks - 1 : 0;
  }
  // The directory ends where the (Zip64) end records begin; its stored offset is not used,
  // so that archives with other data in front of them read as they are.
  if (directory_size > position) {
    throw EShortRecord();
  }
  directory_start_ = position - directory_size;
  ReadEntries(directory_start_, count);
  if (last_disk_ == 0) {
    StubScan(end_position);
  }
}

void TArcDirManager::ReadZip64Records(std::uint64_t& position) {
  if (position <= kZip64LocatorSize) {
    return;
  }
  std::uint8_t locator[kZip64LocatorSize];
  if (stream_.ReadAt(position - kZip64LocatorSize, locator) != kZip64LocatorSize ||
      platform::LoadLE32(locator, 0) != kZip64LocatorSignature) {
    return;
  }
  zip64_ = true;
  zip64_locator_ = DecodeZip64Locator(locator);
  position -= kZip64LocatorSize;
  std::uint8_t record[kZip64EndRecordSize];
  if (position <= kZip64EndRecordSize ||
      stream_.ReadAt(zip64_locator_.end_record_offset, record) != kZip64EndRecordSize ||
      platform::LoadLE32(record, 0) != kZip64EndRecordSignature) {
    RaiseArcError(arc_error::kZip64EndRecordMissing);
  }
  zip64_end_record_ = DecodeZip64EndRecord(record);
  position -= kZip64EndRecordSize;
}

void TArcDirManager::ReadEntries(std::uint64_t position, std::uint64_t count) {
  // Entries are appended as they are read, so a count that the file cannot hold fails at the
  // first missing header instead of reserving memory for it.
  for (std::uint64_t i = 0; i < count; ++i) {
    TDirItem item;
    std::uint8_t header[kCentralHeaderSize];
    stream_.ReadExact(position, header);
    position += kCentralHeaderSize;
    item.CentralHeader = DecodeCentralHeader(header);
    const TCentralHeader& h = item.CentralHeader;
    item.Name = ConvertName(ReadBlock(stream_, position, h.name_length), oem_file_names_);
    position += h.name_length;
    const std::vector<std::uint8_t> extra = ReadBlock(stream_, position, h.extra_length);
    position += h.extra_length;
    item.ExtraBlocks = DecodeExtraField(extra);
    for (const TExtraBlock& block : item.ExtraBlocks) {
      if (block.id != kZip64ExtraId) {
        continue;
      }
      const TZip64Extra z = DecodeZip64Extra(
          block.data, h.uncompressed_size == kZip64Marker32, h.compressed_size == kZip64Marker32,
          h.local_header_offset == kZip64Marker32, h.disk_start == kZip64Marker16);
      item.UncompressedSize64 = z.uncompressed_size.value_or(item.UncompressedSize64);
      item.CompressedSize64 = z.compressed_size.value_or(item.CompressedSize64);
      item.LocalHeaderOffset64 = z.local_header_offset.value_or(item.LocalHeaderOffset64);
      item.DiskStart64 = z.disk_start.value_or(item.DiskStart64);
      item.HasZip64Extra = true;
    }
    const std::vector<std::uint8_t> comment = ReadBlock(stream_, position, h.comment_length);
    position += h.comment_length;
    item.Comment.assign(comment.begin(), comment.end());
    entries_.Append(std::move(item));
  }
}

void TArcDirManager::StubScan(std::uint64_t end_record_position) {
  if (entries_.Count() == 0) {
    stub_size_ = end_record_position;
    return;
  }
  const TDirItem& first = entries_.At(0);
  const TCentralHeader& c = first.CentralHeader;
  const std::uint64_t size = stream_.Size();
  TSignatureScanner scanner(stream_, kLocalHeaderSignature, kStubScanChunk);
  std::optional<std::uint64_t> hit = scanner.Next(first.LocalHeaderOffset());
  for (; hit; hit = scanner.Next(*hit + 1)) {
    std::uint8_t bytes[kLocalHeaderSize];
    if (*hit + kLocalHeaderSize > size || stream_.ReadAt(*hit, bytes) != kLocalHeaderSize) {
      continue;
    }
    const TLocalHeader l = DecodeLocalHeader(bytes);
    if (*hit + kLocalHeaderSize + l.name_length > size) {
      continue;
    }
    if (l.signature == kLocalHeaderSignature && l.version_needed == c.version_needed &&
        l.method == c.method && l.time == c.time && l.date == c.date && l.crc32 == c.crc32 &&
        l.compressed_size == c.compressed_size && l.uncompressed_size == c.uncompressed_size) {
      stub_size_ = *hit;
      break;
    }
  }
  // Offsets smaller than where the first entry really lies count from the start of the ZIP
  // data, not of the file: move them by the stub. Directory entries keep theirs.
  for (std::size_t i = 0; i < entries_.Count(); ++i) {
    const TCentralHeader& h = entries_.At(i).CentralHeader;
    if (h.compressed_size == 0) {
      continue;
    }
    if (h.local_header_offset >= static_cast<std::uint32_t>(stub_size_)) {
      return;
    }
    for (std::size_t j = 0; j < entries_.Count(); ++j) {
      TDirItem& item = entries_.At(j);
      if ((item.CentralHeader.external_attributes & kAttrDirectory) != 0) {
        continue;
      }
      if (item.CentralHeader.local_header_offset == kZip64Marker32) {
        item.LocalHeaderOffset64 += stub_size_;
      } else {
        item.CentralHeader.local_header_offset += static_cast<std::uint32_t>(stub_size_);
      }
    }
    return;
  }
}

void TArcDirManager::RebuildFromLocalHeaders() {
  const std::uint64_t size = stream_.Size();
  TSignatureScanner headers(stream_, kLocalHeaderSignature, kRebuildChunk);
  TSignatureScanner descriptors(stream_, kDataDescriptorSignature, kRebuildChunk);
  // The last descriptor search, so that entries sharing a descriptor search range do not
  // rescan it: a search from `from` found `found` (nothing up to the end when empty).
  std::uint64_t descriptor_from = 0;
  std::optional<std::uint64_t> descriptor_found;
  bool descriptor_searched = false;
  bool any_hit = false;
  std::optional<std::uint64_t> hit = headers.Next(0);
  for (; hit; hit = headers.Next(*hit + 4)) {
    const std::uint64_t h = *hit;
    if (h + kLocalHeaderSize > size) {
      break;
    }
    any_hit = true;
    std::uint8_t bytes[kLocalHeaderSize];
    stream_.ReadExact(h, bytes);
    const TLocalHeader l = DecodeLocalHeader(bytes);
    if (l.compressed_size >= size || l.extra_length > kMaxRebuildExtra) {
      continue;
    }
    TDirItem item;
    TCentralHeader& c = item.CentralHeader;
    c.signature = l.signature;
    c.version_made_by = l.version_needed;
    c.version_needed = l.version_needed;
    c.flags = l.flags;
    c.method = l.method;
    c.time = l.time;
    c.date = l.date;
    c.crc32 = l.crc32;
    c.compressed_size = l.compressed_size;
    c.uncompressed_size = l.uncompressed_size;
    c.name_length = l.name_length;
    c.extra_length = l.extra_length;
    c.external_attributes = (l.uncompressed_size != 0 || (l.flags & kFlagDataDescriptor) != 0)
                                ? kAttrArchive
                                : kAttrDirectory;
    c.local_header_offset = static_cast<std::uint32_t>(h);
    item.LocalHeaderOffset64 = h;
    const std::size_t name_length = std::min<std::size_t>(l.name_length, kMaxRebuildName);
    if (h + kLocalHeaderSize + name_length <= size) {
      item.Name =
          ConvertName(ReadBlock(stream_, h + kLocalHeaderSize, name_length), oem_file_names_);
    }
    if ((l.flags & kFlagDataDescriptor) != 0) {
      if (!descriptor_searched || h < descriptor_from ||
          (descriptor_found && *descriptor_found < h)) {
        descriptor_found = descriptors.Next(h);
        descriptor_from = h;
        descriptor_searched = true;
      }
      if (descriptor_found && *descriptor_found + kDataDescriptorSize <= size) {
        std::uint8_t d[kDataDescriptorSize];
        stream_.ReadExact(*descriptor_found, d);
        const TDataDescriptor dd = DecodeDataDescriptor(d);
        c.crc32 = dd.crc32;
        c.compressed_size = dd.compressed_size;
        c.uncompressed_size = dd.uncompressed_size;
      }
    }
    entries_.Append(std::move(item));
  }
  if (!any_hit) {
    RaiseArcError(arc_error::kInvalidArchive);
  }
  directory_start_ = size;
}

}  // namespace archive
