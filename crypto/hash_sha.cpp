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

// Word t of the message schedule, kept in a rolling window of 16 words.
inline std::uint32_t W(std::uint32_t* w, std::size_t t) {
  if (t >= 16) {
    w[t & 15] = w[(t - 3) & 15] ^ w[(t - 8) & 15] ^ w[(t - 14) & 15] ^ w[t & 15];
  }
  return w[t & 15];
}

// One step of quarter `kQuarter` (0..3): the round function and constant of steps 20q..20q+19.
template <int kQuarter>
inline void Step(std::uint32_t a, std::uint32_t& b, std::uint32_t c, std::uint32_t d,
                 std::uint32_t& e, std::uint32_t wt) {
  std::uint32_t f;
  std::uint32_t k;
  if constexpr (kQuarter == 0) {
    f = d ^ (b & (c ^ d));
    k = kK0;
  } else if constexpr (kQuarter == 1) {
    f = b ^ c ^ d;
    k = kK1;
  } else if constexpr (kQuarter == 2) {
    f = (b & c) | (d & (b | c));
    k = kK2;
  } else {
    f = b ^ c ^ d;
    k = kK3;
  }
  e += std::rotl(a, 5) + f + k + wt;
  b = std::rotl(b, 30);
}

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
  std::uint32_t w[16];
  for (std::size_t t = 0; t < 16; ++t) {
    w[t] = platform::LoadBE32(block, 4 * t);
  }
  std::uint32_t a = state_[0];
  std::uint32_t b = state_[1];
  std::uint32_t c = state_[2];
  std::uint32_t d = state_[3];
  std::uint32_t e = state_[4];
  // Steps in the classic form with the roles of the words rotated, so that no word is copied.
  std::size_t t = 0;
  for (; t < 20; t += 5) {
    Step<0>(a, b, c, d, e, W(w, t));
    Step<0>(e, a, b, c, d, W(w, t + 1));
    Step<0>(d, e, a, b, c, W(w, t + 2));
    Step<0>(c, d, e, a, b, W(w, t + 3));
    Step<0>(b, c, d, e, a, W(w, t + 4));
  }
  for (; t < 40; t += 5) {
    Step<1>(a, b, c, d, e, W(w, t));
    Step<1>(e, a, b, c, d, W(w, t + 1));
    Step<1>(d, e, a, b, c, W(w, t + 2));
    Step<1>(c, d, e, a, b, W(w, t + 3));
    Step<1>(b, c, d, e, a, W(w, t + 4));
  }
  for (; t < 60; t += 5) {
    Step<2>(a, b, c, d, e, W(w, t));
    Step<2>(e, a, b, c, d, W(w, t + 1));
    Step<2>(d, e, a, b, c, W(w, t + 2));
    Step<2>(c, d, e, a, b, W(w, t + 3));
    Step<2>(b, c, d, e, a, W(w, t + 4));
  }
  for (; t < 80; t += 5) {
    Step<3>(a, b, c, d, e, W(w, t));
    Step<3>(e, a, b, c, d, W(w, t + 1));
    Step<3>(d, e, a, b, c, W(w, t + 2));
    Step<3>(c, d, e, a, b, W(w, t + 3));
    Step<3>(b, c, d, e, a, W(w, t + 4));
  }
  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
  state_[4] += e;
}

}  // namespace crypto
