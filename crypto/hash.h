#pragma once
// The hash framework: a message digest or checksum fed in pieces, and its text forms. The
// database uses THash_SHA for its password check text and cipher keys and THash_CRC32 for its
// BLOB read-back check; HashText is the one-call form of a digest as text.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace crypto {

// Digest text formats of THash::DigestText.
inline constexpr int kDigestTextDefault = 0;  // the same as kDigestText64
inline constexpr int kDigestTextHex = 16;
inline constexpr int kDigestText64 = 64;

// Base of every hash. Between calls the object holds either a digest in progress (after
// Reset or Update) or a finished digest (after Finish, readable through Digest). The digest
// bytes are zeroed when the object is destroyed.
class THash {
 public:
  THash() = default;
  THash(const THash&) = delete;
  THash& operator=(const THash&) = delete;
  virtual ~THash() = default;

  // Starts a new digest.
  virtual void Reset() = 0;
  // Adds `length` bytes at `data`; nothing happens when length <= 0.
  void Update(const void* data, std::ptrdiff_t length);
  void Update(std::span<const std::uint8_t> bytes) {
    Update(bytes.data(), static_cast<std::ptrdiff_t>(bytes.size()));
  }
  // Completes the digest; Digest() then holds it until the next Reset.
  virtual void Finish() = 0;
  // The digest bytes, DigestSize() of them; meaningful after Finish.
  virtual std::span<const std::uint8_t> Digest() const = 0;
  // Writable digest bytes, for callers that transform the digest in place (cipher keying).
  virtual std::span<std::uint8_t> MutableDigest() = 0;
  virtual std::size_t DigestSize() const = 0;

  // The finished digest as text: 0 or kDigestText64 the digest text form (EncodeDigest64),
  // kDigestTextHex upper-case hexadecimal, any other value the raw digest bytes.
  std::string DigestText(int format = kDigestTextDefault) const;

 protected:
  // Adds a non-empty run of bytes.
  virtual void UpdateBytes(std::span<const std::uint8_t> bytes) = 0;
};

// The digest text form: the 64-character alphabet of Base64 without its trailing zero digits.
// Each group of three bytes (the last one completed with zeros) is a 24-bit value whose
// 6-bit digits are written from the most significant one until only zero digits remain; then
// "==" when the byte count leaves 1 modulo 3, "=" when it leaves 2. Stored password check
// texts are in this form, so it must not become standard Base64.
std::string EncodeDigest64(std::span<const std::uint8_t> bytes);

// Upper-case hexadecimal, most significant nibble first.
std::string EncodeDigestHex(std::span<const std::uint8_t> bytes);

// Resets `hash`, adds the bytes of `text` (its single-byte characters, no terminator),
// finishes and returns DigestText(0). When `digest_copy` is given it receives the digest bytes.
std::string HashTextWith(THash& hash, std::string_view text,
                         std::vector<std::uint8_t>* digest_copy = nullptr);

// The same with a fresh object of the hash class THashClass, freed afterwards:
// HashText<THash_SHA>(password) is the password check text.
template <class THashClass>
std::string HashText(std::string_view text, std::vector<std::uint8_t>* digest_copy = nullptr) {
  THashClass hash;
  return HashTextWith(hash, text, digest_copy);
}

}  // namespace crypto
