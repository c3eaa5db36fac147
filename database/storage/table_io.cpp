#include "database/storage/table_io.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "database/storage/blob_format.h"
#include "database/storage/database_error.h"
#include "database/storage/db_file_io.h"
#include "database/storage/field_types.h"
#include "database/storage/optim_blob_stream.h"
#include "database/storage/record_format.h"
#include "platform/collation.h"

namespace database::storage {
namespace {

std::string Num(std::int64_t value) {
  return std::to_string(value);
}

// Raises unless [offset, offset + size) lies inside the file.
void CheckInsideFile(TDBFileIO& file_io, std::int64_t offset, std::int64_t size,
                     const std::string& what) {
  if (offset < 0 || offset + size > file_io.FileSize()) {
    RaiseDamaged(what + " at " + Num(offset) + " outside the file");
  }
}

}  // namespace

TTableIO::TTableIO(TDBFileIO& file_io) : file_io_(file_io) {}

TTableIO::~TTableIO() {
  ClearLoaded();
}

void TTableIO::Open() {
  if (open_count_ == 0) {
    try {
      LoadTable();
    } catch (...) {
      ClearLoaded();
      throw;
    }
  }
  ++open_count_;
}

void TTableIO::Close() {
  if (open_count_ == 1) {
    ClearLoaded();
  }
  open_count_ = std::max(open_count_ - 1, 0);
}

void TTableIO::ClearLoaded() {
  field_defs_.Clear();
  index_defs_.Clear();
  lists_.clear();
  record_tab_.clear();
  record_tab_blocks_.clear();
  index_tab_blocks_.clear();
  field_offsets_.clear();
  record_size_ = 0;
  auto_inc_field_ = -1;
  key_cache_.clear();
}

void TTableIO::LoadTable() {
  const TFileLockGuard lock(file_io_);
  std::vector<std::string> names;
  file_io_.ListTableNames(names);
  table_no_ = -1;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (platform::AnsiSameText(names[i], table_name_)) {
      table_no_ = static_cast<std::int32_t>(i);
      break;
    }
  }
  if (table_no_ < 0) {
    RaiseDatabaseError(TDbMessage::TableNotFound, table_name_);
  }
  header_bytes_.fill(0);
  file_io_.ReadTableHeader(table_no_, header_bytes_);
  header_ = DecodeTableHeader(header_bytes_);
  index_tab_blocks_.assign(header_.indexes.size(), {});
  LoadFieldDefs();
  LoadIndexDefs();
  LoadRecordTab();
  lists_.clear();
  lists_.resize(header_.indexes.size() + 1);
  for (std::size_t i = 0; i < lists_.size(); ++i) {
    LoadList(static_cast<int>(i), false);
  }
  ComputeRecordLayout();
  FindAutoIncField();
  SetUpKeyCache();
}

void TTableIO::LoadFieldDefs() {
  field_defs_.Clear();
  for (const TFieldEntry& entry : header_.fields) {
    // A field name has at most 32 characters, also when its stored field holds no NUL.
    field_defs_.Add(TStoredFieldDef(entry.name.substr(0, kNameSize - 1), entry.field_type,
                                    entry.field_size, entry.process_mode));
  }
}

void TTableIO::LoadIndexDefs() {
  index_defs_.Clear();
  for (const TIndexEntry& entry : header_.indexes) {
    std::vector<std::int32_t> fields;
    for (const std::int32_t field_no : entry.fields) {
      if (field_no == -1) {
        break;
      }
      if (field_no < 0 || static_cast<std::size_t>(field_no) >= header_.fields.size()) {
        RaiseDamaged("index '" + entry.name + "' names field " + Num(field_no));
      }
      fields.push_back(field_no);
    }
    index_defs_.Add(TStoredIndexDef(entry.name, TIndexOptions{entry.options}, std::move(fields)));
  }
}

