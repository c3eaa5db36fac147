#include "crypto/enc_gost.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/crypto/botan_oracle.h"
#include "tests/crypto/test_hex.h"

namespace {

using crypto::TEnc_Gost;
using crypto_test::ToHex;

TEST(TEnc_Gost, AgreesWithBotanOnRandomKeysAndBlocks) {
  crypto_test::TRandomBytes random(28147);
  const auto botan = crypto_test::BotanCipher(crypto_test::kBotanGost);
  ASSERT_TRUE(botan);
  TEnc_Gost cipher;
  for (int round = 0; round < 200; ++round) {
    const std::vector<std::uint8_t> key = random.Next(32);
    const std::vector<std::uint8_t> plain = random.Next(8);
    SCOPED_TRACE(ToHex(key));
    cipher.Init(key.data(), 32);
    botan->set_key(key);
    std::vector<std::uint8_t> ours = plain;
    std::vector<std::uint8_t> theirs(8);
    cipher.EncryptBlock(ours.data());
    botan->encrypt(plain.data(), theirs.data());
    ASSERT_EQ(ToHex(ours), ToHex(theirs));
    cipher.DecryptBlock(ours.data());
    ASSERT_EQ(ToHex(ours), ToHex(plain));
  }
}

TEST(TEnc_Gost, ShortKeyIsCompletedWithZeroBytes) {
  crypto_test::TRandomBytes random(20);
  const std::vector<std::uint8_t> key20 = random.Next(20);
  std::vector<std::uint8_t> key32 = key20;
  key32.resize(32, 0);
  TEnc_Gost short_key;
  short_key.Init(key20.data(), 20);
  const auto botan = crypto_test::BotanCipher(crypto_test::kBotanGost);
  ASSERT_TRUE(botan);
  botan->set_key(key32);
  const std::vector<std::uint8_t> plain = random.Next(8);
  std::vector<std::uint8_t> ours = plain;
  std::vector<std::uint8_t> theirs(8);
  short_key.EncryptBlock(ours.data());
  botan->encrypt(plain.data(), theirs.data());
  EXPECT_EQ(ToHex(ours), ToHex(theirs));
}

}  // namespace
