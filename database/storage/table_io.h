#pragma once
// The table reader: the storage engine's view of one table of an open database. At its first
// Open it loads the table header, the field and index definitions, the whole record tab and
// the ordered lists of live records (the physical list and one list per index, built from the
// index chains); from then on it reads records into a cursor's field buffers and appends,
// modifies and deletes records, keeping the file, the record tab, the index chains, the table
// header and its lists in step. The database object owns one per table; cursors share it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "crypto/memory_stream.h"
#include "database/storage/field_buffers.h"
#include "database/storage/index_chain_format.h"
#include "database/storage/record_tab_format.h"
#include "database/storage/stored_defs.h"
#include "database/storage/table_header_format.h"

namespace database::storage {

class TDBFileIO;
class TOptimBlobStream;

// A record of a list: where its image lies and its record number (given in append order from
// 0, never reused). A cursor's bookmark is the record number.
struct RecordRef {
  std::int32_t DataOffset = 0;
  std::int32_t RecordNo = 0;
  bool operator==(const RecordRef&) const = default;
};

using TRecordList = std::vector<RecordRef>;
using TRecordTabItems = std::vector<TRecordTabItem>;
using TIntegerAry = std::vector<std::int32_t>;

// List selectors: -1 the physical list, i >= 0 the list of index i.
inline constexpr int kPhysicalList = -1;

// Sent during an append: once with (-1, -1, ref) after the record joined the physical list,
// then per index i with (i, position it is about to take in that index's list, ref).
using TInsertNotification = std::function<void(int selector, int position, const RecordRef& ref)>;
// Sent during a modify, per index whose list position of the record changes, before the move.
using TMoveNotification = std::function<void(int selector, int old_position, int new_position)>;

// Outcome of a binary search over an index-ordered list. state 0: position holds an equal
// key; -1: the key sorts before the record at position; 1: after it; -2: the list is empty
// (position -1).
struct TSearchResult {
  int position = -1;
  int state = -2;
};

// Invariants while open (open count >= 1): the definitions, layout, header copy, record tab
// items and block offsets describe the table as this reader last read or wrote it; list 0
// holds every live record in ascending record number, list i + 1 the live records in the key
// order of index i. Closed: no definitions and no lists; the table number and the header copy
// survive. Points at the file reader, which must outlive it.
class TTableIO final {
 public:
  explicit TTableIO(TDBFileIO& file_io);
  ~TTableIO();
  TTableIO(const TTableIO&) = delete;
  TTableIO& operator=(const TTableIO&) = delete;

  void SetTableName(std::string name) { table_name_ = std::move(name); }
  const std::string& TableName() const { return table_name_; }
  std::int32_t TableNo() const { return table_no_; }

  // Loads the table when the open count is 0 (under the file lock), then counts. Raises "Table
  // '%s' not found", "General error" (a field type without a width), "Database file is
  // damaged" (counts, offsets or chains that cannot be), leaving the count at 0.
  void Open();
  // Counts down; at 0 the definitions and lists go. Never below 0.
  void Close();
  int OpenCount() const { return open_count_; }

  const TStoredFieldDefs& FieldDefs() const { return field_defs_; }
  const TStoredIndexDefs& IndexDefs() const { return index_defs_; }
  std::int32_t RecordSize() const { return record_size_; }
  const TIntegerAry& FieldOffsets() const { return field_offsets_; }
  std::int32_t AutoIncFieldNo() const { return auto_inc_field_; }
  const TTableHeader& Header() const { return header_; }
  std::span<const std::uint8_t, kTableHeaderSize> HeaderBytes() const { return header_bytes_; }
  const TRecordTabItems& RecordTabItems() const { return record_tab_; }
  const TIntegerAry& RecordTabBlocks() const { return record_tab_blocks_; }
  const TIntegerAry& IndexTabBlocks(int index) const {
    return index_tab_blocks_.at(static_cast<std::size_t>(index));
  }

