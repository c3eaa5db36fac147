#include "crypto/data_process_mgr.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "crypto/algo_registry.h"
#include "crypto/comp_algo_zlib.h"
#include "crypto/crypto_errors.h"
#include "crypto/enc_blowfish.h"
#include "tests/crypto/test_hex.h"

namespace {

using crypto::TCompressMgr;
using crypto::TEncryptMgr;
using crypto::TMemoryStream;
using TBytes = std::vector<std::uint8_t>;

template <class TFn>
std::string ErrorText(TFn fn) {
  try {
    fn();
  } catch (const crypto::EDataProcessError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(AlgoRegistry, HoldsTheProgramsAlgorithmsAndRenamesOnReregistration) {
  ASSERT_EQ(crypto::CompressAlgoCount(), 1u);
  EXPECT_EQ(crypto::CompressAlgoName(0), "ZLIB");
  ASSERT_EQ(crypto::EncryptAlgoCount(), 3u);
  EXPECT_EQ(crypto::EncryptAlgoName(0), "Blowfish");
  EXPECT_EQ(crypto::EncryptAlgoName(1), "Twofish");
  EXPECT_EQ(crypto::EncryptAlgoName(2), "Gost");

  crypto::RegisterCompressAlgo(crypto::CompAlgoZlibClass(), "ZLIB");
  EXPECT_EQ(crypto::CompressAlgoCount(), 1u);
  crypto::RegisterCompressAlgo(crypto::CompAlgoZlibClass(), "Deflate");
  EXPECT_EQ(crypto::CompressAlgoCount(), 1u);
  EXPECT_EQ(crypto::FindCompressAlgo("deflate"), 0u);
  EXPECT_FALSE(crypto::FindCompressAlgo("ZLIB"));
  crypto::RegisterCompressAlgo(crypto::CompAlgoZlibClass(), "ZLIB");  // as the program has it
  EXPECT_EQ(crypto::CompressAlgoName(0), "ZLIB");
}

TEST(TCompressMgr, SelectsByNameIgnoringCase) {
  for (const char* name : {"ZLIB", "zlib", "Zlib"}) {
    TCompressMgr mgr;
    mgr.SelectAlgo(name);
    ASSERT_TRUE(mgr.HasAlgo());
    EXPECT_EQ(mgr.Algo()->ClassName(), "TCompAlgo_Zlib");
  }
  TCompressMgr mgr;
  EXPECT_EQ(ErrorText([&] { mgr.SelectAlgo("Deflate"); }),
            "Compression algorithm module 'Deflate' not found");
  mgr.SelectAlgo("ZLIB");
  const auto* before = mgr.Algo();
  EXPECT_THROW(mgr.SelectAlgo("Deflate"), crypto::EDataProcessError);
  EXPECT_EQ(mgr.Algo(), before);  // the current algorithm stays
  mgr.SelectAlgo("zlib");
  EXPECT_EQ(mgr.Algo(), before);  // same class: same object
}

TEST(TEncryptMgr, UnknownNameAndUseBeforeSelection) {
  TEncryptMgr mgr;
  EXPECT_EQ(ErrorText([&] { mgr.SelectAlgo("AES"); }),
            "Encryption algorithm module 'AES' not found");
  TMemoryStream stream(TBytes{1, 2, 3});
  std::uint8_t buffer[8] = {};
  EXPECT_EQ(ErrorText([&] { mgr.EncodeStream(&stream, nullptr, -1); }), "General error");
  EXPECT_EQ(ErrorText([&] { mgr.DecodeStream(&stream, nullptr, -1); }), "General error");
  EXPECT_EQ(ErrorText([&] { mgr.EncodeBuffer(buffer, buffer, 8); }), "General error");
  EXPECT_EQ(ErrorText([&] { mgr.DecodeBuffer(buffer, buffer, 8); }), "General error");
  EXPECT_EQ(ErrorText([&] { mgr.SetMode(1); }), "General error");
  EXPECT_EQ(ErrorText([&] { mgr.InitKey("x"); }), "General error");
  EXPECT_EQ(ErrorText([&] { mgr.EndData(); }), "General error");
  TCompressMgr compress;
  EXPECT_EQ(ErrorText([&] { compress.EncodeStream(&stream, nullptr, -1); }), "General error");
  EXPECT_EQ(ErrorText([&] { compress.DecodeStream(&stream, nullptr, -1); }), "General error");
  EXPECT_EQ(TBytes(stream.Bytes().begin(), stream.Bytes().end()), (TBytes{1, 2, 3}));
}

TEST(TEncryptMgr, DecipheringBeforeKeyingRaisesTheCipherError) {
  TEncryptMgr mgr;
  mgr.SelectAlgo("Blowfish");
  TMemoryStream source(TBytes(16, 1));
  TMemoryStream target(TBytes{5});
  try {
    mgr.DecodeStream(&source, &target, -1);
    ADD_FAILURE() << "no exception";
  } catch (const crypto::EEncryptException& e) {
    EXPECT_EQ(e.ErrorCode(), 3);
    EXPECT_STREQ(e.what(), "TEnc_Blowfish is not initialized call Init() or InitKey() before.");
  }
  EXPECT_EQ(TBytes(target.Bytes().begin(), target.Bytes().end()), TBytes{5});
  EXPECT_THROW(mgr.SetMode(5), crypto::EEncryptException);
}

TEST(TEncryptMgr, EveryItemStartsFromTheInitialVector) {
  for (const char* name : {"Blowfish", "Twofish", "Gost"}) {
    for (std::uint8_t mode = 0; mode <= 4; ++mode) {
      SCOPED_TRACE(std::string(name) + " mode " + std::to_string(mode));
      TEncryptMgr mgr;
      mgr.SelectAlgo(name);
      mgr.SetMode(mode);
      mgr.InitKey("zapto");
      const TBytes field = crypto_test::Bytes("SOCIETE ZELMORIC SARL, 41 bytes of field.");
      ASSERT_EQ(field.size(), 41u);
      TBytes first(field.size());
      mgr.EncodeBuffer(field.data(), first.data(), field.size());
      TBytes other(100, 0x33);
      mgr.EncodeBuffer(other.data(), other.data(), other.size());
      TBytes second(field.size());
      mgr.EncodeBuffer(field.data(), second.data(), field.size());
      EXPECT_EQ(first, second);
      // A buffer written by EncodeBuffer is read back by DecodeStream, and the reverse.
      TMemoryStream stream(first);
      mgr.DecodeStream(&stream, nullptr, -1);
      EXPECT_EQ(TBytes(stream.Bytes().begin(), stream.Bytes().end()), field);
      mgr.EncodeStream(&stream, nullptr, -1);
      TBytes back(field.size());
      mgr.DecodeBuffer(stream.Bytes().data(), back.data(), back.size());
      EXPECT_EQ(back, field);
    }
  }
}

TEST(TEncryptMgr, SelectingTheSameNameKeepsTheKey) {
  TEncryptMgr mgr;
  mgr.SelectAlgo("Gost");
  mgr.InitKey("secret");
  TBytes data(16, 0x11);
  TBytes once(16);
  mgr.EncodeBuffer(data.data(), once.data(), data.size());
  const auto* algo = mgr.Algo();
  mgr.SelectAlgo("GOST");
  EXPECT_EQ(mgr.Algo(), algo);
  TBytes twice(16);
  mgr.EncodeBuffer(data.data(), twice.data(), data.size());
  EXPECT_EQ(once, twice);
  // Another class replaces the object, unkeyed.
  mgr.SelectAlgo("Blowfish");
  EXPECT_THROW(mgr.EncodeBuffer(data.data(), twice.data(), data.size()), crypto::EEncryptException);
}

// The stream walk goes in chunks of 4096 bytes: 5,000 bytes are 4096 + 904, with the same
// result as one buffer operation over all of them.
TEST(TEncryptMgr, StreamWalkMatchesOneBufferCallAndReportsPerChunk) {
  TBytes item(5000);
  for (std::size_t i = 0; i < item.size(); ++i) {
    item[i] = static_cast<std::uint8_t>(i * 31);
  }
  for (std::uint8_t mode = 0; mode <= 4; ++mode) {
    SCOPED_TRACE(static_cast<int>(mode));
    TEncryptMgr mgr;
    std::vector<int> percents;
    mgr.SetOnEncodeProgress([&](int p) { percents.push_back(p); });
    mgr.SelectAlgo("Twofish");
    mgr.SetMode(mode);
    mgr.InitKey("walk");
    TBytes by_buffer(item.size());
    mgr.EncodeBuffer(item.data(), by_buffer.data(), item.size());
    TMemoryStream source(item);
    TMemoryStream target;
    mgr.EncodeStream(&source, &target, -1);
    EXPECT_EQ(TBytes(target.Bytes().begin(), target.Bytes().end()), by_buffer);
    EXPECT_EQ(percents, (std::vector<int>{0, 82, 100, 0}));
  }
}

TEST(TEncryptMgr, StreamWalkHonoursSizeAndPositions) {
  TEncryptMgr mgr;
  mgr.SelectAlgo("Blowfish");
  mgr.InitKey("pos");
  TBytes data(40);
  for (std::size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<std::uint8_t>(i);
  }
  TMemoryStream source(data);
  source.SetPosition(8);
  TMemoryStream target(TBytes(4, 0xEE));
  target.SetPosition(4);
  mgr.EncodeStream(&source, &target, 16);
  ASSERT_EQ(target.Size(), 20u);
  TBytes expected(16);
  mgr.EncodeBuffer(data.data() + 8, expected.data(), 16);
  EXPECT_EQ(TBytes(target.Bytes().begin() + 4, target.Bytes().end()), expected);
  EXPECT_EQ(TBytes(target.Bytes().begin(), target.Bytes().begin() + 4), TBytes(4, 0xEE));
  mgr.EncodeStream(nullptr, &target, -1);  // no source: nothing happens
  EXPECT_EQ(target.Size(), 20u);
}

TEST(TDataProcessMgrs, CompressThenEncipherRoundTrips) {
  TCompressMgr compress;
  TEncryptMgr encrypt;
  compress.SelectAlgo("ZLIB");
  encrypt.SelectAlgo("Twofish");
  encrypt.SetMode(1);
  encrypt.InitKey("zapto");
  TBytes blob(20000);
  for (std::size_t i = 0; i < blob.size(); ++i) {
    blob[i] = static_cast<std::uint8_t>((i / 100) % 256);
  }
  TMemoryStream plain(blob);
  TMemoryStream stored;
  compress.EncodeStream(&plain, &stored, -1);
  encrypt.EncodeStream(&stored, nullptr, -1);
  TMemoryStream restored;
  encrypt.DecodeStream(&stored, nullptr, -1);
  compress.DecodeStream(&stored, &restored, -1);
  EXPECT_EQ(TBytes(restored.Bytes().begin(), restored.Bytes().end()), blob);
}

}  // namespace
