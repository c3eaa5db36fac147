#include "crypto/enc_blowfish.h"

#include <array>
#include <span>

#include "crypto/enc_blowfish_tables.h"
#include "platform/byte_order.h"

namespace crypto {

namespace {

constexpr int kRounds = 16;

}  // namespace

TEnc_Blowfish::TEnc_Blowfish() : TEncrypt(kSizes) {
  Wipe();
}

TEnc_Blowfish::~TEnc_Blowfish() {
  ClearSchedule();
}

void TEnc_Blowfish::ClearSchedule() {
  for (auto& box : s_) {
    box.fill(0);
  }
  p_.fill(0);
}

inline void TEnc_Blowfish::EncryptWords(std::uint32_t& left, std::uint32_t& right) const {
  std::uint32_t l = left;
  std::uint32_t r = right;
  const auto f = [this](std::uint32_t x) {
    return ((s_[0][x >> 24] + s_[1][(x >> 16) & 0xFF]) ^ s_[2][(x >> 8) & 0xFF]) + s_[3][x & 0xFF];
  };
  for (int i = 0; i < kRounds; i += 2) {
    l ^= p_[i];
    r ^= f(l);
    r ^= p_[i + 1];
    l ^= f(r);
  }
  left = r ^ p_[17];
  right = l ^ p_[16];
}

void TEnc_Blowfish::EncryptBlock(std::uint8_t* block) const {
  const std::span<std::uint8_t, 8> bytes(block, 8);
  std::uint32_t l = platform::LoadBE32(bytes, 0);
  std::uint32_t r = platform::LoadBE32(bytes, 4);
  EncryptWords(l, r);
  platform::StoreBE32(bytes, 0, l);
  platform::StoreBE32(bytes, 4, r);
}

void TEnc_Blowfish::DecryptBlock(std::uint8_t* block) const {
  const std::span<std::uint8_t, 8> bytes(block, 8);
  std::uint32_t l = platform::LoadBE32(bytes, 0);
  std::uint32_t r = platform::LoadBE32(bytes, 4);
  const auto f = [this](std::uint32_t x) {
    return ((s_[0][x >> 24] + s_[1][(x >> 16) & 0xFF]) ^ s_[2][(x >> 8) & 0xFF]) + s_[3][x & 0xFF];
  };
  for (int i = kRounds + 1; i > 1; i -= 2) {
    l ^= p_[i];
    r ^= f(l);
    r ^= p_[i - 1];
    l ^= f(r);
  }
  platform::StoreBE32(bytes, 0, r ^ p_[0]);
  platform::StoreBE32(bytes, 4, l ^ p_[1]);
}

void TEnc_Blowfish::DecryptBlocks(std::uint8_t* blocks, std::size_t count) const {
  constexpr std::size_t kWays = 4;
  const auto f = [this](std::uint32_t x) {
    return ((s_[0][x >> 24] + s_[1][(x >> 16) & 0xFF]) ^ s_[2][(x >> 8) & 0xFF]) + s_[3][x & 0xFF];
  };
  std::size_t at = 0;
  for (; at + kWays <= count; at += kWays) {
    const std::span<std::uint8_t> bytes(blocks + at * 8, kWays * 8);
    std::array<std::uint32_t, kWays> l;
    std::array<std::uint32_t, kWays> r;
    for (std::size_t w = 0; w < kWays; ++w) {
      l[w] = platform::LoadBE32(bytes, w * 8);
      r[w] = platform::LoadBE32(bytes, w * 8 + 4);
    }
    for (int i = kRounds + 1; i > 1; i -= 2) {
      for (std::size_t w = 0; w < kWays; ++w) {
        l[w] ^= p_[i];
        r[w] ^= f(l[w]);
        r[w] ^= p_[i - 1];
        l[w] ^= f(r[w]);
      }
    }
    for (std::size_t w = 0; w < kWays; ++w) {
      platform::StoreBE32(bytes, w * 8, r[w] ^ p_[0]);
      platform::StoreBE32(bytes, w * 8 + 4, l[w] ^ p_[1]);
    }
  }
  for (; at < count; ++at) {
    DecryptBlock(blocks + at * 8);
  }
}

void TEnc_Blowfish::Init(const void* key, std::ptrdiff_t length, const void* iv) {
  BeginInit(length);
  const auto* k = static_cast<const std::uint8_t*>(key);
  p_ = blowfish_tables::kPiP;
  s_ = {blowfish_tables::kPiS0, blowfish_tables::kPiS1, blowfish_tables::kPiS2,
        blowfish_tables::kPiS3};
  if (length > 0) {
    std::size_t at = 0;
    for (auto& word : p_) {
      std::uint32_t data = 0;
      for (int i = 0; i < 4; ++i) {
        data = (data << 8) | k[at];
        at = (at + 1) % static_cast<std::size_t>(length);
      }
      word ^= data;
    }
  }
  std::uint32_t l = 0;
  std::uint32_t r = 0;
  for (std::size_t i = 0; i < p_.size(); i += 2) {
    EncryptWords(l, r);
    p_[i] = l;
    p_[i + 1] = r;
  }
  for (auto& box : s_) {
    for (std::size_t i = 0; i < box.size(); i += 2) {
      EncryptWords(l, r);
      box[i] = l;
      box[i + 1] = r;
    }
  }
  EndInit(iv);
}

}  // namespace crypto
