#include "crypto/comp_algo_zlib.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <vector>

#include "crypto/crypto_errors.h"
#include "platform/byte_order.h"
#include "tests/crypto/test_hex.h"

namespace {

using crypto::TCompAlgo_Zlib;
using crypto::TMemoryStream;
using TBytes = std::vector<std::uint8_t>;

TBytes Compress(const TBytes& plain, int level = 1) {
  TCompAlgo_Zlib algo;
  algo.SetLevel(level);
  TMemoryStream source(plain);
  TMemoryStream target;
  algo.EncodeStream(&source, &target, -1);
  return TBytes(target.Bytes().begin(), target.Bytes().end());
}

TBytes Decompress(const TBytes& form) {
  TCompAlgo_Zlib algo;
  TMemoryStream source(form);
  TMemoryStream target;
  algo.DecodeStream(&source, &target, -1);
  EXPECT_EQ(target.Position(), 0u);
  return TBytes(target.Bytes().begin(), target.Bytes().end());
}

TEST(TCompAlgo_Zlib, DataThatDoesNotShrinkIsStoredBehindItsNegatedLength) {
  const TBytes plain = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  const TBytes form = Compress(plain);
  ASSERT_EQ(form.size(), 14u);
  EXPECT_EQ(static_cast<std::int32_t>(platform::LoadLE32(form, 0)), -10);
  EXPECT_EQ(TBytes(form.begin() + 4, form.end()), plain);
  EXPECT_EQ(Decompress(form), plain);
}

TEST(TCompAlgo_Zlib, CompressedFormIsTheLengthAndAZlibStream) {
  const TBytes plain(100000, 0);
  const TBytes form = Compress(plain);
  ASSERT_GT(form.size(), 6u);
  EXPECT_LT(form.size(), 1000u);
  EXPECT_EQ(platform::LoadLE32(form, 0), 100000u);
  // zlib itself reads the body back: a conforming RFC 1950 stream.
  TBytes restored(100000, 0xAA);
  uLongf restored_size = restored.size();
  ASSERT_EQ(uncompress(restored.data(), &restored_size, form.data() + 4, form.size() - 4), Z_OK);
  EXPECT_EQ(restored_size, 100000u);
  EXPECT_EQ(restored, plain);
  EXPECT_EQ(Decompress(form), plain);
}

TEST(TCompAlgo_Zlib, EmptyInEmptyOut) {
  EXPECT_TRUE(Compress({}).empty());
  EXPECT_TRUE(Decompress({}).empty());
}

TEST(TCompAlgo_Zlib, EveryLevelRoundTrips) {
  TBytes plain;
  for (int i = 0; i < 70000; ++i) {
    plain.push_back(static_cast<std::uint8_t>("the quick brown fox "[i % 20]));
  }
  for (const int level : {0, 1, 2, 3, 4, 200}) {
    SCOPED_TRACE(level);
    EXPECT_EQ(Decompress(Compress(plain, level)), plain);
  }
}

TEST(TCompAlgo_Zlib, LevelMapping) {
  struct TCase {
    int level;
    int zlib_level;
  };
  const TCase cases[] = {{0, 9}, {1, -1}, {2, 1}, {3, 1}, {4, 0}, {255, 0}};
  for (const TCase c : cases) {
    EXPECT_EQ(TCompAlgo_Zlib::ZlibLevel(c.level), c.zlib_level) << c.level;
  }
  EXPECT_EQ(TCompAlgo_Zlib().GetLevel(), 1);
}

TEST(TCompAlgo_Zlib, SourceMayBeItsOwnTarget) {
  const TBytes plain(5000, 'x');
  TCompAlgo_Zlib algo;
  TMemoryStream stream(plain);
  algo.EncodeStream(&stream, nullptr, -1);
  EXPECT_LT(stream.Size(), plain.size());
  algo.DecodeStream(&stream, &stream, -1);
  EXPECT_EQ(TBytes(stream.Bytes().begin(), stream.Bytes().end()), plain);
}

TEST(TCompAlgo_Zlib, DamagedFormsRaiseAndLeaveTheTarget) {
  TBytes plain(3000);
  for (std::size_t i = 0; i < plain.size(); ++i) {
    plain[i] = static_cast<std::uint8_t>(i % 7);
  }
  const TBytes good = Compress(plain);
  ASSERT_GT(static_cast<std::int32_t>(platform::LoadLE32(good, 0)), 0);

  TBytes corrupt = good;
  corrupt[4] ^= 0xFF;  // the zlib header
  TBytes corrupt_body = good;
  for (std::size_t i = 8; i < corrupt_body.size(); ++i) {
    corrupt_body[i] = 0xFF;
  }
  const TBytes truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
  TBytes longer_length = good;
  platform::StoreLE32(longer_length, 0, 3001);
  const TBytes short_header = {0x10, 0x00};
  TBytes stored_mismatch = {0xFB, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4};  // says 5 stored bytes, has 4
  TBytes huge_length = good;
  platform::StoreLE32(huge_length, 0, 0x7FFFFFFF);

  const TBytes damaged[] = {corrupt,      corrupt_body,    truncated,  longer_length,
                            short_header, stored_mismatch, huge_length};
  for (std::size_t i = 0; i < std::size(damaged); ++i) {
    SCOPED_TRACE(i);
    TCompAlgo_Zlib algo;
    TMemoryStream source(damaged[i]);
    TMemoryStream target(TBytes{7, 7, 7});
    EXPECT_THROW(algo.DecodeStream(&source, &target, -1), crypto::ECompressError);
    EXPECT_EQ(TBytes(target.Bytes().begin(), target.Bytes().end()), (TBytes{7, 7, 7}));
  }
}

TEST(TCompAlgo_Zlib, OneObjectGivesEveryItemTheBytesOfAFreshOne) {
  // One algorithm object serves every BLOB of a database: what an item leaves behind (a
  // finished stream, a failure half-way, another level) must not reach the next one.
  TBytes text;
  for (int i = 0; i < 5000; ++i) {
    text.push_back(static_cast<std::uint8_t>("abcabd"[i % 6]));
  }
  const TBytes good = Compress(text);
  TBytes corrupt_body = good;
  std::fill(corrupt_body.begin() + 8, corrupt_body.end(), 0xFF);
  const TBytes truncated(good.begin(), good.begin() + 12);

  TCompAlgo_Zlib algo;
  const auto encode = [&](const TBytes& plain) {
    TMemoryStream source(plain);
    TMemoryStream target;
    algo.EncodeStream(&source, &target, -1);
    return TBytes(target.Bytes().begin(), target.Bytes().end());
  };
  const auto decode = [&](const TBytes& form) {
    TMemoryStream source(form);
    TMemoryStream target;
    algo.DecodeStream(&source, &target, -1);
    return TBytes(target.Bytes().begin(), target.Bytes().end());
  };
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    EXPECT_EQ(encode(text), good);
    EXPECT_THROW(decode(corrupt_body), crypto::ECompressError);
    EXPECT_EQ(decode(good), text);
    EXPECT_THROW(decode(truncated), crypto::ECompressError);
    EXPECT_EQ(decode(good), text);
    algo.SetLevel(0);
    EXPECT_EQ(encode(text), Compress(text, 0));
    algo.SetLevel(1);
  }
}