void TTableIO::LoadRecordTab() {
  const std::int32_t n = header_.record_total;
  const std::size_t block_count = BlocksForItems(static_cast<std::size_t>(n));
  // A record total that the file cannot hold is refused before anything is allocated.
  if (static_cast<std::int64_t>(block_count) * static_cast<std::int64_t>(kRecordTabBlockSize) >
      file_io_.FileSize()) {
    RaiseDamaged("table '" + header_.name + "': record total " + Num(n) + " beyond the file");
  }
  record_tab_blocks_.assign(block_count, 0);
  record_tab_.assign(static_cast<std::size_t>(n), TRecordTabItem{});
  std::vector<std::uint8_t> block(kRecordTabBlockSize);
  std::int64_t position = header_.record_tab_offset;
  std::size_t k = 0;
  for (std::size_t b = 0; k < static_cast<std::size_t>(n); ++b) {
    const std::size_t count = std::min(kItemsPerBlock, static_cast<std::size_t>(n) - k);
    const std::size_t bytes = kBlockLinkSize + count * kRecordTabItemSize;
    CheckInsideFile(file_io_, position, static_cast<std::int64_t>(bytes),
                    "table '" + header_.name + "': record tab block");
    record_tab_blocks_[b] = static_cast<std::int32_t>(position);
    const std::span<std::uint8_t> data(block.data(), bytes);
    file_io_.ReadAt(position, data);
    for (std::size_t j = 0; j < count; ++j) {
      record_tab_[k + j] =
          DecodeRecordTabItem(data.subspan(kBlockLinkSize + j * kRecordTabItemSize));
    }
    position = DecodeBlockLink(data);
    k += count;
  }
}

void TTableIO::LoadList(int i, bool reread) {
  if (i < 0 || static_cast<std::size_t>(i) >= lists_.size() ||
      lists_[static_cast<std::size_t>(i)]) {
    return;
  }
  if (reread) {
    LoadRecordTab();
  }
  if (i == 0) {
    auto list = std::make_unique<TRecordList>();
    for (std::size_t k = 0; k < record_tab_.size(); ++k) {
      if (record_tab_[k].delete_flag == kRecordLive) {
        list->push_back(RecordRef{record_tab_[k].data_offset, static_cast<std::int32_t>(k)});
      }
    }
    lists_[0] = std::move(list);
  } else {
    LoadIndexList(i - 1);
  }
}

const TRecordList& TTableIO::RecordList(int i) {
  if (i < 0 || static_cast<std::size_t>(i) >= lists_.size()) {
    RaiseDatabaseError(TDbMessage::GeneralError);
  }
  LoadList(i, true);
  return *lists_[static_cast<std::size_t>(i)];
}

TRecordList& TTableIO::List(int selector) {
  const std::size_t i = static_cast<std::size_t>(selector + 1);
  if (i >= lists_.size() || !lists_[i]) {
    RaiseDatabaseError(TDbMessage::GeneralError);
  }
  return *lists_[i];
}

void TTableIO::ComputeRecordLayout() {
  std::vector<std::uint8_t> types;
  std::vector<std::int32_t> sizes;
  for (const TStoredFieldDef& def : field_defs_) {
    types.push_back(def.FieldType());
    sizes.push_back(def.Size());
  }
  TRecordLayout layout = ComputeLayout(types, sizes);
  field_offsets_ = std::move(layout.field_offsets);
  record_size_ = layout.record_size;
}

void TTableIO::FindAutoIncField() {
  auto_inc_field_ = -1;
  for (std::size_t i = 0; i < field_defs_.Count(); ++i) {
    if (field_defs_[i].FieldType() == ftAutoInc) {
      auto_inc_field_ = static_cast<std::int32_t>(i);
      return;
    }
  }
}

bool TTableIO::IsEncryptedField(int field_no) const {
  return file_io_.Encrypted() &&
         field_defs_.Item(static_cast<std::size_t>(field_no)).ProcessMode() == 0;
}

