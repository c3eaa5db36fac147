// Index chains and lists: placement by binary search, chain heads and links on disk after
// inserts and moves, uniqueness, searches, deletion, and the index tab block boundary.

#include <gtest/gtest.h>

#include "database/storage/database_error.h"
#include "database/storage/index_chain_format.h"
#include "storage_test_util.h"

namespace database::storage {
namespace {

using test::Append;
using test::ReadInt32At;
using test::TMemoryDatabase;
using test::TRecordBuffer;

TNewTableDef KeyTable(TIndexOptions options) {
  return TNewTableDef{
      "T", {{"K", ftInteger, 0, 0}, {"Name", ftString, 20, 0}}, {{"ByK", options, {0}}}};
}

// The record numbers of index `index`'s chain, walked on disk from its head.
std::vector<std::int32_t> DiskChain(TMemoryDatabase& db, TTableIO& io, int index) {
  std::vector<std::int32_t> chain;
  const std::vector<std::uint8_t>& bytes = db.Bytes();
  const std::int64_t header = db.FileIO().TableHeaderOffset(io.TableNo());
  const std::int64_t entry = header + kIndexEntriesOffset + index * kIndexEntrySize;
  std::int32_t k = ReadInt32At(bytes, entry + kChainHeadOffset);
  const TIntegerAry& blocks = io.IndexTabBlocks(index);
  while (k != -1 && chain.size() <= static_cast<std::size_t>(io.Header().record_total)) {
    chain.push_back(k);
    const std::int64_t node = IndexTabItemPosition(blocks[static_cast<std::size_t>(k) / 1024], k);
    EXPECT_EQ(ReadInt32At(bytes, node), k);
    k = ReadInt32At(bytes, node + 4);
  }
  return chain;
}

std::vector<std::int32_t> ListNumbers(const TRecordList& list) {
  std::vector<std::int32_t> numbers;
  for (const RecordRef& ref : list) {
    numbers.push_back(ref.RecordNo);
  }
  return numbers;
}

void AppendKeys(TTableIO& io, std::initializer_list<int> keys) {
  TRecordBuffer record(io);
  for (const int key : keys) {
    record.Int(0, key).Text(1, "n" + std::to_string(key));
    Append(io, record);
  }
}

TEST(TTableIOIndex, FirstRecordGetsABlockAndTheChainHeadStaysZero) {
  TMemoryDatabase db({}, {KeyTable({})});
  TTableIO& io = db.Table("T");
  const std::int64_t header = db.FileIO().TableHeaderOffset(0);
  AppendKeys(io, {5});
  const std::int64_t entry = header + kIndexEntriesOffset;
  const std::int32_t tab = ReadInt32At(db.Bytes(), entry + kIndexTabOffsetOffset);
  EXPECT_EQ(tab, io.IndexTabBlocks(0)[0]);
  EXPECT_EQ(static_cast<std::int64_t>(db.Bytes().size()), tab + 8196);  // the block ends the file
  EXPECT_EQ(ReadInt32At(db.Bytes(), tab), 0);
  EXPECT_EQ(ReadInt32At(db.Bytes(), tab + 4), 0);
  EXPECT_EQ(ReadInt32At(db.Bytes(), tab + 8), -1);
  EXPECT_EQ(ReadInt32At(db.Bytes(), entry + kChainHeadOffset), 0);
}

TEST(TTableIOIndex, WholeHeaderRewriteKeepsTheNameBytesAsFound) {
  // Readers stop at the first NUL of a stored name; what follows it in the file (and a name
  // filling its field with no NUL) must survive when the header is written back whole.
  TMemoryDatabase db({}, {KeyTable({})});
  const std::int64_t header = db.FileIO().TableHeaderOffset(0);
  std::vector<std::uint8_t>& bytes = db.Bytes();
  const std::int64_t table_name = header;
  const std::int64_t field_name = header + kFieldEntriesOffset + kFieldEntrySize;  // "Name"
  const std::int64_t index_name = header + kIndexEntriesOffset;                    // "ByK"
  for (std::int64_t at = 4; at < static_cast<std::int64_t>(kNameSize); ++at) {
    bytes[static_cast<std::size_t>(table_name + at)] = 0xA5;  // after "T", its NUL, one more
    bytes[static_cast<std::size_t>(index_name + at)] = 0x5A;  // after "ByK" and its NUL
  }
  std::fill_n(bytes.begin() + field_name, kNameSize, std::uint8_t{'N'});  // 33 characters
  const std::vector<std::uint8_t> before(bytes.begin() + header,
                                         bytes.begin() + header + kTableHeaderSize);
  TTableIO& io = db.Table("T");
  AppendKeys(io, {20, 10});  // the first writes IndexTabOffset, the second ChainHead
  std::vector<std::uint8_t> expected = before;
  const auto put = [&](std::size_t offset, std::int32_t value) {
    StoreInteger(std::span<std::uint8_t>(expected).subspan(offset, 4), value);
  };
  put(kRecordTabOffsetOffset, io.RecordTabBlocks()[0]);
  put(kRecordTotalOffset, 2);
  put(kIndexEntriesOffset + kIndexTabOffsetOffset, io.IndexTabBlocks(0)[0]);
  put(kIndexEntriesOffset + kChainHeadOffset, 1);
  const std::vector<std::uint8_t> after(db.Bytes().begin() + header,
                                        db.Bytes().begin() + header + kTableHeaderSize);
  EXPECT_EQ(after, expected);
}

TEST(TTableIOIndex, ChainsFollowKeyOrderAscendingAndDescending) {
  struct TCase {
    TIndexOptions options;
    std::vector<std::int32_t> chain;
  };
  const TCase cases[] = {{TIndexOptions{}, {1, 2, 0}},
                         {TIndexOptions{}.Include(tiDescending), {0, 2, 1}}};
  for (const TCase& c : cases) {
    TMemoryDatabase db({}, {KeyTable(c.options)});
    TTableIO& io = db.Table("T");
    AppendKeys(io, {30, 10, 20});
    EXPECT_EQ(DiskChain(db, io, 0), c.chain);
    EXPECT_EQ(ListNumbers(io.RecordList(1)), c.chain);
    db.Reopen();
    EXPECT_EQ(ListNumbers(db.Table("T").RecordList(1)), c.chain);
  }
}

TEST(TTableIOIndex, InsertNotificationsInOrder) {
  TMemoryDatabase db({}, {KeyTable({})});
  TTableIO& io = db.Table("T");
  AppendKeys(io, {10, 30});
  std::vector<std::pair<int, int>> calls;
  TRecordBuffer record(io);
  record.Int(0, 20);
  TFieldBuffers buffers = record.Buffers();
  io.AppendRecord(buffers, false, [&](int selector, int position, const RecordRef& ref) {
    calls.emplace_back(selector, position);
    EXPECT_EQ(ref.RecordNo, 2);
  });
  EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{-1, -1}, {0, 1}}));
}

