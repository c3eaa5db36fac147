// Damaged databases: each gets a clear database error (or a shorter list where chains are
// concerned), never a crash, a hang or a read out of bounds.

#include <gtest/gtest.h>

#include <functional>

#include "database/storage/blob_format.h"
#include "database/storage/database_error.h"
#include "database/storage/file_header_format.h"
#include "database/storage/table_directory_format.h"
#include "platform/byte_order.h"
#include "storage_test_util.h"

namespace database::storage {
namespace {

using test::Append;
using test::TMemoryDatabase;
using test::TRecordBuffer;

using TBytes = std::vector<std::uint8_t>;

struct TLayout {
  std::int64_t header = 0;      // table header offset
  std::int64_t record_tab = 0;  // first record tab block
  std::int64_t index_tab = 0;   // first index tab block
  std::int64_t image0 = 0;      // record 0's image
};

void Put32(TBytes& bytes, std::int64_t offset, std::int32_t value) {
  platform::StoreLE32(bytes, static_cast<std::size_t>(offset), static_cast<std::uint32_t>(value));
}

// A compressed table of 5 records with an index and a BLOB, and where its parts lie.
class TDamagedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TNewDatabaseOptions options;
    options.compress = true;
    db_ = std::make_unique<TMemoryDatabase>(
        options, std::vector<TNewTableDef>{TNewTableDef{
                     "T", {{"K", ftInteger, 0, 0}, {"Data", ftBlob, 0, 0}}, {{"ByK", {}, {0}}}}});
    TTableIO& io = db_->Table("T");
    TRecordBuffer record(io);
    for (int i = 0; i < 5; ++i) {
      record.Int(0, 50 - i).Blob(1, TBytes(1000, static_cast<std::uint8_t>(i)));
      Append(io, record);
    }
    layout_.header = db_->FileIO().TableHeaderOffset(0);
    layout_.record_tab = io.RecordTabBlocks()[0];
    layout_.index_tab = io.IndexTabBlocks(0)[0];
    layout_.image0 = io.RecordList(0)[0].DataOffset;
    pristine_ = db_->Bytes();
  }

  // Reopens on the patched bytes and loads the table with its lists and every BLOB; returns
  // the error text, or "" when everything loaded.
  std::string LoadAll(const std::function<void(TBytes&)>& patch,
                      std::size_t* index_list_size = nullptr) {
    db_->Bytes() = pristine_;
    patch(db_->Bytes());
    try {
      db_->Reopen();
      TTableIO& io = db_->Table("T");
      const TRecordList& list = io.RecordList(0);
      TRecordBuffer read(io);
      for (std::size_t i = 0; i < list.size(); ++i) {
        TFieldBuffers buffers = read.Buffers();
        io.ReadRecord(buffers, list, static_cast<int>(i));
        read.BlobOf(1).Size();
      }
      if (index_list_size != nullptr) {
        *index_list_size = io.RecordList(1).size();
      }
    } catch (const EDatabaseError& error) {
      return error.what();
    }
    return "";
  }

  std::unique_ptr<TMemoryDatabase> db_;
  TLayout layout_;
  TBytes pristine_;
};