bool TTableIO::IsCompressedField(int field_no) const {
  const TStoredFieldDef& def = field_defs_.Item(static_cast<std::size_t>(field_no));
  return file_io_.Compressed() && IsBlobType(def.FieldType()) && def.ProcessMode() == 0;
}

std::int32_t TTableIO::PrimaryIndexNo() const {
  for (std::size_t i = 0; i < index_defs_.Count(); ++i) {
    if (index_defs_[i].Options().Contains(tiPrimary)) {
      return static_cast<std::int32_t>(i);
    }
  }
  return -1;
}

std::int64_t TTableIO::RecordTabItemFilePosition(std::int32_t record_no) const {
  const std::size_t block = static_cast<std::size_t>(record_no) / kItemsPerBlock;
  if (record_no < 0 || block >= record_tab_blocks_.size()) {
    RaiseDamaged("record " + Num(record_no) + " outside the record tab");
  }
  return RecordTabItemPosition(record_tab_blocks_[block], record_no);
}

void TTableIO::ReadRecord(TFieldBuffers& buffers, const TRecordList& list, int position) {
  if (position < 0 || static_cast<std::size_t>(position) >= list.size()) {
    RaiseDatabaseError(TDbMessage::GeneralError);
  }
  const TFileLockGuard lock(file_io_);
  const RecordRef ref = list[static_cast<std::size_t>(position)];
  std::vector<std::uint8_t> image(static_cast<std::size_t>(record_size_), 0);
  file_io_.ReadAt(ref.DataOffset, image);
  const std::size_t count = std::min(buffers.Count(), field_defs_.Count());
  for (std::size_t i = 0; i < count; ++i) {
    TFieldBufferItem& item = buffers[i];
    if (!item.Active) {
      continue;
    }
    const TStoredFieldDef& def = field_defs_[i];
    const int field_no = static_cast<int>(i);
    if (IsBlobType(def.FieldType())) {
      if (item.Blob != nullptr) {
        item.Blob->SetSource(&file_io_, ref.DataOffset + field_offsets_[i],
                             IsEncryptedField(field_no), IsCompressedField(field_no));
      }
      continue;
    }
    const std::int32_t width = FieldStorageWidth(def.FieldType(), def.Size());
    const std::size_t length = std::min<std::size_t>(
        static_cast<std::size_t>(std::max(item.FieldSize, 0)), static_cast<std::size_t>(width));
    if (item.Buffer == nullptr || length == 0) {
      continue;
    }
    const auto stored = FieldBytes(std::span<const std::uint8_t>(image), field_offsets_[i], width);
    file_io_.DecodeBuffer(stored.data(), item.Buffer, IsEncryptedField(field_no), length);
  }
}

void TTableIO::CheckWritable() const {
  if (!file_io_.Writable()) {
    RaiseDatabaseError(TDbMessage::ReadOnlyDatabase);
  }
}

void TTableIO::CheckIndexTabs() const {
  // Item positions of an index without an index tab do not exist, so such a table cannot be
  // written consistently; it is refused before anything is written.
  if (header_.record_total == 0) {
    return;
  }
  for (std::size_t i = 0; i < header_.indexes.size(); ++i) {
    if (index_tab_blocks_[i].size() !=
        BlocksForItems(static_cast<std::size_t>(header_.record_total))) {
      RaiseDamaged("index '" + header_.indexes[i].name + "' has no index tab");
    }
  }
}

void TTableIO::WriteHeaderRun(bool with_auto_inc) {
  EncodeTableHeaderState(header_, header_bytes_);
  const std::size_t length = with_auto_inc ? 12 : 8;
  file_io_.WriteAt(
      std::int64_t{file_io_.TableHeaderOffset(table_no_)} + kRecordTabOffsetOffset,
      std::span<const std::uint8_t>(header_bytes_).subspan(kRecordTabOffsetOffset, length));
}

void TTableIO::WriteWholeHeader() {
  EncodeTableHeaderState(header_, header_bytes_);
  file_io_.WriteTableHeader(table_no_, header_bytes_);
}