TEST(TTableIOIndex, ModifyMovesTheRecordInChainAndList) {
  TMemoryDatabase db({}, {KeyTable({})});
  TTableIO& io = db.Table("T");
  AppendKeys(io, {10, 20, 30, 40});
  struct TMove {
    int physical;
    int new_key;
    std::vector<std::int32_t> chain;
  };
  const TMove moves[] = {
      {0, 35, {1, 2, 0, 3}},  // the head moves inside
      {3, 5, {3, 1, 2, 0}},   // the last becomes the head
      {1, 20, {3, 1, 2, 0}},  // same key: nothing moves
      {2, 50, {3, 1, 0, 2}},  // to the end
  };
  for (const TMove& move : moves) {
    TRecordBuffer record(io);
    TFieldBuffers buffers = record.Buffers();
    io.ReadRecord(buffers, io.RecordList(0), move.physical);
    record.Int(0, move.new_key);
    buffers = record.Buffers();
    int notifications = 0;
    io.ModifyRecord(
        buffers, move.physical, [&](int, int, int) { ++notifications; }, false);
    EXPECT_EQ(ListNumbers(io.RecordList(1)), move.chain) << move.new_key;
    EXPECT_EQ(DiskChain(db, io, 0), move.chain) << move.new_key;
    EXPECT_EQ(notifications, move.new_key == 20 ? 0 : 1);
  }
}

