#include "crypto/enc_blowfish.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/crypto/botan_oracle.h"
#include "tests/crypto/test_hex.h"

namespace {

using crypto::TEnc_Blowfish;
using crypto_test::FromHex;
using crypto_test::ToHex;

struct TBlockCase {
  const char* key;
  const char* plain;
  const char* cipher;
};

// Eric Young's published Blowfish test vectors (ecb_data and the variable key-length set of
// the reference test file), and the designer's "Who is John Galt?" example key
// "abcdefghijklmnopqrstuvwxyz" with the block "BLOWFISH".
constexpr TBlockCase kBlowfishCases[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677", "FEDCBA9876543210", "05044B62FA52D080"},
    {"6162636465666768696A6B6C6D6E6F707172737475767778797A", "424C4F5746495348",
     "324ED0FEF413A203"},
};

TEST(TEnc_Blowfish, ReproducesPublishedVectors) {
  for (const TBlockCase& c : kBlowfishCases) {
    SCOPED_TRACE(c.key);
    const std::vector<std::uint8_t> key = FromHex(c.key);
    TEnc_Blowfish cipher;
    cipher.Init(key.data(), static_cast<std::ptrdiff_t>(key.size()));
    std::vector<std::uint8_t> block = FromHex(c.plain);
    cipher.EncryptBlock(block.data());
    EXPECT_EQ(ToHex(block), c.cipher);
    cipher.DecryptBlock(block.data());
    EXPECT_EQ(ToHex(block), c.plain);
  }
}

TEST(TEnc_Blowfish, AgreesWithBotanOnRandomKeysAndBlocks) {
  crypto_test::TRandomBytes random(1993);
  const auto botan = crypto_test::BotanCipher("Blowfish");
  ASSERT_TRUE(botan);
  TEnc_Blowfish cipher;
  for (int round = 0; round < 200; ++round) {
    // Lengths 1..56, with the 20 bytes of the database's keys always among them.
    const std::size_t length = round % 4 == 0 ? 20 : random.Between(1, 56);
    const std::vector<std::uint8_t> key = random.Next(length);
    const std::vector<std::uint8_t> plain = random.Next(8);
    SCOPED_TRACE(ToHex(key));
    cipher.Init(key.data(), static_cast<std::ptrdiff_t>(key.size()));
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

TEST(TEnc_Blowfish, KeyLongerThanItsLargestIsCut) {
  crypto_test::TRandomBytes random(7);
  const std::vector<std::uint8_t> key = random.Next(70);
  TEnc_Blowfish long_key;
  TEnc_Blowfish cut_key;
  long_key.Init(key.data(), 70);
  cut_key.Init(key.data(), 56);
  std::vector<std::uint8_t> a(8, 0x5A);
  std::vector<std::uint8_t> b(8, 0x5A);
  long_key.EncryptBlock(a.data());
  cut_key.EncryptBlock(b.data());
  EXPECT_EQ(a, b);
  EXPECT_EQ(ToHex(long_key.IV()), ToHex(cut_key.IV()));
}

}  // namespace