void TTableIO::AppendRecord(TFieldBuffers& buffers, bool flush, const TInsertNotification& notify) {
  CheckWritable();
  const TFileLockGuard lock(file_io_);
  CheckIndexTabs();
  CheckUniqueForAppend(buffers);
  const std::int32_t n = header_.record_total;
  if (n == std::numeric_limits<std::int32_t>::max()) {
    RaiseDatabaseError(TDbMessage::DatabaseFull);
  }

  const std::int32_t last_auto_inc = header_.last_auto_inc;
  if (auto_inc_field_ >= 0) {
    const std::size_t f = static_cast<std::size_t>(auto_inc_field_);
    std::span<std::uint8_t> value =
        f < buffers.Count() && buffers[f].Active ? buffers[f].Bytes() : std::span<std::uint8_t>{};
    const std::int32_t v = value.size() >= 4 ? LoadInteger(value) : 0;
    if (v == 0) {
      ++header_.last_auto_inc;
      if (value.size() >= 4) {
        StoreInteger(value, header_.last_auto_inc);
      }
    } else if (v > header_.last_auto_inc) {
      header_.last_auto_inc = v;
    }
  }

  const std::size_t count = std::min(buffers.Count(), field_defs_.Count());
  for (std::size_t i = 0; i < count; ++i) {
    TFieldBufferItem& item = buffers[i];
    if (item.Active && IsTextType(field_defs_[i].FieldType()) && item.Buffer != nullptr &&
        item.FieldSize > 0) {
      const std::size_t size = static_cast<std::size_t>(item.FieldSize);
      const std::size_t length = strnlen(reinterpret_cast<const char*>(item.Buffer), size - 1);
      std::fill(item.Buffer + length, item.Buffer + size, std::uint8_t{0});
    }
  }

  // Everything the record adds at the end of the file (a new record tab block when one is
  // needed, the image, the BLOB areas in field order) is built first and written as one run,
  // so that a value that cannot be encoded leaves the file as it was.
  const std::int64_t end = file_io_.FileSize();
  const bool new_block = n % static_cast<std::int32_t>(kItemsPerBlock) == 0;
  const std::int64_t data_offset = new_block ? end + kRecordTabBlockSize : end;
  if (data_offset + record_size_ > kMaxDatabaseSize) {
    header_.last_auto_inc = last_auto_inc;
    RaiseDatabaseError(TDbMessage::DatabaseFull);
  }
  const std::int32_t d = static_cast<std::int32_t>(data_offset);
  std::vector<std::uint8_t> tail(static_cast<std::size_t>(data_offset - end), 0);
  std::vector<std::uint8_t> image(static_cast<std::size_t>(record_size_), 0);
  std::vector<TPendingBlobCheck> checks;
  std::int64_t position = std::int64_t{d} + record_size_;
  std::vector<std::uint8_t> areas;
  try {
    for (std::size_t i = 0; i < count; ++i) {
      TFieldBufferItem& item = buffers[i];
      const TStoredFieldDef& def = field_defs_[i];
      const int field_no = static_cast<int>(i);
      if (!item.Active && static_cast<std::int32_t>(i) != auto_inc_field_) {
        continue;
      }
      if (IsBlobType(def.FieldType())) {
        if (item.Active && item.Blob != nullptr) {
          WriteNewBlob(field_no, *item.Blob, image, position, areas, checks);
        }
        continue;
      }
      const std::int32_t width = FieldStorageWidth(def.FieldType(), def.Size());
      const auto target = FieldBytes(std::span<std::uint8_t>(image), field_offsets_[i], width);
      if (!item.Active) {
        // An auto-increment field the cursor does not show still gets the value it was given.
        std::array<std::uint8_t, 4> value{};
        StoreInteger(value, header_.last_auto_inc);
        file_io_.EncodeBuffer(value.data(), target.data(), IsEncryptedField(field_no),
                              value.size());
        continue;
      }
      const std::size_t length = std::min<std::size_t>(
          static_cast<std::size_t>(std::max(item.FieldSize, 0)), static_cast<std::size_t>(width));
      if (item.Buffer != nullptr && length > 0) {
        file_io_.EncodeBuffer(item.Buffer, target.data(), IsEncryptedField(field_no), length);
      }
    }
  } catch (...) {
    header_.last_auto_inc = last_auto_inc;
    throw;
  }
  if (new_block) {
    EncodeBlockLink(0, tail);
    EncodeRecordTabItem(TRecordTabItem{d, kRecordLive},
                        std::span<std::uint8_t>(tail).subspan(kBlockLinkSize));
  }
  tail.insert(tail.end(), image.begin(), image.end());
  tail.insert(tail.end(), areas.begin(), areas.end());

  if (new_block) {
    if (n == 0) {
      header_.record_tab_offset = static_cast<std::int32_t>(end);
    } else {
      std::array<std::uint8_t, kBlockLinkSize> link{};
      EncodeBlockLink(static_cast<std::int32_t>(end), link);
      file_io_.WriteAt(record_tab_blocks_.back(), link);
    }
    record_tab_blocks_.push_back(static_cast<std::int32_t>(end));
  } else {
    std::array<std::uint8_t, kRecordTabItemSize> item{};
    EncodeRecordTabItem(TRecordTabItem{d, kRecordLive}, item);
    file_io_.WriteAt(RecordTabItemPosition(record_tab_blocks_.back(), n), item);
  }
  record_tab_.push_back(TRecordTabItem{d, kRecordLive});
  header_.record_total = n + 1;
  WriteHeaderRun(auto_inc_field_ >= 0);
  file_io_.WriteAt(end, tail);
  for (TPendingBlobCheck& check : checks) {
    CheckBlobArea(check.field_no, check.plain, check.encoded, check.position);
  }

  List(kPhysicalList).push_back(RecordRef{d, n});
  InsertIntoIndexes(buffers, d, notify, n);
  RememberAppendedKeys(buffers, n);
  if (flush) {
    file_io_.Flush();
  }
}

