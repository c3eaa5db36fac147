#include "crypto/twofish_core.h"

#include <gtest/gtest.h>

#include <vector>

#include "crypto/enc_twofish.h"
#include "tests/crypto/botan_oracle.h"
#include "tests/crypto/test_hex.h"

namespace {

using crypto::TTwofishCore;
using crypto_test::FromHex;
using crypto_test::ToHex;

struct TBlockCase {
  const char* key;
  const char* plain;
  const char* cipher;
};

// Published Twofish known answers ("Twofish: A 128-Bit Block Cipher", appendix A.1, and the
// submission's ecb_tbl.txt first entries), one per key length.
constexpr TBlockCase kTwofishCases[] = {
    {"00000000000000000000000000000000", "00000000000000000000000000000000",
     "9F589F5CF6122C32B6BFEC2F2AE8C35A"},
    {"0123456789ABCDEFFEDCBA98765432100011223344556677", "00000000000000000000000000000000",
     "CFD1D2E5A9BE9CDF501F13B892BD2248"},
    {"0123456789ABCDEFFEDCBA987654321000112233445566778899AABBCCDDEEFF",
     "00000000000000000000000000000000", "37527BE0052334B89F0CFCCAE87CFA20"},
};

TEST(TTwofishCore, StandardConfigurationReproducesPublishedVectors) {
  for (const TBlockCase& c : kTwofishCases) {
    SCOPED_TRACE(c.key);
    const std::vector<std::uint8_t> key = FromHex(c.key);
    TTwofishCore core(crypto::kTwofishStandard);
    core.SetKey(key.data(), key.size());
    std::vector<std::uint8_t> block = FromHex(c.plain);
    core.EncryptBlock(block.data());
    EXPECT_EQ(ToHex(block), c.cipher);
    core.DecryptBlock(block.data());
    EXPECT_EQ(ToHex(block), c.plain);
  }
}

TEST(TTwofishCore, StandardConfigurationAgreesWithBotan) {
  crypto_test::TRandomBytes random(1998);
  const auto botan = crypto_test::BotanCipher("Twofish");
  ASSERT_TRUE(botan);
  for (int round = 0; round < 150; ++round) {
    const std::vector<std::uint8_t> key = random.Next(16 + 8 * (round % 3));
    const std::vector<std::uint8_t> plain = random.Next(16);
    SCOPED_TRACE(ToHex(key));
    TTwofishCore core(crypto::kTwofishStandard);
    core.SetKey(key.data(), key.size());
    botan->set_key(key);
    std::vector<std::uint8_t> ours = plain;
    std::vector<std::uint8_t> theirs(16);
    core.EncryptBlock(ours.data());
    botan->encrypt(plain.data(), theirs.data());
    ASSERT_EQ(ToHex(ours), ToHex(theirs));
  }
}

// The registered cipher is the verified core with exactly the two settled differences: 15
// double rounds whose round-key window moves by two words (K[8..11] first, K[36..39] last),
// and odd subkeys from B >> 1.
TEST(TEnc_Twofish, IsTheCoreInTheVariantConfiguration) {
  static_assert(crypto::kTwofishVariant.double_rounds == 15);
  static_assert(crypto::kTwofishVariant.subkey_step == 2);
  static_assert(8 + 2 * 14 + 3 == 39);
  static_assert(crypto::kTwofishVariant.odd_subkey == crypto::TTwofishOddSubkey::Halved);

  crypto_test::TRandomBytes random(30);
  for (int round = 0; round < 50; ++round) {
    const std::vector<std::uint8_t> key = random.Next(random.Between(0, 32));
    const std::vector<std::uint8_t> plain = random.Next(16);
    crypto::TEnc_Twofish cipher;
    cipher.Init(key.data(), static_cast<std::ptrdiff_t>(key.size()));
    TTwofishCore variant(crypto::kTwofishVariant);
    variant.SetKey(key.data(), key.size());
    TTwofishCore standard(crypto::kTwofishStandard);
    standard.SetKey(key.data(), key.size());
    std::vector<std::uint8_t> a = plain;
    std::vector<std::uint8_t> b = plain;
    std::vector<std::uint8_t> c = plain;
    cipher.EncryptBlock(a.data());
    variant.EncryptBlock(b.data());
    standard.EncryptBlock(c.data());
    ASSERT_EQ(ToHex(a), ToHex(b));
    ASSERT_NE(ToHex(a), ToHex(c));
    cipher.DecryptBlock(a.data());
    ASSERT_EQ(ToHex(a), ToHex(plain));
  }
}

// Known answers of the variant, computed by a separate implementation written from the
// cipher's definition (checked first against the published all-zero 128-bit vector above)
// with the two settled differences applied: 20-, 0- and 32-byte keys.
constexpr TBlockCase kVariantCases[] = {
    {"0102030405060708090A0B0C0D0E0F1011121314", "101112131415161718191A1B1C1D1E1F",
     "A537E3961CAF6DCF9448C1334B48D6ED"},
    {"", "00000000000000000000000000000000", "1C2AEAA7E1740CFC567004FC106A3E33"},
    {"000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F",
     "00000000000000000000000000000000", "73B95E37FE64E9B64413CD93C6B23D8B"},
};

TEST(TEnc_Twofish, ReproducesIndependentVariantAnswers) {
  for (const TBlockCase& c : kVariantCases) {
    SCOPED_TRACE(c.key);
    const std::vector<std::uint8_t> key = FromHex(c.key);
    crypto::TEnc_Twofish cipher;
    cipher.Init(key.data(), static_cast<std::ptrdiff_t>(key.size()));
    std::vector<std::uint8_t> block = FromHex(c.plain);
    cipher.EncryptBlock(block.data());
    EXPECT_EQ(ToHex(block), c.cipher);
    cipher.DecryptBlock(block.data());
    EXPECT_EQ(ToHex(block), c.plain);
  }
}

// Each settled difference on its own changes the cipher: neither is a no-op.
TEST(TTwofishCore, EachSettledDifferenceMatters) {
  const std::vector<std::uint8_t> key = FromHex("0123456789ABCDEFFEDCBA98765432100011223344556677");
  const crypto::TTwofishConfig configs[] = {
      crypto::kTwofishStandard,
      {8, 4, crypto::TTwofishOddSubkey::Halved},
      {15, 2, crypto::TTwofishOddSubkey::Standard},
      crypto::kTwofishVariant,
  };
  std::vector<std::string> outputs;
  for (const auto& config : configs) {
    TTwofishCore core(config);
    core.SetKey(key.data(), key.size());
    std::vector<std::uint8_t> block(16, 0);
    core.EncryptBlock(block.data());
    outputs.push_back(ToHex(block));
  }
  EXPECT_EQ(outputs[0], "CFD1D2E5A9BE9CDF501F13B892BD2248");
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    for (std::size_t j = i + 1; j < outputs.size(); ++j) {
      EXPECT_NE(outputs[i], outputs[j]) << i << " " << j;
    }
  }
}

TEST(TEnc_Twofish, KeyIsCompletedWithZerosToTheNextLength) {
  crypto_test::TRandomBytes random(17);
  struct TPair {
    std::size_t short_length;
    std::size_t full_length;
  };
  // 17 bytes and 20 bytes (the database's digest) both become 24-byte keys; 5 becomes 16.
  for (const TPair pair : {TPair{17, 24}, TPair{20, 24}, TPair{5, 16}, TPair{25, 32}}) {
    SCOPED_TRACE(pair.short_length);
    const std::vector<std::uint8_t> short_key = random.Next(pair.short_length);
    std::vector<std::uint8_t> full_key = short_key;
    full_key.resize(pair.full_length, 0);
    crypto::TEnc_Twofish a;
    crypto::TEnc_Twofish b;
    a.Init(short_key.data(), static_cast<std::ptrdiff_t>(short_key.size()));
    b.Init(full_key.data(), static_cast<std::ptrdiff_t>(full_key.size()));
    EXPECT_EQ(ToHex(a.IV()), ToHex(b.IV()));
  }
}

}  // namespace
