// The codecs of the stored structures: exact bytes for known values, and encode, decode,
// encode again giving the same bytes. Expected layouts are the database file format's.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "database/storage/blob_format.h"
#include "database/storage/database_error.h"
#include "database/storage/definition_format.h"
#include "database/storage/file_header_format.h"
#include "database/storage/fixed_text.h"
#include "database/storage/index_chain_format.h"
#include "database/storage/process_block_format.h"
#include "database/storage/record_tab_format.h"
#include "database/storage/table_directory_format.h"
#include "database/storage/table_header_format.h"

namespace database::storage {
namespace {

using TBytes = std::vector<std::uint8_t>;

TEST(FixedText, ReadsUpToTheFirstNulAndWritesTruncatedAndPadded) {
  const TBytes field = {'a', 'b', 0, 'x', 'y'};
  EXPECT_EQ(ReadFixedText(field), "ab");
  const TBytes full = {'a', 'b', 'c'};
  EXPECT_EQ(ReadFixedText(full), "abc");  // no NUL: all the bytes
  TBytes out(4, 0xEE);
  WriteFixedText(out, "abcdef");
  EXPECT_EQ(out, (TBytes{'a', 'b', 'c', 0}));
  WriteFixedText(out, "z");
  EXPECT_EQ(out, (TBytes{'z', 0, 0, 0}));
}

TEST(FileHeaderFormat, ExactBytesAndRoundTrip) {
  TBytes bytes(kFileHeaderSize, 0xEE);
  EncodeFileHeader(TFileHeader{std::string(kSignature.begin(), kSignature.end()), "2.0"}, bytes);
  EXPECT_EQ(bytes, (TBytes{0x54, 0x69, 0x6E, 0x79, 0x44, 0x42, 0, '2', '.', '0', 0, 0}));
  const TFileHeader decoded = DecodeFileHeader(bytes);
  EXPECT_TRUE(HasDatabaseSignature(decoded));
  EXPECT_EQ(decoded.version, "2.0");
  TBytes again(kFileHeaderSize, 0);
  EncodeFileHeader(decoded, again);
  EXPECT_EQ(again, bytes);
  EXPECT_THROW(DecodeFileHeader(TBytes(11, 0)), EDatabaseError);
}

TEST(ProcessBlockFormat, FieldsSitAtTheirOffsetsAndRoundTrip) {
  TDataProcessBlock block;
  block.compressed = 1;
  block.compress_algo_name = "ZLIB";
  block.encrypted = 1;
  block.encrypt_mode = 3;
  block.encrypt_algo_name = "Gost";
  block.crc32_check = 1;
  block.password_check = "abc";
  TBytes bytes(kDataProcessBlockSize, 0);
  EncodeDataProcessBlock(block, bytes);
  TBytes expected(kDataProcessBlockSize, 0);
  expected[0] = 1;
  std::copy_n("ZLIB", 4, expected.begin() + 2);
  expected[35] = 1;
  expected[36] = 3;
  std::copy_n("Gost", 4, expected.begin() + 37);
  expected[70] = 1;
  std::copy_n("abc", 3, expected.begin() + 327);
  EXPECT_EQ(bytes, expected);
  TBytes again(kDataProcessBlockSize, 0);
  EncodeDataProcessBlock(DecodeDataProcessBlock(bytes), again);
  EXPECT_EQ(again, bytes);
}

TEST(TableDirectoryFormat, ExactBytesRoundTripAndCountRange) {
  TTableDirectory directory;
  directory.table_count = 2;
  directory.header_offsets[0] = 3821;
  directory.header_offsets[1] = 0x01020304;
  TBytes bytes(kTableDirectorySize, 0);
  EncodeTableDirectory(directory, bytes);
  EXPECT_EQ((TBytes(bytes.begin(), bytes.begin() + 16)),
            (TBytes{2, 0, 0, 0, 0, 0, 0, 0, 0xED, 0x0E, 0, 0, 4, 3, 2, 1}));
  TBytes again(kTableDirectorySize, 0);
  EncodeTableDirectory(DecodeTableDirectory(bytes), again);
  EXPECT_EQ(again, bytes);
  for (const std::uint32_t count : {257u, 0xFFFFFFFFu}) {
    TBytes bad(kTableDirectorySize, 0);
    bad[0] = static_cast<std::uint8_t>(count);
    bad[1] = static_cast<std::uint8_t>(count >> 8);
    bad[2] = static_cast<std::uint8_t>(count >> 16);
    bad[3] = static_cast<std::uint8_t>(count >> 24);
    EXPECT_THROW(DecodeTableDirectory(bad), EDatabaseError) << count;
  }
}

TEST(DefinitionFormat, FieldAndIndexEntriesExactBytesAndRoundTrip) {
  TBytes field(kFieldEntrySize, 0);
  EncodeFieldEntry(TFieldEntry{"ID", 14, 0x0102, 1}, field);
  TBytes expected_field(kFieldEntrySize, 0);
  expected_field[0] = 'I';
  expected_field[1] = 'D';
  expected_field[33] = 14;
  expected_field[34] = 0x02;
  expected_field[35] = 0x01;
  expected_field[38] = 1;
  EXPECT_EQ(field, expected_field);
  TBytes field_again(kFieldEntrySize, 0);
  EncodeFieldEntry(DecodeFieldEntry(field), field_again);
  EXPECT_EQ(field_again, field);

  TIndexEntry index;
  index.name = "PK";
  index.options = 0x0B;
  index.fields = {2, 0, -1, -1, -1, -1, -1, -1};
  index.index_tab_offset = 0x1000;
  index.chain_head = 7;
  TBytes bytes(kIndexEntrySize, 0);
  EncodeIndexEntry(index, bytes);
  EXPECT_EQ(bytes[33], 0x0B);
  EXPECT_EQ((TBytes(bytes.begin() + 34, bytes.begin() + 46)),
            (TBytes{2, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ((TBytes(bytes.begin() + 66, bytes.begin() + 78)),
            (TBytes{0, 0x10, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0}));
  TBytes again(kIndexEntrySize, 0);
  EncodeIndexEntry(DecodeIndexEntry(bytes), again);
  EXPECT_EQ(again, bytes);
}

TEST(TableHeaderFormat, KeepsUninterpretedBytesAndRefusesImpossibleCounts) {
  TBytes bytes(kTableHeaderSize, 0xAB);  // stands for bytes this system does not interpret
  TTableHeader header;
  header.name = "Societe";
  header.record_tab_offset = 9000;
  header.record_total = 3;
  header.last_auto_inc = 11;
  header.fields.push_back(TFieldEntry{"ID", 14, 0, 0});
  header.indexes.push_back(TIndexEntry{"PK", 1, {0, -1, -1, -1, -1, -1, -1, -1}, 0, 0});
  EncodeTableHeader(header, bytes);
  EXPECT_EQ(bytes[kFieldEntriesOffset + kFieldEntrySize], 0xAB);  // entry 1 is not written
  EXPECT_EQ(bytes[kTableHeaderSize - 1], 0xAB);
  EXPECT_EQ(bytes[33], 0x28);  // 9000 = 0x2328
  EXPECT_EQ(bytes[34], 0x23);
  EXPECT_EQ(bytes[45], 1);    // FieldCount
  EXPECT_EQ(bytes[4177], 1);  // IndexCount
  const TTableHeader decoded = DecodeTableHeader(bytes);
  EXPECT_EQ(decoded.fields.size(), 1u);
  EXPECT_EQ(decoded.indexes[0].fields[0], 0);
  TBytes again = bytes;
  EncodeTableHeader(decoded, again);
  EXPECT_EQ(again, bytes);

  struct TBadCount {
    std::size_t offset;
    std::uint8_t value;
  };
  for (const TBadCount& bad : {TBadCount{kFieldCountOffset, 97}, TBadCount{kIndexCountOffset, 9},
                               TBadCount{kRecordTotalOffset + 3, 0x80}}) {
    TBytes damaged = bytes;
    damaged[bad.offset] = bad.value;
    EXPECT_THROW(DecodeTableHeader(damaged), EDatabaseError) << bad.offset;
  }
}

TEST(RecordTabAndIndexChainFormats, ItemsAndPositions) {
  std::array<std::uint8_t, kRecordTabItemSize> item{};
  EncodeRecordTabItem(TRecordTabItem{0x11223344, 1}, item);
  EXPECT_EQ(item, (std::array<std::uint8_t, 5>{0x44, 0x33, 0x22, 0x11, 1}));
  EXPECT_EQ(DecodeRecordTabItem(item).data_offset, 0x11223344);
  std::array<std::uint8_t, kIndexTabItemSize> node{};
  EncodeIndexTabItem(TIndexTabItem{5, -1}, node);
  EXPECT_EQ(node, (std::array<std::uint8_t, 8>{5, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(DecodeIndexTabItem(node).next_record_no, -1);
  EXPECT_EQ(RecordTabItemPosition(1000, 1025), 1000 + 4 + 5);
  EXPECT_EQ(IndexTabItemPosition(1000, 1023), 1000 + 4 + 1023 * 8);
  EXPECT_EQ(BlocksForItems(0), 0u);
  EXPECT_EQ(BlocksForItems(1024), 1u);
  EXPECT_EQ(BlocksForItems(1025), 2u);
}

TEST(BlobFormat, HeaderBytesAndAreaSizes) {
  TBlobHeader header;
  header.blob_offset = 0x100;
  header.blob_size = 100;
  header.area_size = 128;
  header.reserved = {1, 2, 3, 4, 5, 6, 7, 8};
  TBytes bytes(kBlobHeaderSize, 0);
  EncodeBlobHeader(header, bytes);
  EXPECT_EQ(bytes, (TBytes{0, 1, 0, 0, 100, 0, 0, 0, 128, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}));
  TBytes again(kBlobHeaderSize, 0);
  EncodeBlobHeader(DecodeBlobHeader(bytes), again);
  EXPECT_EQ(again, bytes);
  EXPECT_EQ(AreaSizeFor(0), 64);
  EXPECT_EQ(AreaSizeFor(63), 64);
  EXPECT_EQ(AreaSizeFor(64), 128);
  EXPECT_EQ(AreaSizeFor(127), 128);
  EXPECT_EQ(AreaSizeFor(128), 192);
}

}  // namespace
}  // namespace database::storage