  // The database's encryption flag and a processing mode of 0.
  bool IsEncryptedField(int field_no) const;
  // The database's compression flag, a BLOB type and a processing mode of 0.
  bool IsCompressedField(int field_no) const;
  // The first index with tiPrimary, or -1.
  std::int32_t PrimaryIndexNo() const;

  // List `i` (0 physical, i + 1 index i), built first when absent.
  const TRecordList& RecordList(int i);

  // Reads the record at `position` of `list` into the active items of `buffers`; BLOB items
  // only learn where their value lies. Inactive items are left untouched.
  void ReadRecord(TFieldBuffers& buffers, const TRecordList& list, int position);
  // Adds a record from `buffers`. Raises "Invalid unique field value '%s'" before anything is
  // written; writes an auto-increment value it gives into the buffer, and zeroes the bytes
  // after the text in text buffers.
  void AppendRecord(TFieldBuffers& buffers, bool flush, const TInsertNotification& notify = {});
  // Rewrites the record at `physical_position` of the physical list from `buffers`.
  void ModifyRecord(TFieldBuffers& buffers, int physical_position,
                    const TMoveNotification& notify = {}, bool flush = false);
  // Marks the record at `physical_position` deleted and drops it from every list.
  void DeleteRecord(int physical_position, bool flush);
  // The physical-list position of the record at `position` of `list`, or -1.
  int PhysicalPosition(const TRecordList& list, int position);
  // The decoded stored bytes of field `field_no` of record `record_no` (a BLOB field: its
  // value). Takes no file lock.
  void ReadFieldOfRecord(crypto::TMemoryStream& target, std::int32_t record_no, int field_no);

  // Key comparison, -1, 0 or 1: the key value against a stored value of the same type.
  static int CompareKeyField(std::span<const std::uint8_t> key,
                             std::span<const std::uint8_t> stored, bool partial,
                             bool case_insensitive, std::uint8_t field_type);
  // The key in `buffers` against record `record_no` over the first `field_count` key fields
  // of index `index` (0: all).
  int CompareKey(const TFieldBuffers& buffers, std::int32_t record_no, int index, bool partial,
                 int field_count);
  TSearchResult SearchIndex(const TFieldBuffers& buffers, const TRecordList& list, bool partial,
                            int field_count, int index);
  // As SearchIndex, but on equal keys goes on to the first (`first`) or last equal key.
  TSearchResult SearchIndexBound(const TFieldBuffers& buffers, const TRecordList& list,
                                 bool partial, int field_count, bool first, int index);
  int FindInsertPosition(const TFieldBuffers& buffers, int index);
  void CheckUniqueForAppend(const TFieldBuffers& buffers);
  void CheckUniqueForModify(const TFieldBuffers& buffers, int physical_position);
  // The position in list `to` of the record at `position` of list `from` (selectors), or -1.
  int MapPosition(int from, int position, int to);
  // The position in `list` of the record at `position` of index `index`'s list, or -1.
  int PositionInList(int index, int position, const TRecordList& list);

 private:
  void LoadTable();
  void LoadFieldDefs();
  void LoadIndexDefs();
  void LoadRecordTab();
  void LoadList(int i, bool reread);
  void LoadIndexList(int index);
  void LoadIndexTab(int index, std::vector<TIndexTabItem>& items);
  void ComputeRecordLayout();
  void FindAutoIncField();
  void ClearLoaded();

