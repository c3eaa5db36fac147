#pragma once
// Traditional PKWARE decryption (APPNOTE, "Traditional PKWARE Encryption"): three 32-bit keys
// set from the password and updated through the CRC-32 table with every plain byte. Used by
// the entry decoder for every entry with general purpose bit 0. Keys are wiped on destruction.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace archive {

constexpr std::size_t kEncryptionHeaderSize = 12;

class TPkwareDecrypter final {
 public:
  // Sets the keys from the password bytes, taken as they are.
  explicit TPkwareDecrypter(std::string_view password);
  ~TPkwareDecrypter();
  TPkwareDecrypter(const TPkwareDecrypter&) = delete;
  TPkwareDecrypter& operator=(const TPkwareDecrypter&) = delete;

  // Decrypts in place; the key stream runs on across calls.
  void Decrypt(std::span<std::uint8_t> data);

 private:
  void UpdateKeys(std::uint8_t plain);
  std::uint32_t key0_ = 0x12345678;  // frozen: APPNOTE initial keys
  std::uint32_t key1_ = 0x23456789;
  std::uint32_t key2_ = 0x34567890;
};

}  // namespace archive
