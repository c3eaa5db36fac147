#include "crypto/hash_sha.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/byte_order.h"

namespace crypto {

namespace {

// Secure Hash Standard (FIPS 180): initial state and round constants.
constexpr std::array<std::uint32_t, 5> kInitialState = {0x67452301, 0xEFCDAB89, 0x98BADCFE,
                                                        0x10325476, 0xC3D2E1F0};
constexpr std::uint32_t kK0 = 0x5A827999;
constexpr std::uint32_t kK1 = 0x6ED9EBA1;
constexpr std::uint32_t kK2 = 0x8F1BBCDC;
constexpr std::uint32_t kK3 = 0xCA62C1D6;

}  // namespace

THash_SHA::~THash_SHA() {
  digest_.fill(0);
  block_.fill(0);
  state_.fill(0);
}

void THash_SHA::Reset() {
  state_ = kInitialState;
  block_.fill(0);
  block_used_ = 0;
  message_bytes_ = 0;
  digest_.fill(0);
}

void THash_SHA::UpdateBytes(std::span<const std::uint8_t> bytes) {
  message_bytes_ += bytes.size();
  if (block_used_ > 0) {
    const std::size_t n = std::min(bytes.size(), kBlockSize - block_used_);
    std::memcpy(block_.data() + block_used_, bytes.data(), n);
    block_used_ += n;
    bytes = bytes.subspan(n);
    if (block_used_ < kBlockSize) {
      return;
    }
    CompressBlock(block_);
    block_used_ = 0;
  }
  while (bytes.size() >= kBlockSize) {
    CompressBlock(bytes.first<kBlockSize>());
    bytes = bytes.subspan(kBlockSize);
  }
  if (!bytes.empty()) {
    std::memcpy(block_.data(), bytes.data(), bytes.size());
    block_used_ = bytes.size();
  }
}

void THash_SHA::Finish() {
  const std::uint64_t bit_length = message_bytes_ * 8;
  block_[block_used_++] = 0x80;
  if (block_used_ > kBlockSize - 8) {
    std::fill(block_.begin() + static_cast<std::ptrdiff_t>(block_used_), block_.end(), 0);
    CompressBlock(block_);
    block_used_ = 0;
  }
  std::fill(block_.begin() + static_cast<std::ptrdiff_t>(block_used_), block_.end() - 8, 0);
  platform::StoreBE32(block_, kBlockSize - 8, static_cast<std::uint32_t>(bit_length >> 32));
  platform::StoreBE32(block_, kBlockSize - 4, static_cast<std::uint32_t>(bit_length));
  CompressBlock(block_);
  block_used_ = 0;
  for (std::size_t i = 0; i < state_.size(); ++i) {
    platform::StoreBE32(digest_, 4 * i, state_[i]);
  }
}

void THash_SHA::CompressBlock(std::span<const std::uint8_t, kBlockSize> block) {
  // W[t] = W[t-3] ^ W[t-8] ^ W[t-14] ^ W[t-16], with no rotation: this is what makes it
  // SHA-0 rather than SHA-1.
  std::uint32_t w[80];
  for (std::size_t t = 0; t < 16; ++t) {
    w[t] = platform::LoadBE32(block, 4 * t);
  }
  for (std::size_t t = 16; t < 80; ++t) {
    w[t] = w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16];
  }
  std::uint32_t a = state_[0];
  std::uint32_t b = state_[1];
  std::uint32_t c = state_[2];
  std::uint32_t d = state_[3];
  std::uint32_t e = state_[4];
  // Five steps at a time with the roles of the words rotated, so that no word is copied.
  const auto f0 = [](std::uint32_t x, std::uint32_t y, std::uint32_t z) {
    return z ^ (x & (y ^ z));
  };
  const auto f1 = [](std::uint32_t x, std::uint32_t y, std::uint32_t z) { return x ^ y ^ z; };
  const auto f2 = [](std::uint32_t x, std::uint32_t y, std::uint32_t z) {
    return (x & y) | (z & (x | y));
  };
  const auto steps5 = [&](auto f, std::uint32_t k, std::size_t t) {
    e += std::rotl(a, 5) + f(b, c, d) + k + w[t];
    b = std::rotl(b, 30);
    d += std::rotl(e, 5) + f(a, b, c) + k + w[t + 1];
    a = std::rotl(a, 30);
    c += std::rotl(d, 5) + f(e, a, b) + k + w[t + 2];
    e = std::rotl(e, 30);
    b += std::rotl(c, 5) + f(d, e, a) + k + w[t + 3];
    d = std::rotl(d, 30);
    a += std::rotl(b, 5) + f(c, d, e) + k + w[t + 4];
    c = std::rotl(c, 30);
  };
  for (std::size_t t = 0; t < 20; t += 5) {
    steps5(f0, kK0, t);
  }
  for (std::size_t t = 20; t < 40; t += 5) {
    steps5(f1, kK1, t);
  }
  for (std::size_t t = 40; t < 60; t += 5) {
    steps5(f2, kK2, t);
  }
  for (std::size_t t = 60; t < 80; t += 5) {
    steps5(f1, kK3, t);
  }
  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
  state_[4] += e;
}

}  // namespace crypto