TEST(TTableIOIndex, UniquenessMessages) {
  TNewTableDef table{
      "T",
      {{"City", ftString, 20, 0}, {"N", ftInteger, 0, 0}},
      {{"Pair", TIndexOptions{}.Include(tiUnique), {0, 1}},
       {"CityCI", TIndexOptions{}.Include(tiUnique).Include(tiCaseInsensitive), {0}}}};
  TMemoryDatabase db({}, {table});
  TTableIO& io = db.Table("T");
  TRecordBuffer record(io);
  record.Text(0, "Sfax").Int(1, 3);
  Append(io, record);
  record.Text(0, "SFAX").Int(1, 4);  // differs only in case: refused by CityCI
  TFieldBuffers buffers = record.Buffers();
  try {
    io.AppendRecord(buffers, false);
    ADD_FAILURE();
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Invalid unique field value 'SFAX'");
  }
  record.Text(0, "Sfax").Int(1, 3);
  buffers = record.Buffers();
  try {
    io.AppendRecord(buffers, false);
    ADD_FAILURE();
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Invalid unique field value 'Sfax,3'");
  }
  EXPECT_EQ(io.Header().record_total, 1);  // nothing written
  // Modifying the record without changing its key passes.
  buffers = record.Buffers();
  EXPECT_NO_THROW(io.ModifyRecord(buffers, 0, {}, false));
  record.Text(0, "Gabes").Int(1, 1);
  Append(io, record);
  record.Text(0, "sfax");
  buffers = record.Buffers();
  EXPECT_THROW(io.ModifyRecord(buffers, 1, {}, false), EDatabaseError);
}

TEST(TTableIOIndex, SearchesAndTheirMidpoints) {
  TMemoryDatabase db({}, {KeyTable({})});
  TTableIO& io = db.Table("T");
  AppendKeys(io, {1, 2, 2, 2, 3});
  const TRecordList& list = io.RecordList(1);
  TRecordBuffer key(io);
  key.Int(0, 2);
  const TFieldBuffers buffers = key.Buffers();
  EXPECT_EQ(io.SearchIndex(buffers, list, false, 0, 0).position, 2);
  EXPECT_EQ(io.SearchIndexBound(buffers, list, false, 0, true, 0).position, 1);
  EXPECT_EQ(io.SearchIndexBound(buffers, list, false, 0, false, 0).position, 3);
  // An equal key goes right after the equal item where the search stopped.
  EXPECT_EQ(io.FindInsertPosition(buffers, 0), 3);
  key.Int(0, 0);
  const TSearchResult before = io.SearchIndex(key.Buffers(), list, false, 0, 0);
  EXPECT_EQ(before.state, -1);
  EXPECT_EQ(before.position, 0);
  key.Int(0, 9);
  const TSearchResult after = io.SearchIndex(key.Buffers(), list, false, 0, 0);
  EXPECT_EQ(after.state, 1);
  EXPECT_EQ(after.position, 4);
  EXPECT_EQ(io.SearchIndex(key.Buffers(), TRecordList{}, false, 0, 0).state, -2);
}

TEST(TTableIOIndex, PartialTextSearchMatchesPrefixes) {
  TNewTableDef table{"T", {{"Name", ftString, 20, 0}}, {{"ByName", {}, {0}}}};
  TMemoryDatabase db({}, {table});
  TTableIO& io = db.Table("T");
  TRecordBuffer record(io);
  for (const char* name : {"Ariana", "Bizerte", "Monastir", "Sfax", "Sousse"}) {
    record.Text(0, name);
    Append(io, record);
  }
  record.Text(0, "Mon");
  const TSearchResult found = io.SearchIndex(record.Buffers(), io.RecordList(1), true, 0, 0);
  EXPECT_EQ(found.state, 0);
  EXPECT_EQ(found.position, 2);
  EXPECT_NE(io.SearchIndex(record.Buffers(), io.RecordList(1), false, 0, 0).state, 0);
  record.Text(0, "S");
  EXPECT_EQ(io.SearchIndexBound(record.Buffers(), io.RecordList(1), true, 0, true, 0).position, 3);
  EXPECT_EQ(io.SearchIndexBound(record.Buffers(), io.RecordList(1), true, 0, false, 0).position, 4);
}