void TTableIO::ModifyRecord(TFieldBuffers& buffers, int physical_position,
                            const TMoveNotification& notify, bool flush) {
  CheckWritable();
  const TFileLockGuard lock(file_io_);
  TRecordList& physical = List(kPhysicalList);
  if (physical_position < 0 || static_cast<std::size_t>(physical_position) >= physical.size()) {
    RaiseDatabaseError(TDbMessage::GeneralError);
  }
  CheckIndexTabs();
  CheckUniqueForModify(buffers, physical_position);
  const RecordRef ref = physical[static_cast<std::size_t>(physical_position)];
  ForgetCachedKeys(ref.RecordNo);
  std::vector<std::uint8_t> image(static_cast<std::size_t>(record_size_), 0);
  file_io_.ReadAt(ref.DataOffset, image);
  const std::size_t count = std::min(buffers.Count(), field_defs_.Count());
  for (std::size_t i = 0; i < count; ++i) {
    TFieldBufferItem& item = buffers[i];
    if (!item.Active) {
      continue;
    }
    const TStoredFieldDef& def = field_defs_[i];
    const int field_no = static_cast<int>(i);
    if (IsBlobType(def.FieldType())) {
      if (item.Blob != nullptr) {
        RewriteBlob(field_no, *item.Blob, image);
      }
      continue;
    }
    const std::int32_t width = FieldStorageWidth(def.FieldType(), def.Size());
    const auto target = FieldBytes(std::span<std::uint8_t>(image), field_offsets_[i], width);
    const std::size_t length = std::min<std::size_t>(
        static_cast<std::size_t>(std::max(item.FieldSize, 0)), static_cast<std::size_t>(width));
    if (item.Buffer == nullptr || length == 0) {
      continue;
    }
    if (def.FieldType() == ftAutoInc) {
      const std::int32_t v = length >= 4 ? LoadInteger(item.Bytes()) : 0;
      if (v == 0) {
        continue;  // the stored value stays
      }
      file_io_.EncodeBuffer(item.Buffer, target.data(), IsEncryptedField(field_no), length);
      if (v > header_.last_auto_inc) {
        header_.last_auto_inc = v;
        EncodeTableHeaderState(header_, header_bytes_);
        file_io_.WriteAt(
            std::int64_t{file_io_.TableHeaderOffset(table_no_)} + kLastAutoIncOffset,
            std::span<const std::uint8_t>(header_bytes_).subspan(kLastAutoIncOffset, 4));
      }
      continue;
    }
    file_io_.EncodeBuffer(item.Buffer, target.data(), IsEncryptedField(field_no), length);
  }
  file_io_.WriteAt(ref.DataOffset, image);
  RepositionInIndexes(buffers, physical_position, notify);
  if (flush) {
    file_io_.Flush();
  }
}

