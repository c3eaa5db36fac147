#pragma once
// CRC-32 as zlib and ZIP define it (reflected, polynomial EDB88320), as a hash object and as
// the one-call BufferCrc32 with which the database checks BLOB data it has written.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "crypto/hash.h"

namespace crypto {

// State word: FFFFFFFF after Reset, updated per byte, inverted by Finish. The digest is the
// finished value, least significant byte first.
class THash_CRC32 final : public THash {
 public:
  static constexpr std::size_t kDigestSize = 4;

  THash_CRC32() { Reset(); }
  ~THash_CRC32() override { digest_.fill(0); }

  void Reset() override;
  void Finish() override;
  std::span<const std::uint8_t> Digest() const override { return digest_; }
  std::span<std::uint8_t> MutableDigest() override { return digest_; }
  std::size_t DigestSize() const override { return kDigestSize; }

 protected:
  void UpdateBytes(std::span<const std::uint8_t> bytes) override;

 private:
  // Kept inverted relative to zlib's running value (zlib's crc32 takes and returns the
  // finished form), so that the state follows the FFFFFFFF / invert-at-end rule.
  std::uint32_t state_ = 0xFFFFFFFF;
  std::array<std::uint8_t, kDigestSize> digest_{};
};

// The CRC-32 of `length` bytes at `buffer` (0 for an empty buffer).
std::uint32_t BufferCrc32(const void* buffer, std::size_t length);

}  // namespace crypto