TEST_F(TDamagedTest, StructuresOutOfRangeRaiseDatabaseErrors) {
  const TLayout l = layout_;
  struct TCase {
    const char* name;
    std::function<void(TBytes&)> patch;
  };
  const TCase cases[] = {
      {"table count", [](TBytes& b) { Put32(b, kTableDirectoryOffset, 300); }},
      {"negative table count", [](TBytes& b) { Put32(b, kTableDirectoryOffset, -1); }},
      {"header offset past the end",
       [](TBytes& b) { Put32(b, kTableDirectoryOffset + 8, 0x7FFFFF00); }},
      {"field count", [&](TBytes& b) { Put32(b, l.header + kFieldCountOffset, 97); }},
      {"index count", [&](TBytes& b) { Put32(b, l.header + kIndexCountOffset, 9); }},
      {"record total beyond the file",
       [&](TBytes& b) { Put32(b, l.header + kRecordTotalOffset, 0x7FFFFFFF); }},
      {"record tab past the end",
       [&](TBytes& b) { Put32(b, l.header + kRecordTabOffsetOffset, 0x7FFFFF00); }},
      {"index tab past the end",
       [&](TBytes& b) {
         Put32(b, l.header + kIndexEntriesOffset + kIndexTabOffsetOffset, 0x7FFFFF00);
       }},
      {"key field number",
       [&](TBytes& b) { Put32(b, l.header + kIndexEntriesOffset + kIndexFieldsOffset, 40); }},
      {"field type",
       [&](TBytes& b) {
         b[static_cast<std::size_t>(l.header + kFieldEntriesOffset + kFieldTypeOffset)] = 8;
       }},
      {"corrupt compressed BLOB",
       [&](TBytes& b) {
         const std::int32_t area = platform::LoadLE32(b, static_cast<std::size_t>(l.image0 + 4));
         std::fill_n(b.begin() + area + 4, 20, 0x55);
       }},
      {"truncated in the record tab",
       [&](TBytes& b) { b.resize(static_cast<std::size_t>(l.record_tab + 10)); }},
  };
  for (const TCase& c : cases) {
    EXPECT_NE(LoadAll(c.patch), "") << c.name;
  }
  EXPECT_EQ(LoadAll([](TBytes&) {}), "");
}

TEST_F(TDamagedTest, ChainsEndInsteadOfLooping) {
  const TLayout l = layout_;
  struct TCase {
    const char* name;
    std::function<void(TBytes&)> patch;
    std::size_t list_size;
  };
  // Key order: records 4 (46), 3, 2, 1, 0 (50); the chain head is 4.
  const TCase cases[] = {
      {"sound", [](TBytes&) {}, 5},
      {"loop back to the head", [&](TBytes& b) { Put32(b, l.index_tab + 4 + 2 * 8 + 4, 4); }, 3},
      {"self loop", [&](TBytes& b) { Put32(b, l.index_tab + 4 + 3 * 8 + 4, 3); }, 2},
      {"link out of range", [&](TBytes& b) { Put32(b, l.index_tab + 4 + 3 * 8 + 4, 99); }, 2},
      {"head out of range",
       [&](TBytes& b) { Put32(b, l.header + kIndexEntriesOffset + kChainHeadOffset, -7); }, 0},
  };
  for (const TCase& c : cases) {
    std::size_t size = 0;
    EXPECT_EQ(LoadAll(c.patch, &size), "") << c.name;
    EXPECT_EQ(size, c.list_size) << c.name;
  }
}

TEST_F(TDamagedTest, BlobHeaderOutsideTheFileReadsWhatExists) {
  TNewDatabaseOptions options;  // uncompressed, so the short value decodes as it is
  TMemoryDatabase db(options, {TNewTableDef{"T", {{"Data", ftBlob, 0, 0}}, {}}});
  TTableIO& io = db.Table("T");
  TRecordBuffer record(io);
  record.Blob(0, TBytes(100, 1));
  Append(io, record);
  const std::int64_t image = io.RecordList(0)[0].DataOffset;
  Put32(db.Bytes(), image + 4, 0x7FFFFFF0);  // BlobSize far past the end
  TRecordBuffer read(io);
  TFieldBuffers buffers = read.Buffers();
  io.ReadRecord(buffers, io.RecordList(0), 0);
  EXPECT_EQ(read.BlobOf(0).Size(), 128u);  // the area and its padding: all the file holds
  Put32(db.Bytes(), image, -5);
  io.ReadRecord(buffers, io.RecordList(0), 0);
  EXPECT_EQ(read.BlobOf(0).Size(), 0u);
}

TEST_F(TDamagedTest, TableWithRecordsButNoIndexTabRefusesWrites) {
  TBytes& bytes = db_->Bytes();
  Put32(bytes, layout_.header + kIndexEntriesOffset + kIndexTabOffsetOffset, 0);
  db_->Reopen();
  TTableIO& io = db_->Table("T");
  EXPECT_TRUE(io.RecordList(1).empty());
  TRecordBuffer record(io);
  record.Int(0, 7);
  TFieldBuffers buffers = record.Buffers();
  const std::size_t size = bytes.size();
  EXPECT_THROW(io.AppendRecord(buffers, false), EDatabaseError);
  EXPECT_EQ(bytes.size(), size);
}

}  // namespace
}  // namespace database::storage
