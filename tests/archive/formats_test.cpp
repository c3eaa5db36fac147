// The ZIP record codecs: exact bytes for known values (laid out by hand from APPNOTE's
// tables) and encode, decode, encode again.
#include <gtest/gtest.h>

#include <vector>

#include "archive/central_header_format.h"
#include "archive/end_record_format.h"
#include "archive/format_util.h"
#include "archive/local_header_format.h"
#include "archive/zip64_format.h"

namespace archive {
namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<std::uint8_t> bytes;
  for (const int v : values) {
    bytes.push_back(static_cast<std::uint8_t>(v));
  }
  return bytes;
}

TEST(LocalHeaderFormat, EncodesKnownBytesAndRoundTrips) {
  TLocalHeader h;
  h.version_needed = 20;
  h.flags = 0x0009;
  h.method = 8;
  h.time = 0x6B2C;
  h.date = 0x478F;
  h.crc32 = 0xCAFEBABE;
  h.compressed_size = 0x01020304;
  h.uncompressed_size = 0x0A0B0C0D;
  h.name_length = 5;
  h.extra_length = 0x0102;
  const auto bytes = EncodeLocalHeader(h);
  const auto expected =
      Bytes({0x50, 0x4B, 0x03, 0x04, 20, 0, 0x09, 0,    8,    0,    0x2C, 0x6B, 0x8F, 0x47, 0xBE,
             0xBA, 0xFE, 0xCA, 4,    3,  2, 1,    0x0D, 0x0C, 0x0B, 0x0A, 5,    0,    0x02, 0x01});
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), expected);
  EXPECT_EQ(EncodeLocalHeader(DecodeLocalHeader(bytes)), bytes);
  EXPECT_THROW(DecodeLocalHeader(TBytes(bytes).first(29)), EShortRecord);
}

TEST(LocalHeaderFormat, DataDescriptorRoundTrips) {
  const auto bytes = EncodeDataDescriptor({0x11223344, 100, 200});
  EXPECT_EQ(bytes[0], 0x50);
  EXPECT_EQ(bytes[3], 0x08);
  const TDataDescriptor d = DecodeDataDescriptor(bytes);
  EXPECT_EQ(d.crc32, 0x11223344u);
  EXPECT_EQ(d.compressed_size, 100u);
  EXPECT_EQ(d.uncompressed_size, 200u);
  EXPECT_THROW(DecodeDataDescriptor(TBytes(bytes).first(15)), EShortRecord);
}

TEST(CentralHeaderFormat, EncodesKnownBytesAndRoundTrips) {
  TCentralHeader h;
  h.version_made_by = 0x031E;
  h.version_needed = 20;
  h.flags = 1;
  h.method = 8;
  h.time = 0x1234;
  h.date = 0x5678;
  h.crc32 = 0x89ABCDEF;
  h.compressed_size = 10;
  h.uncompressed_size = 20;
  h.name_length = 3;
  h.extra_length = 4;
  h.comment_length = 5;
  h.disk_start = 6;
  h.internal_attributes = 7;
  h.external_attributes = 0x81A40020;
  h.local_header_offset = 0x00010203;
  const auto bytes = EncodeCentralHeader(h);
  const auto expected = Bytes({0x50, 0x4B, 0x01, 0x02, 0x1E, 0x03, 20,   0,    1,    0,   8, 0,
                               0x34, 0x12, 0x78, 0x56, 0xEF, 0xCD, 0xAB, 0x89, 10,   0,   0, 0,
                               20,   0,    0,    0,    3,    0,    4,    0,    5,    0,   6, 0,
                               7,    0,    0x20, 0x00, 0xA4, 0x81, 0x03, 0x02, 0x01, 0x00});
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), expected);
  EXPECT_EQ(EncodeCentralHeader(DecodeCentralHeader(bytes)), bytes);
  EXPECT_THROW(DecodeCentralHeader(TBytes(bytes).first(45)), EShortRecord);
}

