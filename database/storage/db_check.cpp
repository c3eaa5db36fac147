#include "database/storage/db_check.h"

#include <algorithm>
#include <array>
#include <optional>
#include <set>

#include "database/storage/blob_format.h"
#include "database/storage/database_error.h"
#include "database/storage/db_file_io.h"
#include "database/storage/field_types.h"
#include "database/storage/file_header_format.h"
#include "database/storage/index_chain_format.h"
#include "database/storage/record_format.h"
#include "database/storage/record_tab_format.h"
#include "database/storage/table_header_format.h"
#include "database/storage/table_io.h"

namespace database::storage {
namespace {

std::string Num(std::int64_t value) {
  return std::to_string(value);
}

class TChecker {
 public:
  explicit TChecker(TDBFileIO& file_io) : io_(file_io), size_(file_io.FileSize()) {}

  TCheckReport Run() {
    for (std::int32_t t = 0; t < io_.TableCount(); ++t) {
      CheckTable(t);
    }
    return std::move(report_);
  }

 private:
  void Find(const std::string& text) { report_.findings.push_back(text); }

  bool Inside(std::int64_t offset, std::int64_t length) const {
    return offset >= kFirstFreeOffset && length >= 0 && offset + length <= size_;
  }

  // Walks a block chain of `item_count` items; returns the block offsets, or nothing after
  // reporting the first fault.
  std::optional<std::vector<std::int32_t>> WalkBlocks(const std::string& where, std::int64_t first,
                                                      std::size_t item_count,
                                                      std::size_t item_size) {
    std::vector<std::int32_t> blocks;
    std::set<std::int64_t> seen;
    std::int64_t position = first;
    for (std::size_t k = 0; k < item_count; k += kItemsPerBlock) {
      const std::size_t count = std::min(kItemsPerBlock, item_count - k);
      if (!Inside(position, static_cast<std::int64_t>(kBlockLinkSize + count * item_size))) {
        Find(where + ": block " + Num(static_cast<std::int64_t>(blocks.size())) + " at " +
             Num(position) + " lies outside the file");
        return std::nullopt;
      }
      if (!seen.insert(position).second) {
        Find(where + ": block chain loops back to " + Num(position));
        return std::nullopt;
      }
      blocks.push_back(static_cast<std::int32_t>(position));
      std::array<std::uint8_t, kBlockLinkSize> link{};
      io_.ReadAt(position, link);
      position = DecodeBlockLink(link);
    }
    return blocks;
  }

  void CheckTable(std::int32_t t) {
    std::string where = "table " + Num(t);
    std::int32_t header_offset = 0;
    std::array<std::uint8_t, kTableHeaderSize> bytes{};
    TTableHeader header;
    try {
      header_offset = io_.TableHeaderOffset(t);
      io_.ReadTableHeader(t, bytes);
      header = DecodeTableHeader(bytes);
    } catch (const EDatabaseError& error) {
      Find(where + ": " + error.what());
      return;
    }
    where = "table '" + header.name + "'";
    (void)header_offset;
    bool sound = true;
    std::vector<std::uint8_t> types;
    std::vector<std::int32_t> sizes;
    for (const TFieldEntry& field : header.fields) {
      try {
        FieldImageWidth(field.field_type, field.field_size);
      } catch (const EDatabaseError&) {
        Find(where + ": field '" + field.name + "' has type " + Num(field.field_type) +
             " without a stored form");
        sound = false;
      }
    }
    for (const TIndexEntry& index : header.indexes) {
      for (const std::int32_t field_no : index.fields) {
        if (field_no == -1) {
          break;
        }
        if (field_no < 0 || static_cast<std::size_t>(field_no) >= header.fields.size()) {
          Find(where + ": index '" + index.name + "' names field number " + Num(field_no));
          sound = false;
        }
      }
    }
    if (!sound) {
      return;
    }
    for (const TFieldEntry& field : header.fields) {
      types.push_back(field.field_type);
      sizes.push_back(field.field_size);
    }
    const std::int32_t record_size = ComputeLayout(types, sizes).record_size;
    const std::size_t n = static_cast<std::size_t>(header.record_total);
    if (static_cast<std::int64_t>(BlocksForItems(n)) *
            static_cast<std::int64_t>(kRecordTabBlockSize) >
        size_) {
      Find(where + ": record total " + Num(header.record_total) +
           " is more than the file can hold");
      return;
    }
    const auto record_blocks =
        WalkBlocks(where + " record tab", header.record_tab_offset, n, kRecordTabItemSize);
    if (!record_blocks) {
      return;
    }
    for (std::size_t k = 0; k < n; ++k) {
      std::array<std::uint8_t, kRecordTabItemSize> item_bytes{};
      io_.ReadAt(
          RecordTabItemPosition((*record_blocks)[k / kItemsPerBlock], static_cast<std::int32_t>(k)),
          item_bytes);
      const TRecordTabItem item = DecodeRecordTabItem(item_bytes);
      if (item.delete_flag > kRecordDeleted) {
        Find(where + ": record " + Num(static_cast<std::int64_t>(k)) + " has delete flag " +
             Num(item.delete_flag));
        sound = false;
      }
      if (!Inside(item.data_offset, record_size)) {
        Find(where + ": record " + Num(static_cast<std::int64_t>(k)) + " image at " +
             Num(item.data_offset) + " lies outside the file");
        sound = false;
      }
    }
    for (const TIndexEntry& index : header.indexes) {
      if (!CheckChain(where, header, index, *record_blocks)) {
        sound = false;
      }
    }
    if (sound) {
      CheckContents(where, header);
    }
  }

