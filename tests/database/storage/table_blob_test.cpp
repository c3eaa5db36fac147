// BLOB areas: sizes and padding, the three placements of a rewrite, the lazy load of the
// record's BLOB stream, and the read-back check.

#include <gtest/gtest.h>

#include "database/storage/blob_format.h"
#include "database/storage/optim_blob_stream.h"
#include "storage_test_util.h"

namespace database::storage {
namespace {

using test::Append;
using test::ReadInt32At;
using test::TMemoryDatabase;
using test::TRecordBuffer;

TNewTableDef BlobTable() {
  return TNewTableDef{
      "T", {{"N", ftInteger, 0, 0}, {"Data", ftBlob, 0, 0}, {"Memo", ftMemo, 0, 0}}, {}};
}

std::vector<std::uint8_t> Bytes(std::size_t count, std::uint8_t value) {
  return std::vector<std::uint8_t>(count, value);
}

TBlobHeader HeaderOf(TMemoryDatabase& db, TTableIO& io, int physical, int field) {
  const std::int64_t at =
      std::int64_t{io.RecordList(0)[static_cast<std::size_t>(physical)].DataOffset} +
      io.FieldOffsets()[static_cast<std::size_t>(field)];
  return DecodeBlobHeader(
      std::span<const std::uint8_t>(db.Bytes()).subspan(static_cast<std::size_t>(at), 20));
}

TEST(TTableIOBlob, AreaSizesAndPaddingOfNewValues) {
  TMemoryDatabase db({}, {BlobTable()});
  TTableIO& io = db.Table("T");
  TRecordBuffer record(io);
  record.Blob(1, {}).Blob(2, Bytes(64, 0xAA));
  Append(io, record);
  const TBlobHeader empty = HeaderOf(db, io, 0, 1);
  const TBlobHeader full = HeaderOf(db, io, 0, 2);
  EXPECT_EQ(empty.blob_size, 0);
  EXPECT_EQ(empty.area_size, 64);
  EXPECT_EQ(full.blob_offset, empty.blob_offset + 64);  // areas follow in field order
  EXPECT_EQ(full.blob_size, 64);
  EXPECT_EQ(full.area_size, 128);
  const auto& bytes = db.Bytes();
  EXPECT_EQ(static_cast<std::int64_t>(bytes.size()), full.blob_offset + 128);
  EXPECT_TRUE(std::all_of(bytes.begin() + full.blob_offset + 64, bytes.end(),
                          [](auto b) { return b == 0; }));
}

TEST(TTableIOBlob, RewritePlacements) {
  TMemoryDatabase db({}, {BlobTable()});
  TTableIO& io = db.Table("T");
  TRecordBuffer record(io);
  record.Blob(1, Bytes(100, 1)).Blob(2, Bytes(10, 2));
  Append(io, record);
  Append(io, record);  // record 1's areas now follow record 0's
  const auto rewrite = [&](int physical, std::size_t size) {
    TRecordBuffer change(io);
    change.Inactive(0).Inactive(2).Blob(1, Bytes(size, 9));
    TFieldBuffers buffers = change.Buffers();
    io.ModifyRecord(buffers, physical, {}, false);
    return HeaderOf(db, io, physical, 1);
  };
  const TBlobHeader original = HeaderOf(db, io, 0, 1);
  EXPECT_EQ(original.area_size, 128);
  // In place while the value stays below its area; a shrink keeps the area.
  TBlobHeader header = rewrite(0, 127);
  EXPECT_EQ(header.blob_offset, original.blob_offset);
  EXPECT_EQ(header.area_size, 128);
  header = rewrite(0, 3);
  EXPECT_EQ(header.area_size, 128);
  header = rewrite(0, 120);
  EXPECT_EQ(header.blob_offset, original.blob_offset);
  // Growing past the area: the area moves to the end of the file.
  const std::int64_t end = static_cast<std::int64_t>(db.Bytes().size());
  header = rewrite(0, 128);
  EXPECT_EQ(header.blob_offset, end);
  EXPECT_EQ(header.blob_size, 128);
  EXPECT_EQ(header.area_size, 192);
  // Now the last thing in the file, it grows in place.
  header = rewrite(0, 300);
  EXPECT_EQ(header.blob_offset, end);
  EXPECT_EQ(header.area_size, 320);
  EXPECT_EQ(static_cast<std::int64_t>(db.Bytes().size()), end + 320);
  // The other record's BLOB is untouched.
  TRecordBuffer read(io);
  TFieldBuffers buffers = read.Buffers();
  io.ReadRecord(buffers, io.RecordList(0), 1);
  EXPECT_EQ(read.BlobBytes(1), Bytes(100, 1));
  io.ReadRecord(buffers, io.RecordList(0), 0);
  EXPECT_EQ(read.BlobBytes(1), Bytes(300, 9));
  EXPECT_EQ(read.BlobBytes(2), Bytes(10, 2));  // not rewritten: inactive
}

TEST(TTableIOBlob, ZeroHeaderNeverRewritesInPlace) {
  TMemoryDatabase db({}, {BlobTable()});
  TTableIO& io = db.Table("T");
  TRecordBuffer record(io);
  record.Inactive(1);  // the BLOB field stays all zeros
  Append(io, record);
  const std::int64_t end = static_cast<std::int64_t>(db.Bytes().size());
  TRecordBuffer change(io);
  change.Blob(1, Bytes(5, 5));
  TFieldBuffers buffers = change.Buffers();
  io.ModifyRecord(buffers, 0, {}, false);
  EXPECT_EQ(HeaderOf(db, io, 0, 1).blob_offset, end);
}

TEST(TOptimBlobStream, LoadsLazilyAndKeepsWrittenValues) {
  TNewDatabaseOptions options;
  options.encrypt = true;
  options.compress = true;
  options.password = "pw";
  TMemoryDatabase db(options, {BlobTable()});
  TTableIO& io = db.Table("T");
  TRecordBuffer record(io);
  record.Blob(1, Bytes(5000, 3));
  Append(io, record);
  TRecordBuffer read(io);
  TFieldBuffers buffers = read.Buffers();
  io.ReadRecord(buffers, io.RecordList(0), 0);
  EXPECT_FALSE(read.BlobOf(1).Loaded());
  EXPECT_EQ(read.BlobOf(1).Size(), 5000u);  // the first look loads
  EXPECT_TRUE(read.BlobOf(1).Loaded());
  // After a new SetSource, a write before any read wins over the stored value.
  io.ReadRecord(buffers, io.RecordList(0), 0);
  read.BlobOf(1).Write(std::vector<std::uint8_t>{1, 2});
  read.BlobOf(1).Seek(0);
  EXPECT_EQ(read.BlobBytes(1), (std::vector<std::uint8_t>{1, 2}));
}

TEST(TTableIOBlob, ReadBackCheckPassesOnSoundStorage) {
  for (const bool check : {false, true}) {
    TNewDatabaseOptions options;
    options.crc32_check = check;
    options.compress = true;
    TMemoryDatabase db(options, {BlobTable()});
    TTableIO& io = db.Table("T");
    TRecordBuffer record(io);
    record.Blob(1, Bytes(3000, 4)).Blob(2, {'a', 'b'});
    Append(io, record);
    TRecordBuffer read(io);
    TFieldBuffers buffers = read.Buffers();
    io.ReadRecord(buffers, io.RecordList(0), 0);
    EXPECT_EQ(read.BlobBytes(1), Bytes(3000, 4));
    EXPECT_EQ(read.BlobBytes(2), (std::vector<std::uint8_t>{'a', 'b'}));
  }
}

}  // namespace
}  // namespace database::storage
