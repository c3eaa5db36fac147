// The table reader: loading, reading, appending, modifying and deleting records, checked in
// memory and in the bytes written.

#include <gtest/gtest.h>

#include "database/storage/blob_format.h"
#include "database/storage/database_error.h"
#include "database/storage/file_header_format.h"
#include "storage_test_util.h"

namespace database::storage {
namespace {

using test::Append;
using test::ReadInt32At;
using test::TMemoryDatabase;
using test::TRecordBuffer;

// ID (AutoInc), Name (String 40), Amount (Float), Logo (Graphic).
TNewTableDef CompanyTable() {
  return TNewTableDef{"Societe",
                      {{"ID", ftAutoInc, 0, 0},
                       {"Name", ftString, 40, 0},
                       {"Amount", ftFloat, 0, 0},
                       {"Logo", ftGraphic, 0, 0}},
                      {}};
}

TEST(TTableIO, MissingTableAndOpenCounting) {
  TMemoryDatabase db({}, {CompanyTable()});
  TTableIO io(db.FileIO());
  io.SetTableName("Clients");
  try {
    io.Open();
    ADD_FAILURE();
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Table 'Clients' not found");
  }
  EXPECT_EQ(io.OpenCount(), 0);
  io.SetTableName("SOCIETE");
  io.Open();
  io.Open();
  EXPECT_EQ(io.TableNo(), 0);
  io.Close();
  EXPECT_EQ(io.FieldDefs().Count(), 4u);
  io.Close();
  io.Close();
  EXPECT_EQ(io.OpenCount(), 0);
  EXPECT_EQ(io.FieldDefs().Count(), 0u);
}

TEST(TTableIO, FirstRecordLaysOutBlockImageAndBlobAtTheEnd) {
  TMemoryDatabase db({}, {CompanyTable()});
  TTableIO& io = db.Table("Societe");
  const std::int64_t end = static_cast<std::int64_t>(db.Bytes().size());
  TRecordBuffer record(io);
  record.Text(1, "Sfax!").Float(2, 2.5).Blob(3, {1, 2, 3});
  EXPECT_EQ(Append(io, record), 0);
  const std::vector<std::uint8_t>& bytes = db.Bytes();
  const std::int64_t header = db.FileIO().TableHeaderOffset(0);
  EXPECT_EQ(ReadInt32At(bytes, header + kRecordTabOffsetOffset), end);
  EXPECT_EQ(ReadInt32At(bytes, header + kRecordTotalOffset), 1);
  EXPECT_EQ(ReadInt32At(bytes, header + kLastAutoIncOffset), 1);
  EXPECT_EQ(record.IntOf(0), 1);  // the cursor sees the value given
  // The record tab block: no next block, item 0 = (image, live), the other items zero.
  const std::int64_t image = end + 5124;
  EXPECT_EQ(ReadInt32At(bytes, end), 0);
  EXPECT_EQ(ReadInt32At(bytes, end + 4), image);
  EXPECT_EQ(bytes[static_cast<std::size_t>(end + 8)], 0);
  EXPECT_TRUE(std::all_of(bytes.begin() + end + 9, bytes.begin() + end + 5124,
                          [](auto b) { return b == 0; }));
  // The image: ID 1, the text, a NUL and 35 zeros, the double, then the BLOB header.
  EXPECT_EQ(ReadInt32At(bytes, image), 1);
  const std::vector<std::uint8_t> text(bytes.begin() + image + 4, bytes.begin() + image + 45);
  std::vector<std::uint8_t> expected_text(41, 0);
  std::copy_n("Sfax!", 5, expected_text.begin());
  EXPECT_EQ(text, expected_text);
  const std::int64_t blob_area = image + 73;
  EXPECT_EQ(ReadInt32At(bytes, image + 53), blob_area);
  EXPECT_EQ(ReadInt32At(bytes, image + 57), 3);
  EXPECT_EQ(ReadInt32At(bytes, image + 61), 64);
  // The index-less table ends with the BLOB area: 3 bytes then 61 zeros.
  EXPECT_EQ(static_cast<std::int64_t>(bytes.size()), blob_area + 64);
  EXPECT_EQ(bytes[static_cast<std::size_t>(blob_area)], 1);
  EXPECT_EQ(bytes[static_cast<std::size_t>(blob_area + 3)], 0);
}

TEST(TTableIO, TextBytesAfterTheNulAreZeroedOnAppend) {
  TMemoryDatabase db({}, {CompanyTable()});
  TTableIO& io = db.Table("Societe");
  TRecordBuffer record(io);
  std::fill(record.Value(1).begin(), record.Value(1).end(), 'x');
  record.Value(1)[5] = 0;
  Append(io, record);
  const std::vector<std::uint8_t> expected = {'x', 'x', 'x', 'x', 'x', 0, 0, 0};
  EXPECT_EQ(std::vector<std::uint8_t>(record.Value(1).begin(), record.Value(1).begin() + 8),
            expected);
  // A text filling the whole buffer keeps its last byte as the terminator.
  std::fill(record.Value(1).begin(), record.Value(1).end(), 'y');
  Append(io, record);
  EXPECT_EQ(record.Value(1)[40], 0);
  EXPECT_EQ(record.TextOf(1), std::string(40, 'y'));
}

TEST(TTableIO, RecordTabBlockBoundaryAt1024) {
  TMemoryDatabase db({}, {TNewTableDef{"T", {{"N", ftInteger, 0, 0}}, {}}});
  TTableIO& io = db.Table("T");
  TRecordBuffer record(io);
  for (int i = 0; i < 1024; ++i) {
    record.Int(0, i);
    Append(io, record);
  }
  const std::int64_t first_block = io.RecordTabBlocks()[0];
  const std::int64_t end = static_cast<std::int64_t>(db.Bytes().size());
  // Record 1023's item in place, its image at the end of the file before it.
  EXPECT_EQ(ReadInt32At(db.Bytes(), first_block + 4 + 1023 * 5), end - 4);
  record.Int(0, 1024);
  EXPECT_EQ(Append(io, record), 1024);
  ASSERT_EQ(io.RecordTabBlocks().size(), 2u);
  EXPECT_EQ(io.RecordTabBlocks()[1], end);
  EXPECT_EQ(ReadInt32At(db.Bytes(), first_block), end);     // linked from the first block
  EXPECT_EQ(ReadInt32At(db.Bytes(), end + 4), end + 5124);  // the image follows the new block
  EXPECT_EQ(ReadInt32At(db.Bytes(), end + 5124), 1024);
  db.Reopen();
  TTableIO& again = db.Table("T");
  const TRecordList& list = again.RecordList(0);
  ASSERT_EQ(list.size(), 1025u);
  TRecordBuffer read(again);
  TFieldBuffers buffers = read.Buffers();
  again.ReadRecord(buffers, list, 1024);
  EXPECT_EQ(read.IntOf(0), 1024);
  again.ReadRecord(buffers, list, 500);
  EXPECT_EQ(read.IntOf(0), 500);
}

TEST(TTableIO, AutoIncrementRules) {
  TMemoryDatabase db({}, {CompanyTable()});
  TTableIO& io = db.Table("Societe");
  TRecordBuffer record(io);
  for (int i = 0; i < 10; ++i) {
    record.Int(0, 0);
    Append(io, record);
  }
  EXPECT_EQ(io.Header().last_auto_inc, 10);
  record.Int(0, 0);
  Append(io, record);
  EXPECT_EQ(record.IntOf(0), 11);
  record.Int(0, 50);
  Append(io, record);
  EXPECT_EQ(io.Header().last_auto_inc, 50);
  record.Int(0, 5);
  Append(io, record);
  EXPECT_EQ(io.Header().last_auto_inc, 50);
  // On a modify a 0 keeps the stored value; a larger one raises the counter in the file.
  TRecordBuffer change(io);
  change.Int(0, 0).Text(1, "changed");
  TFieldBuffers buffers = change.Buffers();
  io.ModifyRecord(buffers, 0, {}, false);
  TRecordBuffer read(io);
  TFieldBuffers read_buffers = read.Buffers();
  io.ReadRecord(read_buffers, io.RecordList(0), 0);
  EXPECT_EQ(read.IntOf(0), 1);
  EXPECT_EQ(read.TextOf(1), "changed");
  change.Int(0, 70);
  buffers = change.Buffers();
  io.ModifyRecord(buffers, 0, {}, false);
  EXPECT_EQ(ReadInt32At(db.Bytes(), db.FileIO().TableHeaderOffset(0) + kLastAutoIncOffset), 70);
}

TEST(TTableIO, InactiveItemsAreLeftAlone) {
  TMemoryDatabase db({}, {CompanyTable()});
  TTableIO& io = db.Table("Societe");
  TRecordBuffer record(io);
  record.Text(1, "stored").Float(2, 1.5);
  Append(io, record);
  TRecordBuffer read(io);
  read.Text(1, "untouched").Inactive(1);
  TFieldBuffers buffers = read.Buffers();
  io.ReadRecord(buffers, io.RecordList(0), 0);
  EXPECT_EQ(read.TextOf(1), "untouched");
  EXPECT_EQ(read.FloatOf(2), 1.5);
  // A modify with the text inactive keeps the stored text.
  read.Float(2, 9.0);
  buffers = read.Buffers();
  io.ModifyRecord(buffers, 0, {}, false);
  TRecordBuffer check(io);
  TFieldBuffers check_buffers = check.Buffers();
  io.ReadRecord(check_buffers, io.RecordList(0), 0);
  EXPECT_EQ(check.TextOf(1), "stored");
  EXPECT_EQ(check.FloatOf(2), 9.0);
}

TEST(TTableIO, DeletedRecordsStayCountedAndDisappearOnReload) {
  TMemoryDatabase db({}, {CompanyTable()});
  TTableIO& io = db.Table("Societe");
  TRecordBuffer record(io);
  for (int i = 0; i < 3; ++i) {
    record.Int(0, 0);
    Append(io, record);
  }
  io.DeleteRecord(1, false);
  EXPECT_EQ(io.RecordList(0).size(), 2u);
  EXPECT_EQ(io.RecordList(0)[1].RecordNo, 2);
  const std::int64_t item = io.RecordTabBlocks()[0] + 4 + 5;
  EXPECT_EQ(db.Bytes()[static_cast<std::size_t>(item + 4)], 1);
  db.Reopen();
  TTableIO& again = db.Table("Societe");
  EXPECT_EQ(again.RecordList(0).size(), 2u);
  EXPECT_EQ(again.Header().record_total, 3);
  record.Int(0, 0);
  EXPECT_EQ(Append(again, record), 3);
  EXPECT_EQ(again.PhysicalPosition(again.RecordList(0), 2), 2);
  EXPECT_EQ(again.PhysicalPosition(again.RecordList(0), 3), -1);
}

TEST(TTableIO, ReadFieldOfRecordDecodesOneField) {
  TNewDatabaseOptions options;
  options.encrypt = true;
  options.compress = true;
  options.password = "pw";
  TMemoryDatabase db(options, {CompanyTable()});
  TTableIO& io = db.Table("Societe");
  TRecordBuffer record(io);
  record.Text(1, "Tunis").Blob(3, std::vector<std::uint8_t>(1000, 7));
  Append(io, record);
  crypto::TMemoryStream value;
  io.ReadFieldOfRecord(value, 0, 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(value.Bytes().data())), "Tunis");
  io.ReadFieldOfRecord(value, 0, 3);
  EXPECT_EQ(std::vector<std::uint8_t>(value.Bytes().begin(), value.Bytes().end()),
            std::vector<std::uint8_t>(1000, 7));
}

TEST(TTableIO, WritesAreRefusedOnAReadOnlyDatabase) {
  TMemoryDatabase db({}, {CompanyTable()});
  db.FileIO().Close();
  db.FileIO().Open(db.Name(), mtMemory, 0, true, false);
  TTableIO io(db.FileIO());
  io.SetTableName("Societe");
  io.Open();
  TRecordBuffer record(io);
  TFieldBuffers buffers = record.Buffers();
  EXPECT_THROW(io.AppendRecord(buffers, false), EDatabaseError);
  EXPECT_EQ(io.Header().record_total, 0);
}

}  // namespace
}  // namespace database::storage