void TTableIO::DeleteRecord(int physical_position, bool flush) {
  CheckWritable();
  const TFileLockGuard lock(file_io_);
  TRecordList& physical = List(kPhysicalList);
  if (physical_position < 0 || static_cast<std::size_t>(physical_position) >= physical.size()) {
    RaiseDatabaseError(TDbMessage::GeneralError);
  }
  MarkDeleted(physical[static_cast<std::size_t>(physical_position)].RecordNo);
  RemoveFromIndexes(physical_position);
  physical.erase(physical.begin() + physical_position);
  if (flush) {
    file_io_.Flush();
  }
}

void TTableIO::MarkDeleted(std::int32_t record_no) {
  const std::int64_t position = RecordTabItemFilePosition(record_no);
  std::array<std::uint8_t, kRecordTabItemSize> bytes{};
  file_io_.ReadAt(position, bytes);
  TRecordTabItem item = DecodeRecordTabItem(bytes);
  item.delete_flag = kRecordDeleted;
  EncodeRecordTabItem(item, bytes);
  file_io_.WriteAt(position, bytes);
}

int TTableIO::PhysicalPosition(const TRecordList& list, int position) {
  if (position < 0 || static_cast<std::size_t>(position) >= list.size()) {
    return -1;
  }
  const TRecordList& physical = List(kPhysicalList);
  const std::int32_t record_no = list[static_cast<std::size_t>(position)].RecordNo;
  const auto found =
      std::lower_bound(physical.begin(), physical.end(), record_no,
                       [](const RecordRef& ref, std::int32_t no) { return ref.RecordNo < no; });
  if (found == physical.end() || found->RecordNo != record_no) {
    return -1;
  }
  return static_cast<int>(found - physical.begin());
}

void TTableIO::ReadFieldOfRecord(crypto::TMemoryStream& target, std::int32_t record_no,
                                 int field_no) {
  std::array<std::uint8_t, kRecordTabItemSize> bytes{};
  file_io_.ReadAt(RecordTabItemFilePosition(record_no), bytes);
  const TRecordTabItem item = DecodeRecordTabItem(bytes);
  const TStoredFieldDef& def = field_defs_.Item(static_cast<std::size_t>(field_no));
  const bool blob = IsBlobType(def.FieldType());
  file_io_.ReadFieldData(
      target, std::int64_t{item.data_offset} + field_offsets_[static_cast<std::size_t>(field_no)],
      FieldImageWidth(def.FieldType(), def.Size()), blob, IsEncryptedField(field_no),
      IsCompressedField(field_no));
}

std::int32_t DateToDayNumber(int year, int month, int day) {
  // Days from 1970-01-01 in the proleptic Gregorian calendar, shifted so that 0001-01-01 is 1.
  year -= month <= 2 ? 1 : 0;
  const int era = (year >= 0 ? year : year - 399) / 400;
  const int yoe = year - era * 400;
  const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + 719163;
}

void DayNumberToDate(std::int32_t day_number, int& year, int& month, int& day) {
  const std::int64_t z = std::int64_t{day_number} - 719163 + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace database::storage
