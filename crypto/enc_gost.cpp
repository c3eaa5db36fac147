#include "crypto/enc_gost.h"

#include <bit>
#include <cstring>
#include <span>

#include "platform/byte_order.h"

namespace crypto {

namespace {

// S-boxes of the test parameter set published with GOST R 34.11-94 (S1 for the least
// significant nibble). Frozen: stored data depends on them.
constexpr std::uint8_t kSBox[8][16] = {
    {4, 10, 9, 2, 13, 8, 0, 14, 6, 11, 1, 12, 7, 15, 5, 3},
    {14, 11, 4, 12, 6, 13, 15, 10, 2, 3, 8, 1, 0, 7, 5, 9},
    {5, 8, 1, 13, 10, 3, 4, 2, 14, 15, 12, 7, 6, 0, 9, 11},
    {7, 13, 10, 1, 0, 8, 9, 15, 14, 4, 6, 12, 11, 2, 5, 3},
    {6, 12, 7, 1, 5, 15, 13, 8, 4, 10, 9, 14, 0, 3, 11, 2},
    {4, 11, 10, 0, 7, 2, 1, 13, 3, 6, 8, 5, 9, 12, 15, 14},
    {13, 11, 4, 1, 3, 15, 5, 9, 0, 10, 14, 7, 6, 8, 2, 12},
    {1, 15, 13, 0, 5, 7, 10, 4, 9, 2, 3, 14, 6, 11, 8, 12},
};

using TGostTables = std::array<std::array<std::uint32_t, 256>, 4>;

// tables[i][x]: byte x in position i of the word through S-boxes 2i+1 and 2i+2, then the
// rotation by 11; f(x) is the XOR of the four lookups.
constexpr TGostTables MakeTables() {
  TGostTables tables{};
  for (std::size_t i = 0; i < 4; ++i) {
    for (std::size_t x = 0; x < 256; ++x) {
      const std::uint32_t sub =
          static_cast<std::uint32_t>(kSBox[2 * i][x & 0xF] | (kSBox[2 * i + 1][x >> 4] << 4));
      tables[i][x] = std::rotl(sub << (8 * i), 11);
    }
  }
  return tables;
}

constexpr TGostTables kTables = MakeTables();

inline std::uint32_t F(std::uint32_t x) {
  return kTables[0][x & 0xFF] ^ kTables[1][(x >> 8) & 0xFF] ^ kTables[2][(x >> 16) & 0xFF] ^
         kTables[3][x >> 24];
}

}  // namespace

TEnc_Gost::TEnc_Gost() : TEncrypt(kSizes) {
  Wipe();
}

TEnc_Gost::~TEnc_Gost() {
  key_.fill(0);
}

void TEnc_Gost::Init(const void* key, std::ptrdiff_t length, const void* iv) {
  BeginInit(length);
  std::array<std::uint8_t, 32> bytes{};
  if (length > 0) {
    std::memcpy(bytes.data(), key, static_cast<std::size_t>(length));
  }
  for (std::size_t i = 0; i < key_.size(); ++i) {
    key_[i] = platform::LoadLE32(bytes, 4 * i);
  }
  bytes.fill(0);
  EndInit(iv);
}

void TEnc_Gost::EncryptBlock(std::uint8_t* block) const {
  const std::span<std::uint8_t, 8> bytes(block, 8);
  std::uint32_t n1 = platform::LoadLE32(bytes, 0);
  std::uint32_t n2 = platform::LoadLE32(bytes, 4);
  const auto& k = key_;
  for (int pass = 0; pass < 3; ++pass) {
    for (std::size_t i = 0; i < 8; i += 2) {
      n2 ^= F(n1 + k[i]);
      n1 ^= F(n2 + k[i + 1]);
    }
  }
  for (std::size_t i = 8; i > 0; i -= 2) {
    n2 ^= F(n1 + k[i - 1]);
    n1 ^= F(n2 + k[i - 2]);
  }
  platform::StoreLE32(bytes, 0, n2);
  platform::StoreLE32(bytes, 4, n1);
}

void TEnc_Gost::DecryptBlock(std::uint8_t* block) const {
  const std::span<std::uint8_t, 8> bytes(block, 8);
  std::uint32_t n1 = platform::LoadLE32(bytes, 0);
  std::uint32_t n2 = platform::LoadLE32(bytes, 4);
  const auto& k = key_;
  for (std::size_t i = 0; i < 8; i += 2) {
    n2 ^= F(n1 + k[i]);
    n1 ^= F(n2 + k[i + 1]);
  }
  for (int pass = 0; pass < 3; ++pass) {
    for (std::size_t i = 8; i > 0; i -= 2) {
      n2 ^= F(n1 + k[i - 1]);
      n1 ^= F(n2 + k[i - 2]);
    }
  }
  platform::StoreLE32(bytes, 0, n2);
  platform::StoreLE32(bytes, 4, n1);
}

}  // namespace crypto
