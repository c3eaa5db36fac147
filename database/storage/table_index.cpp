// The index half of the table reader: index lists built from the chains, key comparison
// against stored records, binary searches, uniqueness, and keeping chains and lists in step
// when records are appended, modified and deleted.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "database/storage/database_error.h"
#include "database/storage/db_file_io.h"
#include "database/storage/field_types.h"
#include "database/storage/optim_blob_stream.h"
#include "database/storage/record_format.h"
#include "database/storage/table_io.h"
#include "platform/collation.h"

namespace database::storage {
namespace {

std::string Num(std::int64_t value) {
  return std::to_string(value);
}

int Sign(int value) {
  return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

template <class T>
int Compare(T key, T stored) {
  if (key == stored) {
    return 0;
  }
  return key < stored ? -1 : 1;
}

std::string_view TextOf(std::span<const std::uint8_t> bytes) {
  const char* chars = reinterpret_cast<const char*>(bytes.data());
  return std::string_view(chars, strnlen(chars, bytes.size()));
}

// The first `width` bytes of a value, zero-extended when it is shorter (a truncated file).
template <std::size_t kWidth>
std::array<std::uint8_t, kWidth> Widen(std::span<const std::uint8_t> bytes) {
  std::array<std::uint8_t, kWidth> out{};
  std::copy_n(bytes.begin(), std::min(kWidth, bytes.size()), out.begin());
  return out;
}

std::string TwoDigits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

std::string DateText(std::int32_t day_number) {
  int year = 0;
  int month = 0;
  int day = 0;
  DayNumberToDate(day_number, year, month, day);
  char text[32];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", day, month, year);
  return text;
}

std::string TimeText(std::int64_t ms) {
  const std::int64_t seconds = ms / 1000;
  return TwoDigits(static_cast<int>(seconds / 3600)) + ":" +
         TwoDigits(static_cast<int>(seconds / 60 % 60)) + ":" +
         TwoDigits(static_cast<int>(seconds % 60));
}

// The general floating-point text: up to 15 significant digits, no trailing zeros.
std::string FloatText(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.15G", value);
  return text;
}

// A buffer value as the uniqueness message shows it.
std::string ValueText(std::span<const std::uint8_t> bytes, std::uint8_t type) {
  switch (type) {
    case ftString:
    case ftFixedChar:
      return std::string(TextOf(bytes));
    case ftSmallint:
      return Num(LoadSmallint(Widen<2>(bytes)));
    case ftWord:
      return Num(LoadWord(Widen<2>(bytes)));
    case ftInteger:
    case ftAutoInc:
      return Num(LoadInteger(Widen<4>(bytes)));
    case ftLargeint:
      return Num(LoadLargeint(Widen<8>(bytes)));
    case ftBoolean:
      return LoadWord(Widen<2>(bytes)) != 0 ? "True" : "False";
    case ftFloat:
    case ftCurrency:
      return FloatText(LoadFloat(Widen<8>(bytes)));
    case ftDate:
      return DateText(LoadInteger(Widen<4>(bytes)));
    case ftTime:
      return TimeText(LoadInteger(Widen<4>(bytes)));
    case ftDateTime: {
      const double ms = LoadFloat(Widen<8>(bytes));
      if (!std::isfinite(ms) || std::fabs(ms) > 1e15) {
        return {};
      }
      const auto total = static_cast<std::int64_t>(ms);
      return DateText(static_cast<std::int32_t>(total / 86400000)) + " " +
             TimeText(total % 86400000);
    }
    default:
      return IsBlobType(type) ? std::string(TextOf(bytes)) : std::string();
  }
}

}  // namespace

void TTableIO::LoadIndexTab(int index, std::vector<TIndexTabItem>& items) {
  const std::size_t i = static_cast<std::size_t>(index);
  const std::size_t n = static_cast<std::size_t>(header_.record_total);
  const std::string what = "index '" + header_.indexes[i].name + "': index tab block";
  if (static_cast<std::int64_t>(BlocksForItems(n)) * static_cast<std::int64_t>(kIndexTabBlockSize) >
      file_io_.FileSize()) {
    RaiseDamaged(what + "s beyond the file");
  }
  TIntegerAry& blocks = index_tab_blocks_[i];
  blocks.assign(BlocksForItems(n), 0);
  items.assign(n, TIndexTabItem{});
  std::vector<std::uint8_t> block(kIndexTabBlockSize);
  std::int64_t position = header_.indexes[i].index_tab_offset;
  std::size_t k = 0;
  for (std::size_t b = 0; k < n; ++b) {
    const std::size_t count = std::min(kItemsPerBlock, n - k);
    const std::size_t bytes = kBlockLinkSize + count * kIndexTabItemSize;
    if (position <= 0 || position + static_cast<std::int64_t>(bytes) > file_io_.FileSize()) {
      RaiseDamaged(what + " at " + Num(position) + " outside the file");
    }
    blocks[b] = static_cast<std::int32_t>(position);
    const std::span<std::uint8_t> data(block.data(), bytes);
    file_io_.ReadAt(position, data);
    for (std::size_t j = 0; j < count; ++j) {
      items[k + j] = DecodeIndexTabItem(data.subspan(kBlockLinkSize + j * kIndexTabItemSize));
    }
    position = DecodeBlockLink(data);
    k += count;
  }
}

void TTableIO::LoadIndexList(int index) {
  auto list = std::make_unique<TRecordList>();
  const TIndexEntry& entry = header_.indexes[static_cast<std::size_t>(index)];
  if (entry.index_tab_offset != 0) {
    std::vector<TIndexTabItem> items;
    LoadIndexTab(index, items);
    const std::int32_t total = header_.record_total;
    // The walk is bounded by the record total and stops at a number outside the table or at
    // a record it has visited, so a looping or damaged chain yields a shorter list, without
    // duplicates, instead of hanging.
    std::vector<bool> visited(static_cast<std::size_t>(total), false);
    std::int32_t k = entry.chain_head;
    for (std::int32_t steps = 0; k != kChainEnd && steps < total; ++steps) {
      if (k < 0 || k >= total || visited[static_cast<std::size_t>(k)]) {
        break;
      }
      visited[static_cast<std::size_t>(k)] = true;
      const TRecordTabItem& item = record_tab_[static_cast<std::size_t>(k)];
      if (item.delete_flag == kRecordLive) {
        list->push_back(RecordRef{item.data_offset, k});
      }
      k = items[static_cast<std::size_t>(k)].next_record_no;
    }
  }
  lists_[static_cast<std::size_t>(index) + 1] = std::move(list);
}

int TTableIO::CompareKeyField(std::span<const std::uint8_t> key,
                              std::span<const std::uint8_t> stored, bool partial,
                              bool case_insensitive, std::uint8_t field_type) {
  switch (field_type) {
    case ftSmallint:
      return Compare(LoadSmallint(Widen<2>(key)), LoadSmallint(Widen<2>(stored)));
    case ftInteger:
    case ftAutoInc:
    case ftDate:
    case ftTime:
      return Compare(LoadInteger(Widen<4>(key)), LoadInteger(Widen<4>(stored)));
    case ftWord:
      return Compare(LoadWord(Widen<2>(key)), LoadWord(Widen<2>(stored)));
    case ftBoolean:
      return Compare(Widen<1>(key)[0], Widen<1>(stored)[0]);
    case ftFloat:
    case ftCurrency:
    case ftDateTime:
      return Compare(LoadFloat(Widen<8>(key)), LoadFloat(Widen<8>(stored)));
    case ftLargeint:
      return Compare(LoadLargeint(Widen<8>(key)), LoadLargeint(Widen<8>(stored)));
    default:
      break;
  }
  if (!IsTextType(field_type) && !IsBlobType(field_type)) {
    return 0;
  }
  std::string_view key_text = TextOf(key);
  std::string_view stored_text = TextOf(stored);
  if (partial) {
    // A stored text shorter than the key compares as it stands: nothing past its end is read.
    stored_text = stored_text.substr(0, key_text.size());
  }
  return Sign(platform::AnsiCompareText(key_text, stored_text, case_insensitive));
}

std::span<const std::uint8_t> TTableIO::KeyValue(const TFieldBuffers& buffers, int field_no) const {
  if (field_no < 0 || static_cast<std::size_t>(field_no) >= buffers.Count()) {
    return {};
  }
  const TFieldBufferItem& item = buffers[static_cast<std::size_t>(field_no)];
  if (item.Blob != nullptr) {
    return item.Blob->Bytes();
  }
  return item.Bytes();
}

int TTableIO::CompareKey(const TFieldBuffers& buffers, std::int32_t record_no, int index,
                         bool partial, int field_count) {
  const TStoredIndexDef& def = index_defs_.Item(static_cast<std::size_t>(index));
  const bool case_insensitive = def.Options().Contains(tiCaseInsensitive);
  const std::size_t count =
      field_count > 0 ? std::min(def.Fields().size(), static_cast<std::size_t>(field_count))
                      : def.Fields().size();
  crypto::TMemoryStream scratch;
  int result = 0;
  for (std::size_t k = 0; k < count && result == 0; ++k) {
    const int field_no = def.Fields()[k];
    const std::span<const std::uint8_t> stored = StoredKeyField(record_no, field_no, scratch);
    const std::uint8_t type = static_cast<std::size_t>(field_no) < buffers.Count()
                                  ? buffers[static_cast<std::size_t>(field_no)].FieldType
                                  : field_defs_[static_cast<std::size_t>(field_no)].FieldType();
    result = CompareKeyField(KeyValue(buffers, field_no), stored, partial, case_insensitive, type);
  }
  return def.Options().Contains(tiDescending) ? -result : result;
}

void TTableIO::SetUpKeyCache() {
  key_cache_.clear();
  if (!file_io_.Exclusive() && file_io_.MediumType() != mtMemory) {
    return;
  }
  key_cache_.resize(field_defs_.Count());
  for (const TStoredIndexDef& index : index_defs_) {
    for (const std::int32_t field_no : index.Fields()) {
      const TStoredFieldDef& def = field_defs_[static_cast<std::size_t>(field_no)];
      if (!IsBlobType(def.FieldType())) {
        key_cache_[static_cast<std::size_t>(field_no)].width =
            FieldStorageWidth(def.FieldType(), def.Size());
      }
    }
  }
}

void TTableIO::RememberAppendedKeys(const TFieldBuffers& buffers, std::int32_t record_no) {
  for (std::size_t f = 0; f < key_cache_.size() && f < buffers.Count(); ++f) {
    TKeyCache& cache = key_cache_[f];
    const TFieldBufferItem& item = buffers[f];
    // The stored field decodes to the buffer's bytes only when the buffer covered the whole
    // width; a shorter one is read back from the file when first compared.
    if (cache.width == 0 || !item.Active || item.Buffer == nullptr ||
        item.FieldSize < cache.width) {
      continue;
    }
    const std::size_t k = static_cast<std::size_t>(record_no);
    const std::size_t width = static_cast<std::size_t>(cache.width);
    if (k >= cache.valid.size()) {
      cache.valid.resize(k + 1, false);
      cache.bytes.resize((k + 1) * width, 0);
    }
    std::copy_n(item.Buffer, width, cache.bytes.begin() + static_cast<std::ptrdiff_t>(k * width));
    cache.valid[k] = true;
  }
}

void TTableIO::ForgetCachedKeys(std::int32_t record_no) {
  for (TKeyCache& cache : key_cache_) {
    if (static_cast<std::size_t>(record_no) < cache.valid.size()) {
      cache.valid[static_cast<std::size_t>(record_no)] = false;
    }
  }
}

std::span<const std::uint8_t> TTableIO::StoredKeyField(std::int32_t record_no, int field_no,
                                                       crypto::TMemoryStream& scratch) {
  TKeyCache* cache = static_cast<std::size_t>(field_no) < key_cache_.size()
                         ? &key_cache_[static_cast<std::size_t>(field_no)]
                         : nullptr;
  if (cache == nullptr || cache->width == 0 || record_no < 0) {
    ReadFieldOfRecord(scratch, record_no, field_no);
    return scratch.Bytes();
  }
  const std::size_t k = static_cast<std::size_t>(record_no);
  const std::size_t width = static_cast<std::size_t>(cache->width);
  if (k >= cache->valid.size()) {
    const std::size_t size = std::max(k + 1, static_cast<std::size_t>(header_.record_total));
    cache->valid.resize(size, false);
    cache->bytes.resize(size * width, 0);
  }
  const std::span<std::uint8_t> slot(cache->bytes.data() + k * width, width);
  if (!cache->valid[k]) {
    ReadFieldOfRecord(scratch, record_no, field_no);
    std::fill(slot.begin(), slot.end(), std::uint8_t{0});
    std::copy_n(scratch.Bytes().begin(), std::min(width, scratch.Size()), slot.begin());
    cache->valid[k] = true;
  }
  return slot;
}

TSearchResult TTableIO::SearchIndex(const TFieldBuffers& buffers, const TRecordList& list,
                                    bool partial, int field_count, int index) {
  TSearchResult result;
  int lo = 0;
  int hi = static_cast<int>(list.size()) - 1;
  while (lo <= hi) {
    const int mid = (lo + hi) / 2;
    result.position = mid;
    const int c = CompareKey(buffers, list[static_cast<std::size_t>(mid)].RecordNo, index, partial,
                             field_count);
    if (c > 0) {
      result.state = 1;
      lo = mid + 1;
    } else if (c < 0) {
      result.state = -1;
      hi = mid - 1;
    } else {
      result.state = 0;
      break;
    }
  }
  return result;
}

TSearchResult TTableIO::SearchIndexBound(const TFieldBuffers& buffers, const TRecordList& list,
                                         bool partial, int field_count, bool first, int index) {
  TSearchResult result;
  int lo = 0;
  int hi = static_cast<int>(list.size()) - 1;
  while (lo <= hi) {
    const int mid = (lo + hi) / 2;
    const int c = CompareKey(buffers, list[static_cast<std::size_t>(mid)].RecordNo, index, partial,
                             field_count);
    if (result.state != 0) {
      result.position = mid;
    }
    if (c > 0) {
      lo = mid + 1;
      if (result.state != 0) {
        result.state = 1;
      }
    } else if (c < 0) {
      hi = mid - 1;
      if (result.state != 0) {
        result.state = -1;
      }
    } else {
      result.position = mid;
      result.state = 0;
      if (first) {
        hi = mid - 1;
      } else {
        lo = mid + 1;
      }
    }
  }
  return result;
}

int TTableIO::FindInsertPosition(const TFieldBuffers& buffers, int index) {
  const TSearchResult found = SearchIndex(buffers, List(index), false, 0, index);
  if (found.state == -2) {
    return 0;
  }
  return found.state == -1 ? found.position : found.position + 1;
}

std::string TTableIO::KeyText(const TFieldBuffers& buffers, int index) {
  std::string text;
  const TStoredIndexDef& def = index_defs_[static_cast<std::size_t>(index)];
  for (std::size_t k = 0; k < def.Fields().size(); ++k) {
    const int field_no = def.Fields()[k];
    if (k > 0) {
      text += ",";
    }
    if (static_cast<std::size_t>(field_no) < buffers.Count()) {
      text += ValueText(KeyValue(buffers, field_no),
                        buffers[static_cast<std::size_t>(field_no)].FieldType);
    }
  }
  return text;
}

void TTableIO::CheckUniqueForAppend(const TFieldBuffers& buffers) {
  for (std::size_t i = 0; i < index_defs_.Count(); ++i) {
    const TIndexOptions options = index_defs_[i].Options();
    if (!options.Contains(tiPrimary) && !options.Contains(tiUnique)) {
      continue;
    }
    const int index = static_cast<int>(i);
    if (SearchIndex(buffers, List(index), false, 0, index).state == 0) {
      RaiseDatabaseError(TDbMessage::InvalidUniqueFieldValue, KeyText(buffers, index));
    }
  }
}

void TTableIO::CheckUniqueForModify(const TFieldBuffers& buffers, int physical_position) {
  for (std::size_t i = 0; i < index_defs_.Count(); ++i) {
    const TIndexOptions options = index_defs_[i].Options();
    if (!options.Contains(tiPrimary) && !options.Contains(tiUnique)) {
      continue;
    }
    const int index = static_cast<int>(i);
    const TSearchResult found = SearchIndex(buffers, List(index), false, 0, index);
    if (found.state == 0 &&
        MapPosition(index, found.position, kPhysicalList) != physical_position) {
      RaiseDatabaseError(TDbMessage::InvalidUniqueFieldValue, KeyText(buffers, index));
    }
  }
}

int TTableIO::MapPosition(int from, int position, int to) {
  const TRecordList& from_list = List(from);
  if (position < 0 || static_cast<std::size_t>(position) >= from_list.size()) {
    return -1;
  }
  if (from == to) {
    return position;
  }
  if (to == kPhysicalList) {
    return PhysicalPosition(from_list, position);
  }
  const std::int32_t record_no = from_list[static_cast<std::size_t>(position)].RecordNo;
  const TRecordList& to_list = List(to);
  for (std::size_t j = 0; j < to_list.size(); ++j) {
    if (to_list[j].RecordNo == record_no) {
      return static_cast<int>(j);
    }
  }
  return -1;
}

int TTableIO::PositionInList(int index, int position, const TRecordList& list) {
  const TRecordList& index_list = List(index);
  if (position < 0 || static_cast<std::size_t>(position) >= index_list.size()) {
    return -1;
  }
  if (&list == &index_list) {
    return position;
  }
  const std::int32_t record_no = index_list[static_cast<std::size_t>(position)].RecordNo;
  for (std::size_t j = 0; j < list.size(); ++j) {
    if (list[j].RecordNo == record_no) {
      return static_cast<int>(j);
    }
  }
  return -1;
}

std::int64_t TTableIO::IndexTabItemFilePosition(int index, std::int32_t record_no) const {
  const TIntegerAry& blocks = index_tab_blocks_[static_cast<std::size_t>(index)];
  const std::size_t block = static_cast<std::size_t>(record_no) / kItemsPerBlock;
  if (record_no < 0 || block >= blocks.size()) {
    RaiseDamaged("record " + Num(record_no) + " outside the index tab of '" +
                 header_.indexes[static_cast<std::size_t>(index)].name + "'");
  }
  return IndexTabItemPosition(blocks[block], record_no);
}

TIndexTabItem TTableIO::ReadIndexTabItem(int index, std::int32_t record_no) {
  std::array<std::uint8_t, kIndexTabItemSize> bytes{};
  file_io_.ReadAt(IndexTabItemFilePosition(index, record_no), bytes);
  return DecodeIndexTabItem(bytes);
}

void TTableIO::WriteIndexTabItem(int index, const TIndexTabItem& item) {
  std::array<std::uint8_t, kIndexTabItemSize> bytes{};
  EncodeIndexTabItem(item, bytes);
  file_io_.WriteAt(IndexTabItemFilePosition(index, item.record_no), bytes);
}

void TTableIO::InsertIntoIndexes(const TFieldBuffers& buffers, std::int32_t data_offset,
                                 const TInsertNotification& notify, std::int32_t record_no) {
  const RecordRef ref{data_offset, record_no};
  if (notify) {
    notify(kPhysicalList, -1, ref);
  }
  for (std::size_t i = 0; i < index_defs_.Count(); ++i) {
    const int index = static_cast<int>(i);
    const int pos = FindInsertPosition(buffers, index);
    if (notify) {
      notify(index, pos, ref);
    }
    TRecordList& list = List(index);
    list.insert(list.begin() + pos, ref);
    TIntegerAry& blocks = index_tab_blocks_[i];
    if (record_no % static_cast<std::int32_t>(kItemsPerBlock) == 0) {
      const std::int64_t end = file_io_.FileSize();
      if (!blocks.empty()) {
        std::array<std::uint8_t, kBlockLinkSize> link{};
        EncodeBlockLink(static_cast<std::int32_t>(end), link);
        file_io_.WriteAt(blocks.back(), link);
      }
      if (record_no == 0) {
        header_.indexes[i].index_tab_offset = static_cast<std::int32_t>(end);
        WriteWholeHeader();
      }
      blocks.push_back(static_cast<std::int32_t>(end));
      const std::vector<std::uint8_t> block(kIndexTabBlockSize, 0);
      file_io_.WriteAt(end, block);
    }
    if (record_no == 0) {
      WriteIndexTabItem(index, TIndexTabItem{0, kChainEnd});
    } else if (pos == 0) {
      WriteIndexTabItem(index, TIndexTabItem{record_no, header_.indexes[i].chain_head});
      header_.indexes[i].chain_head = record_no;
      WriteWholeHeader();
    } else {
      const std::int32_t previous = list[static_cast<std::size_t>(pos) - 1].RecordNo;
      TIndexTabItem previous_item = ReadIndexTabItem(index, previous);
      const TIndexTabItem new_item{record_no, previous_item.next_record_no};
      previous_item.record_no = previous;
      previous_item.next_record_no = record_no;
      const std::int64_t previous_at = IndexTabItemFilePosition(index, previous);
      if (IndexTabItemFilePosition(index, record_no) ==
          previous_at + static_cast<std::int64_t>(kIndexTabItemSize)) {
        // The usual case of an ascending key (an auto-increment primary index): both items
        // lie side by side and go out as one write.
        std::array<std::uint8_t, 2 * kIndexTabItemSize> both{};
        EncodeIndexTabItem(previous_item, std::span<std::uint8_t>(both).first(kIndexTabItemSize));
        EncodeIndexTabItem(new_item, std::span<std::uint8_t>(both).last(kIndexTabItemSize));
        file_io_.WriteAt(previous_at, both);
      } else {
        WriteIndexTabItem(index, new_item);
        WriteIndexTabItem(index, previous_item);
      }
    }
  }
}

void TTableIO::RepositionInIndexes(const TFieldBuffers& buffers, int physical_position,
                                   const TMoveNotification& notify) {
  std::vector<int> old_positions;
  for (std::size_t i = 0; i < index_defs_.Count(); ++i) {
    old_positions.push_back(MapPosition(kPhysicalList, physical_position, static_cast<int>(i)));
  }
  for (std::size_t i = 0; i < index_defs_.Count(); ++i) {
    const int index = static_cast<int>(i);
    const int old_pos = old_positions[i];
    if (old_pos < 0) {
      continue;  // not in this index's list (a damaged chain left it out)
    }
    TRecordList& list = List(index);
    const RecordRef ref = list[static_cast<std::size_t>(old_pos)];
    list.erase(list.begin() + old_pos);
    int j = 0;
    try {
      j = FindInsertPosition(buffers, index);
    } catch (...) {
      list.insert(list.begin() + old_pos, ref);
      throw;
    }
    list.insert(list.begin() + old_pos, ref);
    const int new_pos = j <= old_pos ? j : j + 1;
    if (new_pos == old_pos) {
      continue;
    }
    if (notify) {
      notify(index, old_pos, new_pos);
    }
    TIndexEntry& entry = header_.indexes[i];
    // Unlink the record from its place in the chain.
    TIndexTabItem item = ReadIndexTabItem(index, ref.RecordNo);
    item.record_no = ref.RecordNo;
    if (old_pos == 0) {
      entry.chain_head = item.next_record_no;
      WriteWholeHeader();
    } else {
      const std::int32_t q = list[static_cast<std::size_t>(old_pos) - 1].RecordNo;
      TIndexTabItem q_item = ReadIndexTabItem(index, q);
      q_item.record_no = q;
      q_item.next_record_no = item.next_record_no;
      WriteIndexTabItem(index, q_item);
    }
    // Link it at its new place.
    if (new_pos == 0) {
      item.next_record_no = entry.chain_head;
      entry.chain_head = ref.RecordNo;
      WriteIndexTabItem(index, item);
      WriteWholeHeader();
    } else {
      const std::int32_t s = list[static_cast<std::size_t>(new_pos) - 1].RecordNo;
      TIndexTabItem s_item = ReadIndexTabItem(index, s);
      s_item.record_no = s;
      item.next_record_no = s_item.next_record_no;
      s_item.next_record_no = ref.RecordNo;
      WriteIndexTabItem(index, s_item);
      WriteIndexTabItem(index, item);
    }
    list.erase(list.begin() + old_pos);
    list.insert(list.begin() + j, ref);
  }
}

void TTableIO::RemoveFromIndexes(int physical_position) {
  std::vector<int> old_positions;
  for (std::size_t i = 0; i < index_defs_.Count(); ++i) {
    old_positions.push_back(MapPosition(kPhysicalList, physical_position, static_cast<int>(i)));
  }
  for (std::size_t i = 0; i < index_defs_.Count(); ++i) {
    if (old_positions[i] >= 0) {
      TRecordList& list = List(static_cast<int>(i));
      list.erase(list.begin() + old_positions[i]);
    }
  }
}

}  // namespace database::storage