  void CheckWritable() const;
  void CheckIndexTabs() const;
  void WriteHeaderRun(bool with_auto_inc);
  void WriteWholeHeader();
  std::int64_t RecordTabItemFilePosition(std::int32_t record_no) const;
  std::int64_t IndexTabItemFilePosition(int index, std::int32_t record_no) const;
  TIndexTabItem ReadIndexTabItem(int index, std::int32_t record_no);
  void WriteIndexTabItem(int index, const TIndexTabItem& item);
  void MarkDeleted(std::int32_t record_no);
  void InsertIntoIndexes(const TFieldBuffers& buffers, std::int32_t data_offset,
                         const TInsertNotification& notify, std::int32_t record_no);
  void RepositionInIndexes(const TFieldBuffers& buffers, int physical_position,
                           const TMoveNotification& notify);
  void RemoveFromIndexes(int physical_position);
  TRecordList& List(int selector);
  std::string KeyText(const TFieldBuffers& buffers, int index);
  std::span<const std::uint8_t> KeyValue(const TFieldBuffers& buffers, int field_no) const;

  // A BLOB area of a new record, written with the record's other bytes and read back after.
  struct TPendingBlobCheck {
    int field_no;
    crypto::TMemoryStream plain;
    crypto::TMemoryStream encoded;
    std::int64_t position;
  };
  // Encodes a new BLOB value for the area at `position` (moved past it), puts its header into
  // `image` and its area bytes at the end of `tail`, which the caller writes at once.
  void WriteNewBlob(int field_no, TOptimBlobStream& value, std::span<std::uint8_t> image,
                    std::int64_t& position, std::vector<std::uint8_t>& tail,
                    std::vector<TPendingBlobCheck>& checks);
  // The read-back check of an area written at `position`: rewrites it until its data decode
  // to `value`, at most a few times, then raises "BLOB data could not be verified".
  void CheckBlobArea(int field_no, const crypto::TMemoryStream& value,
                     crypto::TMemoryStream& encoded, std::int64_t position);
  void RewriteBlob(int field_no, TOptimBlobStream& value, std::span<std::uint8_t> image);
  void WriteBlobArea(int field_no, const crypto::TMemoryStream& value,
                     crypto::TMemoryStream& encoded, std::int64_t position, std::int32_t area_size);

  // The decoded stored bytes of one key field, by record number. Kept only while nobody else
  // can change the file (an exclusive open or a memory database); a modify drops the record's
  // entries, so a key compared is always the stored one.
  struct TKeyCache {
    std::int32_t width = 0;           // bytes per record; 0: the field is not cached
    std::vector<std::uint8_t> bytes;  // width bytes per record number
    std::vector<bool> valid;          // by record number
  };
  std::span<const std::uint8_t> StoredKeyField(std::int32_t record_no, int field_no,
                                               crypto::TMemoryStream& scratch);
  void SetUpKeyCache();
  void ForgetCachedKeys(std::int32_t record_no);
  // Enters the keys of the record just appended from `buffers`, which hold what was stored.
  void RememberAppendedKeys(const TFieldBuffers& buffers, std::int32_t record_no);

  TDBFileIO& file_io_;  // not owned; outlives the table reader
  int open_count_ = 0;
  std::string table_name_;
  std::int32_t table_no_ = -1;
  TStoredFieldDefs field_defs_;
  TStoredIndexDefs index_defs_;
  std::int32_t record_size_ = 0;  // bytes of a record image
  TIntegerAry field_offsets_;     // entry i: byte position of field i in the image
  std::int32_t auto_inc_field_ = -1;
  std::array<std::uint8_t, kTableHeaderSize> header_bytes_{};  // as last read or written
  TTableHeader header_;                                        // decoded from header_bytes_
  TRecordTabItems record_tab_;                                 // item k: record number k
  TIntegerAry record_tab_blocks_;                              // absolute offsets, in chain order
  std::vector<TIntegerAry> index_tab_blocks_;        // per index, absolute offsets in chain order
  std::vector<std::unique_ptr<TRecordList>> lists_;  // IndexCount + 1; null until loaded
  std::vector<TKeyCache> key_cache_;  // per field; empty when keys are read from the file
};

// Calendar conversions of the stored date forms: day 1 is 1 January of year 1.
std::int32_t DateToDayNumber(int year, int month, int day);
void DayNumberToDate(std::int32_t day_number, int& year, int& month, int& day);

}  // namespace database::storage
