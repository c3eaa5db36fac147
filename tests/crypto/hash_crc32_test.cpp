#include "crypto/hash_crc32.h"

#include <botan/hash.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/byte_order.h"
#include "tests/crypto/test_hex.h"

namespace {

using crypto::BufferCrc32;
using crypto::THash_CRC32;

TEST(THash_CRC32, ComputesTheStandardCheckValue) {
  // The CRC-32 check value for "123456789" (zlib, ZIP, ISO-HDLC catalogue entry): CBF43926.
  EXPECT_EQ(BufferCrc32("123456789", 9), 0xCBF43926u);
  EXPECT_EQ(BufferCrc32("", 0), 0u);

  THash_CRC32 hash;
  hash.Update("123456789", 9);
  hash.Finish();
  EXPECT_EQ(crypto_test::ToHex(hash.Digest()), "2639F4CB");  // least significant byte first
}

TEST(THash_CRC32, AgreesWithBotanOverLargeAndSplitInput) {
  std::vector<std::uint8_t> data(65536 + 17);
  for (std::size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<std::uint8_t>((i * 2654435761u) >> 13);
  }
  for (const std::size_t length : {std::size_t{65536}, data.size()}) {
    SCOPED_TRACE(length);
    const std::unique_ptr<Botan::HashFunction> botan = Botan::HashFunction::create("CRC32");
    ASSERT_TRUE(botan);
    botan->update(data.data(), length);
    const auto expected = botan->final();  // Botan writes the value most significant byte first
    const std::uint32_t expected_value = platform::LoadBE32(expected, 0);
    EXPECT_EQ(BufferCrc32(data.data(), length), expected_value);

    THash_CRC32 split;
    for (std::size_t at = 0; at < length; at += 1000) {
      split.Update(data.data() + at,
                   static_cast<std::ptrdiff_t>(std::min<std::size_t>(1000, length - at)));
    }
    split.Finish();
    EXPECT_EQ(platform::LoadLE32(split.Digest(), 0), expected_value);
  }
}

}  // namespace