  bool CheckChain(const std::string& table_where, const TTableHeader& header,
                  const TIndexEntry& index, const std::vector<std::int32_t>& record_blocks) {
    const std::string where = table_where + " index '" + index.name + "'";
    const std::size_t n = static_cast<std::size_t>(header.record_total);
    if (n == 0) {
      return true;
    }
    if (index.index_tab_offset == 0) {
      Find(where + ": no index tab although the table has records");
      return false;
    }
    const auto blocks =
        WalkBlocks(where + " index tab", index.index_tab_offset, n, kIndexTabItemSize);
    if (!blocks) {
      return false;
    }
    bool sound = true;
    for (std::size_t k = 0; k < n; ++k) {
      std::array<std::uint8_t, kIndexTabItemSize> bytes{};
      io_.ReadAt(IndexTabItemPosition((*blocks)[k / kItemsPerBlock], static_cast<std::int32_t>(k)),
                 bytes);
      const TIndexTabItem item = DecodeIndexTabItem(bytes);
      if (item.record_no != static_cast<std::int32_t>(k)) {
        Find(where + ": node " + Num(static_cast<std::int64_t>(k)) + " names record " +
             Num(item.record_no));
        sound = false;
      }
    }
    // The chain must visit every record once, deleted ones included, and end with -1.
    std::vector<bool> visited(n, false);
    std::int32_t k = index.chain_head;
    std::size_t steps = 0;
    while (k != kChainEnd) {
      if (k < 0 || static_cast<std::size_t>(k) >= n) {
        Find(where + ": chain reaches record number " + Num(k) + " outside the table");
        return false;
      }
      if (visited[static_cast<std::size_t>(k)]) {
        Find(where + ": chain loops back to record " + Num(k));
        return false;
      }
      visited[static_cast<std::size_t>(k)] = true;
      ++steps;
      std::array<std::uint8_t, kIndexTabItemSize> bytes{};
      io_.ReadAt(IndexTabItemPosition((*blocks)[static_cast<std::size_t>(k) / kItemsPerBlock], k),
                 bytes);
      k = DecodeIndexTabItem(bytes).next_record_no;
    }
    (void)record_blocks;
    if (steps != n) {
      Find(where + ": chain visits " + Num(static_cast<std::int64_t>(steps)) + " of " +
           Num(static_cast<std::int64_t>(n)) + " records");
      sound = false;
    }
    return sound;
  }