TEST(TTableIOIndex, DeleteLeavesChainsAndReloadSkipsTheRecord) {
  TMemoryDatabase db({}, {KeyTable({})});
  TTableIO& io = db.Table("T");
  AppendKeys(io, {30, 10, 20});
  const std::vector<std::uint8_t> before = db.Bytes();
  io.DeleteRecord(2, false);  // key 20
  EXPECT_EQ(ListNumbers(io.RecordList(1)), (std::vector<std::int32_t>{1, 0}));
  EXPECT_EQ(DiskChain(db, io, 0), (std::vector<std::int32_t>{1, 2, 0}));
  db.Reopen();
  TTableIO& again = db.Table("T");
  EXPECT_EQ(ListNumbers(again.RecordList(1)), (std::vector<std::int32_t>{1, 0}));
  AppendKeys(again, {15});  // linked after 10, ahead of the deleted 20
  EXPECT_EQ(ListNumbers(again.RecordList(1)), (std::vector<std::int32_t>{1, 3, 0}));
}

TEST(TTableIOIndex, MapPositionAndPositionInList) {
  TMemoryDatabase db({}, {KeyTable({})});
  TTableIO& io = db.Table("T");
  AppendKeys(io, {30, 10, 20});
  EXPECT_EQ(io.MapPosition(-1, 0, 0), 2);  // key 30 is last in key order
  EXPECT_EQ(io.MapPosition(0, 0, -1), 1);
  EXPECT_EQ(io.MapPosition(0, 3, -1), -1);
  EXPECT_EQ(io.MapPosition(0, 1, 0), 1);
  const TRecordList copy = io.RecordList(0);
  EXPECT_EQ(io.PositionInList(0, 0, copy), 1);
  EXPECT_EQ(io.PositionInList(0, 1, io.RecordList(1)), 1);
  EXPECT_EQ(io.PositionInList(0, 5, copy), -1);
}

TEST(TTableIOIndex, IndexTabBlockBoundaryAt1024) {
  TNewTableDef table{"T",
                     {{"ID", ftAutoInc, 0, 0}, {"K", ftInteger, 0, 0}},
                     {{"PK", TIndexOptions{}.Include(tiPrimary), {0}},
                      {"ByK", TIndexOptions{}.Include(tiDescending), {1}}}};
  TMemoryDatabase db({}, {table});
  TTableIO& io = db.Table("T");
  TRecordBuffer record(io);
  for (int i = 0; i < 1025; ++i) {
    record.Int(0, 0).Int(1, i % 7);
    Append(io, record);
  }
  for (int index = 0; index < 2; ++index) {
    const TIntegerAry& blocks = io.IndexTabBlocks(index);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(ReadInt32At(db.Bytes(), blocks[0]), blocks[1]);
    EXPECT_EQ(ReadInt32At(db.Bytes(), blocks[1]), 0);
    EXPECT_EQ(ReadInt32At(db.Bytes(), blocks[1] + 4), 1024);
    EXPECT_EQ(DiskChain(db, io, index).size(), 1025u);
  }
  db.Reopen();
  TTableIO& again = db.Table("T");
  const TRecordList& by_k = again.RecordList(2);
  ASSERT_EQ(by_k.size(), 1025u);
  TRecordBuffer previous(again);
  TRecordBuffer current(again);
  for (std::size_t i = 1; i < by_k.size(); ++i) {
    TFieldBuffers a = previous.Buffers();
    TFieldBuffers b = current.Buffers();
    again.ReadRecord(a, by_k, static_cast<int>(i - 1));
    again.ReadRecord(b, by_k, static_cast<int>(i));
    ASSERT_GE(previous.IntOf(1), current.IntOf(1)) << i;
  }
}

}  // namespace
}  // namespace database::storage