TEST(TCompAlgo_Zlib, ReportsProgressWhileCompressingLargeData) {
  TBytes plain(300000);
  std::uint32_t x = 1;
  for (auto& b : plain) {
    x = x * 1103515245 + 12345;
    b = static_cast<std::uint8_t>(x >> 24);  // incompressible: output buffers fill up
  }
  TCompAlgo_Zlib algo;
  std::vector<int> encode_percents;
  std::vector<int> decode_percents;
  algo.SetOnEncodeProgress([&](int p) { encode_percents.push_back(p); });
  algo.SetOnDecodeProgress([&](int p) { decode_percents.push_back(p); });
  TMemoryStream source(plain);
  TMemoryStream form;
  algo.EncodeStream(&source, &form, -1);
  EXPECT_FALSE(encode_percents.empty());
  for (const int p : encode_percents) {
    EXPECT_GE(p, 0);
    EXPECT_LE(p, 100);
  }
  // Stored (random data does not shrink): nothing to inflate, so no decode progress.
  EXPECT_LT(static_cast<std::int32_t>(platform::LoadLE32(form.Bytes(), 0)), 0);
  TMemoryStream restored;
  algo.DecodeStream(&form, &restored, -1);
  EXPECT_TRUE(decode_percents.empty());

  const TBytes zeros(300000, 0);
  TMemoryStream zero_source(zeros);
  TMemoryStream zero_form;
  algo.EncodeStream(&zero_source, &zero_form, -1);
  algo.DecodeStream(&zero_form, &restored, -1);
  ASSERT_FALSE(decode_percents.empty());
  EXPECT_EQ(decode_percents.back(), 100);
}

}  // namespace