  // With the structure sound: key order of every index list, BLOB headers and their data.
  void CheckContents(const std::string& where, const TTableHeader& header) {
    TTableIO table(io_);
    table.SetTableName(header.name);
    try {
      table.Open();
    } catch (const EDatabaseError& error) {
      Find(where + ": " + error.what());
      return;
    }
    try {
      const TRecordList& physical = table.RecordList(0);
      for (std::size_t i = 0; i < table.IndexDefs().Count(); ++i) {
        const TRecordList& list = table.RecordList(static_cast<int>(i) + 1);
        const std::string index_where = where + " index '" + table.IndexDefs()[i].Name() + "'";
        if (list.size() != physical.size()) {
          Find(index_where + ": lists " + Num(static_cast<std::int64_t>(list.size())) + " of " +
               Num(static_cast<std::int64_t>(physical.size())) + " live records");
        }
        CheckKeyOrder(table, list, static_cast<int>(i), index_where);
      }
      for (const RecordRef& ref : physical) {
        CheckBlobs(table, ref, where);
      }
    } catch (const EDatabaseError& error) {
      Find(where + ": " + error.what());
    }
  }

  void CheckKeyOrder(TTableIO& table, const TRecordList& list, int index,
                     const std::string& where) {
    const std::size_t field_count = table.FieldDefs().Count();
    for (std::size_t p = 1; p < list.size(); ++p) {
      // The previous record's stored key, as field buffers, against the next record.
      std::vector<crypto::TMemoryStream> values(field_count);
      TFieldBuffers buffers;
      for (std::size_t f = 0; f < field_count; ++f) {
        const TStoredFieldDef& def = table.FieldDefs()[f];
        const auto& key_fields = table.IndexDefs()[static_cast<std::size_t>(index)].Fields();
        if (std::find(key_fields.begin(), key_fields.end(), static_cast<std::int32_t>(f)) !=
                key_fields.end() &&
            !IsBlobType(def.FieldType())) {
          table.ReadFieldOfRecord(values[f], list[p - 1].RecordNo, static_cast<int>(f));
          buffers.Add(values[f].MutableBytes().data(), def.FieldType(),
                      static_cast<std::int32_t>(values[f].Size()));
        } else {
          buffers.AddInactive();
        }
      }
      if (table.CompareKey(buffers, list[p].RecordNo, index, false, 0) > 0) {
        Find(where + ": record " + Num(list[p - 1].RecordNo) + " comes before record " +
             Num(list[p].RecordNo) + " out of key order");
        return;
      }
    }
  }

  void CheckBlobs(TTableIO& table, const RecordRef& ref, const std::string& where) {
    for (std::size_t f = 0; f < table.FieldDefs().Count(); ++f) {
      if (!IsBlobType(table.FieldDefs()[f].FieldType())) {
        continue;
      }
      const std::string field_where =
          where + " record " + Num(ref.RecordNo) + " field '" + table.FieldDefs()[f].Name() + "'";
      std::array<std::uint8_t, kBlobHeaderSize> bytes{};
      io_.ReadAt(std::int64_t{ref.DataOffset} + table.FieldOffsets()[f], bytes);
      const TBlobHeader header = DecodeBlobHeader(bytes);
      if (header.blob_offset == 0 && header.blob_size == 0 && header.area_size == 0) {
        continue;  // never written
      }
      if (header.blob_size < 0 || header.area_size <= header.blob_size ||
          header.area_size % kBlobGranule != 0 || !Inside(header.blob_offset, header.area_size)) {
        Find(field_where + ": BLOB header (offset " + Num(header.blob_offset) + ", size " +
             Num(header.blob_size) + ", area " + Num(header.area_size) + ") does not fit the file");
        continue;
      }
      crypto::TMemoryStream value;
      try {
        table.ReadFieldOfRecord(value, ref.RecordNo, static_cast<int>(f));
      } catch (const platform::EError& error) {
        Find(field_where + ": BLOB data cannot be decoded: " + error.what());
      }
    }
  }

  TDBFileIO& io_;
  std::int64_t size_;
  TCheckReport report_;
};

}  // namespace

TCheckReport CheckDatabase(TDBFileIO& file_io) {
  return TChecker(file_io).Run();
}

}  // namespace database::storage
