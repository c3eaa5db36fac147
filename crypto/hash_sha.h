#pragma once
// SHA-0: the Secure Hash Standard's algorithm without the one-bit rotation in the message
// schedule. The database's password check texts and cipher keys are SHA-0 digests, so files
// written by the product can only be opened if this stays SHA-0.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "crypto/hash.h"

namespace crypto {

// Buffered: bytes collect in a 64-byte block, every full block is compressed, so a message
// gives the same digest however it is split among Update calls.
class THash_SHA final : public THash {
 public:
  static constexpr std::size_t kDigestSize = 20;
  static constexpr std::size_t kBlockSize = 64;

  THash_SHA() { Reset(); }
  ~THash_SHA() override;

  void Reset() override;
  void Finish() override;
  std::span<const std::uint8_t> Digest() const override { return digest_; }
  std::span<std::uint8_t> MutableDigest() override { return digest_; }
  std::size_t DigestSize() const override { return kDigestSize; }

 protected:
  void UpdateBytes(std::span<const std::uint8_t> bytes) override;

 private:
  void CompressBlock(std::span<const std::uint8_t, kBlockSize> block);

  std::array<std::uint32_t, 5> state_{};
  std::array<std::uint8_t, kBlockSize> block_{};
  std::size_t block_used_ = 0;       // bytes of block_ filled, 0..63 between calls
  std::uint64_t message_bytes_ = 0;  // bytes added since Reset
  std::array<std::uint8_t, kDigestSize> digest_{};
};

}  // namespace crypto