TEST(CentralHeaderFormat, ExtraFieldSplitsBlocksAndCutsOversizedOnes) {
  // Block 0x5455 of 1 byte, then block 0x0001 claiming 16 bytes with only 3 left.
  const auto field = Bytes({0x55, 0x54, 1, 0, 0xAA, 0x01, 0x00, 16, 0, 1, 2, 3});
  const std::vector<TExtraBlock> blocks = DecodeExtraField(field);
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0].id, 0x5455);
  EXPECT_EQ(blocks[0].data, Bytes({0xAA}));
  EXPECT_EQ(blocks[1].id, 0x0001);
  EXPECT_EQ(blocks[1].data, Bytes({1, 2, 3}));
  // Two trailing bytes, too few for a block header, are dropped.
  EXPECT_EQ(DecodeExtraField(Bytes({0x55, 0x54, 0, 0, 9, 9})).size(), 1u);
  const std::vector<TExtraBlock> again = DecodeExtraField(EncodeExtraField(blocks));
  EXPECT_EQ(EncodeExtraField(again), EncodeExtraField(blocks));
}

TEST(EndRecordFormat, EncodesKnownBytesAndRoundTrips) {
  TEndRecord r;
  r.total_entries = 3;
  r.entries_on_disk = 3;
  r.directory_size = 0x100;
  r.directory_offset = 0x2000;
  r.comment_length = 2;
  const auto bytes = EncodeEndRecord(r);
  const auto expected = Bytes(
      {0x50, 0x4B, 0x05, 0x06, 0, 0, 0, 0, 3, 0, 3, 0, 0x00, 0x01, 0, 0, 0x00, 0x20, 0, 0, 2, 0});
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), expected);
  EXPECT_EQ(EncodeEndRecord(DecodeEndRecord(bytes)), bytes);
  EXPECT_THROW(DecodeEndRecord(TBytes(bytes).first(21)), EShortRecord);
}

TEST(Zip64Format, RecordsRoundTripAndExtraTakesOnlyMarkedFields) {
  TZip64Locator l;
  l.end_record_offset = 0x0000000123456789;
  l.total_disks = 1;
  const auto lb = EncodeZip64Locator(l);
  EXPECT_EQ(lb[0], 0x50);
  EXPECT_EQ(lb[3], 0x07);
  EXPECT_EQ(lb[8], 0x89);
  EXPECT_EQ(lb[12], 0x01);
  EXPECT_EQ(EncodeZip64Locator(DecodeZip64Locator(lb)), lb);

  TZip64EndRecord r;
  r.record_size = 44;
  r.total_entries = 0x100000000ull;
  r.directory_size = 77;
  r.directory_offset = 0x200000000ull;
  const auto rb = EncodeZip64EndRecord(r);
  EXPECT_EQ(rb[3], 0x06);
  EXPECT_EQ(rb[4], 44);
  EXPECT_EQ(rb[32], 0x00);  // total entries, low word
  EXPECT_EQ(rb[36], 0x01);  // total entries, high word
  EXPECT_EQ(rb[40], 77);    // directory size
  EXPECT_EQ(EncodeZip64EndRecord(DecodeZip64EndRecord(rb)), rb);
  EXPECT_THROW(DecodeZip64EndRecord(TBytes(rb).first(55)), EShortRecord);

  // Sizes 5 and 6, then an offset; only the compressed size and offset are marked.
  const auto data = Bytes({5, 0, 0, 0, 0, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0, 7, 0});
  const TZip64Extra x = DecodeZip64Extra(data, false, true, true, false);
  EXPECT_FALSE(x.uncompressed_size);
  EXPECT_EQ(x.compressed_size, 5u);
  EXPECT_EQ(x.local_header_offset, 6u);
  // Room for the first field only.
  const TZip64Extra y = DecodeZip64Extra(TBytes(data).first(12), true, true, false, false);
  EXPECT_EQ(y.uncompressed_size, 5u);
  EXPECT_FALSE(y.compressed_size);
}

}  // namespace
}  // namespace archive
