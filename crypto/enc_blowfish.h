#pragma once
// Blowfish (16 rounds, 64-bit block, keys of up to 56 bytes), registered as "Blowfish". Its
// round function is table lookups in the four key-dependent S-boxes.

#include <array>
#include <cstdint>
#include <string_view>

#include "crypto/encrypt.h"

namespace crypto {

// Block bytes 0-3 are the left word, 4-7 the right word, most significant byte first.
class TEnc_Blowfish final : public TEncrypt {
 public:
  static constexpr TCipherSizes kSizes{8, 56, 4168};

  TEnc_Blowfish();
  ~TEnc_Blowfish() override;

  std::string_view ClassName() const override { return "TEnc_Blowfish"; }
  void EncryptBlock(std::uint8_t* block) const override;
  void DecryptBlock(std::uint8_t* block) const override;
  // Four blocks at a time, their rounds interleaved.
  void DecryptBlocks(std::uint8_t* blocks, std::size_t count) const override;
  // Key bytes are used cyclically with the period of `length`; an empty key leaves the
  // P-array at its initial value.
  void Init(const void* key, std::ptrdiff_t length, const void* iv = nullptr) override;

 protected:
  void ClearSchedule() override;

 private:
  void EncryptWords(std::uint32_t& left, std::uint32_t& right) const;

  std::array<std::array<std::uint32_t, 256>, 4> s_{};  // S-boxes
  std::array<std::uint32_t, 18> p_{};                  // P-array
};

}  // namespace crypto
