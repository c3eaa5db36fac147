#include "platform/byte_order.h"

#include <array>
#include <cstdint>

#include <gtest/gtest.h>

namespace {

TEST(ByteOrder, StoresLittleEndianBytes) {
  std::array<std::uint8_t, 8> bytes{};
  platform::StoreLE32(bytes, 0, 0x04030201u);
  platform::StoreLE16(bytes, 4, 0x0605u);
  EXPECT_EQ(bytes, (std::array<std::uint8_t, 8>{1, 2, 3, 4, 5, 6, 0, 0}));
  EXPECT_EQ(platform::LoadLE32(bytes, 1), 0x05040302u);
  platform::StoreLE64(bytes, 0, 0x8877665544332211ull);
  EXPECT_EQ(bytes[0], 0x11);
  EXPECT_EQ(bytes[7], 0x88);
  EXPECT_EQ(platform::LoadLE64(bytes, 0), 0x8877665544332211ull);
}

TEST(ByteOrder, BigEndianWordsRoundTrip) {
  std::array<std::uint8_t, 4> bytes{};
  platform::StoreBE32(bytes, 0, 0x01020304u);
  EXPECT_EQ(bytes, (std::array<std::uint8_t, 4>{1, 2, 3, 4}));
  EXPECT_EQ(platform::LoadBE32(bytes, 0), 0x01020304u);
}

}  // namespace
