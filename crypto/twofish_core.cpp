#include "crypto/twofish_core.h"

#include <bit>
#include <span>

#include "platform/byte_order.h"

namespace crypto {

namespace {

// The Twofish definition (Schneier et al., "Twofish: A 128-Bit Block Cipher", 1998): the
// permutations q0 and q1 are built from these 4-bit tables t0..t3 (section 4.3.5).
constexpr std::uint8_t kQ0T[4][16] = {
    {0x8, 0x1, 0x7, 0xD, 0x6, 0xF, 0x3, 0x2, 0x0, 0xB, 0x5, 0x9, 0xE, 0xC, 0xA, 0x4},
    {0xE, 0xC, 0xB, 0x8, 0x1, 0x2, 0x3, 0x5, 0xF, 0x4, 0xA, 0x6, 0x7, 0x0, 0x9, 0xD},
    {0xB, 0xA, 0x5, 0xE, 0x6, 0xD, 0x9, 0x0, 0xC, 0x8, 0xF, 0x3, 0x2, 0x4, 0x7, 0x1},
    {0xD, 0x7, 0xF, 0x4, 0x1, 0x2, 0x6, 0xE, 0x9, 0xB, 0x3, 0x0, 0x8, 0x5, 0xC, 0xA}};
constexpr std::uint8_t kQ1T[4][16] = {
    {0x2, 0x8, 0xB, 0xD, 0xF, 0x7, 0x6, 0xE, 0x3, 0x1, 0x9, 0x4, 0x0, 0xA, 0xC, 0x5},
    {0x1, 0xE, 0x2, 0xB, 0x4, 0xC, 0x3, 0x7, 0x6, 0xD, 0xA, 0x5, 0xF, 0x9, 0x0, 0x8},
    {0x4, 0xC, 0x7, 0x5, 0x1, 0x6, 0x9, 0xA, 0x0, 0xE, 0xD, 0x8, 0x2, 0xB, 0x3, 0xF},
    {0xB, 0x9, 0x5, 0x1, 0xC, 0x3, 0xD, 0xE, 0x6, 0x4, 0x7, 0xF, 0x2, 0x0, 0x8, 0xA}};

constexpr std::uint8_t Ror4(std::uint8_t x, int n) {
  return static_cast<std::uint8_t>(((x >> n) | (x << (4 - n))) & 0xF);
}

constexpr std::array<std::uint8_t, 256> MakeQ(const std::uint8_t (&t)[4][16]) {
  std::array<std::uint8_t, 256> q{};
  for (int x = 0; x < 256; ++x) {
    std::uint8_t a0 = static_cast<std::uint8_t>(x >> 4);
    std::uint8_t b0 = static_cast<std::uint8_t>(x & 0xF);
    const auto a1 = static_cast<std::uint8_t>(a0 ^ b0);
    const auto b1 = static_cast<std::uint8_t>(a0 ^ Ror4(b0, 1) ^ ((8 * a0) & 0xF));
    const std::uint8_t a2 = t[0][a1];
    const std::uint8_t b2 = t[1][b1];
    const auto a3 = static_cast<std::uint8_t>(a2 ^ b2);
    const auto b3 = static_cast<std::uint8_t>(a2 ^ Ror4(b2, 1) ^ ((8 * a2) & 0xF));
    const std::uint8_t a4 = t[2][a3];
    const std::uint8_t b4 = t[3][b3];
    q[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>((b4 << 4) | a4);
  }
  return q;
}

constexpr std::array<std::uint8_t, 256> kQ0 = MakeQ(kQ0T);
constexpr std::array<std::uint8_t, 256> kQ1 = MakeQ(kQ1T);

// Multiplication in GF(2^8) modulo the given polynomial (MDS: 169, RS: 14D hexadecimal).
constexpr std::uint8_t GfMul(std::uint8_t a, std::uint8_t b, unsigned poly) {
  unsigned result = 0;
  unsigned x = a;
  for (int i = 0; i < 8; ++i) {
    if ((b >> i) & 1) {
      result ^= x;
    }
    x <<= 1;
    if (x & 0x100) {
      x ^= poly;
    }
  }
  return static_cast<std::uint8_t>(result);
}

constexpr unsigned kMdsPoly = 0x169;
constexpr unsigned kRsPoly = 0x14D;

constexpr std::uint8_t kMds[4][4] = {{0x01, 0xEF, 0x5B, 0x5B},
                                     {0x5B, 0xEF, 0xEF, 0x01},
                                     {0xEF, 0x5B, 0x01, 0xEF},
                                     {0xEF, 0x01, 0xEF, 0x5B}};

constexpr std::uint8_t kRs[4][8] = {{0x01, 0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E},
                                    {0xA4, 0x56, 0x82, 0xF3, 0x1E, 0xC6, 0x68, 0xE5},
                                    {0x02, 0xA1, 0xFC, 0xC1, 0x47, 0xAE, 0x3D, 0x19},
                                    {0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E, 0x03}};

// kMdsColumns[col][y]: column `col` of the MDS matrix times byte y, as a little-endian word.
constexpr std::array<std::array<std::uint32_t, 256>, 4> MakeMdsColumns() {
  std::array<std::array<std::uint32_t, 256>, 4> columns{};
  for (int col = 0; col < 4; ++col) {
    for (unsigned y = 0; y < 256; ++y) {
      std::uint32_t word = 0;
      for (int row = 0; row < 4; ++row) {
        word |= static_cast<std::uint32_t>(
                    GfMul(kMds[row][col], static_cast<std::uint8_t>(y), kMdsPoly))
                << (8 * row);
      }
      columns[static_cast<std::size_t>(col)][y] = word;
    }
  }
  return columns;
}

constexpr auto kMdsColumns = MakeMdsColumns();

std::uint32_t MdsColumn(int col, std::uint8_t y) {
  return kMdsColumns[static_cast<std::size_t>(col)][y];
}

std::uint8_t Byte(std::uint32_t word, int i) {
  return static_cast<std::uint8_t>(word >> (8 * i));
}

// The key-dependent byte permutations of h: byte i of x through the q chain with the key words
// l[0..k-1].
void HBytes(std::uint32_t x, const std::uint32_t* l, std::size_t k, std::uint8_t y[4]) {
  for (int i = 0; i < 4; ++i) {
    y[i] = Byte(x, i);
  }
  if (k == 4) {
    y[0] = kQ1[y[0]] ^ Byte(l[3], 0);
    y[1] = kQ0[y[1]] ^ Byte(l[3], 1);
    y[2] = kQ0[y[2]] ^ Byte(l[3], 2);
    y[3] = kQ1[y[3]] ^ Byte(l[3], 3);
  }
  if (k >= 3) {
    y[0] = kQ1[y[0]] ^ Byte(l[2], 0);
    y[1] = kQ1[y[1]] ^ Byte(l[2], 1);
    y[2] = kQ0[y[2]] ^ Byte(l[2], 2);
    y[3] = kQ0[y[3]] ^ Byte(l[2], 3);
  }
  y[0] = kQ1[kQ0[kQ0[y[0]] ^ Byte(l[1], 0)] ^ Byte(l[0], 0)];
  y[1] = kQ0[kQ0[kQ1[y[1]] ^ Byte(l[1], 1)] ^ Byte(l[0], 1)];
  y[2] = kQ1[kQ1[kQ0[y[2]] ^ Byte(l[1], 2)] ^ Byte(l[0], 2)];
  y[3] = kQ0[kQ1[kQ1[y[3]] ^ Byte(l[1], 3)] ^ Byte(l[0], 3)];
}

std::uint32_t H(std::uint32_t x, const std::uint32_t* l, std::size_t k) {
  std::uint8_t y[4];
  HBytes(x, l, k, y);
  return MdsColumn(0, y[0]) ^ MdsColumn(1, y[1]) ^ MdsColumn(2, y[2]) ^ MdsColumn(3, y[3]);
}

}  // namespace

void TTwofishCore::Clear() {
  k_.fill(0);
  for (auto& table : mk_) {
    table.fill(0);
  }
}

void TTwofishCore::SetKey(const std::uint8_t* key, std::size_t length) {
  std::array<std::uint8_t, kMaxKeySize> padded{};
  for (std::size_t i = 0; i < length && i < kMaxKeySize; ++i) {
    padded[i] = key[i];
  }
  const std::size_t key_bytes = length <= 16 ? 16 : (length <= 24 ? 24 : 32);
  const std::size_t k = key_bytes / 8;
  std::uint32_t me[4] = {};
  std::uint32_t mo[4] = {};
  std::uint32_t s[4] = {};
  for (std::size_t i = 0; i < k; ++i) {
    me[i] = platform::LoadLE32(padded, 8 * i);
    mo[i] = platform::LoadLE32(padded, 8 * i + 4);
    // Reed-Solomon: 8 key bytes to one S-box key word; the words are used in reverse order.
    std::uint32_t word = 0;
    for (int row = 0; row < 4; ++row) {
      std::uint8_t v = 0;
      for (std::size_t c = 0; c < 8; ++c) {
        v ^= GfMul(kRs[row][c], padded[8 * i + c], kRsPoly);
      }
      word |= static_cast<std::uint32_t>(v) << (8 * row);
    }
    s[k - 1 - i] = word;
  }

  constexpr std::uint32_t kRho = 0x01010101;
  for (std::uint32_t i = 0; i < 20; ++i) {
    const std::uint32_t a = H(2 * i * kRho, me, k);
    const std::uint32_t b = std::rotl(H((2 * i + 1) * kRho, mo, k), 8);
    k_[2 * i] = a + b;
    const std::uint32_t odd =
        config_.odd_subkey == TTwofishOddSubkey::Standard ? a + 2 * b : a + (b >> 1);
    k_[2 * i + 1] = std::rotl(odd, 9);
  }

  for (std::uint32_t x = 0; x < 256; ++x) {
    std::uint8_t y[4];
    HBytes(x * kRho, s, k, y);
    for (int col = 0; col < 4; ++col) {
      mk_[static_cast<std::size_t>(col)][x] = MdsColumn(col, y[col]);
    }
  }
  padded.fill(0);
}

void TTwofishCore::EncryptBlock(std::uint8_t* block) const {
  const std::span<std::uint8_t, kBlockSize> bytes(block, kBlockSize);
  std::uint32_t r0 = platform::LoadLE32(bytes, 0) ^ k_[0];
  std::uint32_t r1 = platform::LoadLE32(bytes, 4) ^ k_[1];
  std::uint32_t r2 = platform::LoadLE32(bytes, 8) ^ k_[2];
  std::uint32_t r3 = platform::LoadLE32(bytes, 12) ^ k_[3];
  const std::uint32_t* rk = k_.data() + 8;
  for (int j = 0; j < config_.double_rounds; ++j, rk += config_.subkey_step) {
    std::uint32_t t0 = G(r0);
    std::uint32_t t1 = G(std::rotl(r1, 8));
    r2 = std::rotr(r2 ^ (t0 + t1 + rk[0]), 1);
    r3 = std::rotl(r3, 1) ^ (t0 + 2 * t1 + rk[1]);
    t0 = G(r2);
    t1 = G(std::rotl(r3, 8));
    r0 = std::rotr(r0 ^ (t0 + t1 + rk[2]), 1);
    r1 = std::rotl(r1, 1) ^ (t0 + 2 * t1 + rk[3]);
  }
  platform::StoreLE32(bytes, 0, r2 ^ k_[4]);
  platform::StoreLE32(bytes, 4, r3 ^ k_[5]);
  platform::StoreLE32(bytes, 8, r0 ^ k_[6]);
  platform::StoreLE32(bytes, 12, r1 ^ k_[7]);
}

void TTwofishCore::DecryptBlock(std::uint8_t* block) const {
  const std::span<std::uint8_t, kBlockSize> bytes(block, kBlockSize);
  std::uint32_t r2 = platform::LoadLE32(bytes, 0) ^ k_[4];
  std::uint32_t r3 = platform::LoadLE32(bytes, 4) ^ k_[5];
  std::uint32_t r0 = platform::LoadLE32(bytes, 8) ^ k_[6];
  std::uint32_t r1 = platform::LoadLE32(bytes, 12) ^ k_[7];
  const std::uint32_t* rk = k_.data() + 8 + config_.subkey_step * (config_.double_rounds - 1);
  for (int j = config_.double_rounds - 1; j >= 0; --j, rk -= config_.subkey_step) {
    std::uint32_t t0 = G(r2);
    std::uint32_t t1 = G(std::rotl(r3, 8));
    r0 = std::rotl(r0, 1) ^ (t0 + t1 + rk[2]);
    r1 = std::rotr(r1 ^ (t0 + 2 * t1 + rk[3]), 1);
    t0 = G(r0);
    t1 = G(std::rotl(r1, 8));
    r2 = std::rotl(r2, 1) ^ (t0 + t1 + rk[0]);
    r3 = std::rotr(r3 ^ (t0 + 2 * t1 + rk[1]), 1);
  }
  platform::StoreLE32(bytes, 0, r0 ^ k_[0]);
  platform::StoreLE32(bytes, 4, r1 ^ k_[1]);
  platform::StoreLE32(bytes, 8, r2 ^ k_[2]);
  platform::StoreLE32(bytes, 12, r3 ^ k_[3]);
}

}  // namespace crypto
