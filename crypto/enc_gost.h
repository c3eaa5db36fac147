#pragma once
// The GOST 28147-89 block cipher (32 rounds, 64-bit block, 256-bit key) with the S-boxes of the
// test parameter set published with GOST R 34.11-94, registered as "Gost". Its round function
// is four 256-entry tables, each combining two S-boxes with the rotation by 11.

#include <array>
#include <cstdint>
#include <string_view>

#include "crypto/encrypt.h"

namespace crypto {

// N1 is block bytes 0-3, N2 bytes 4-7, least significant byte first; key words likewise. A
// short key is completed with zero bytes, so a 20-byte key has K5 = K6 = K7 = 0.
class TEnc_Gost final : public TEncrypt {
 public:
  static constexpr TCipherSizes kSizes{8, 32, 32};

  TEnc_Gost();
  ~TEnc_Gost() override;

  std::string_view ClassName() const override { return "TEnc_Gost"; }
  void EncryptBlock(std::uint8_t* block) const override;
  void DecryptBlock(std::uint8_t* block) const override;
  void Init(const void* key, std::ptrdiff_t length, const void* iv = nullptr) override;

 protected:
  void ClearSchedule() override { key_.fill(0); }

 private:
  std::array<std::uint32_t, 8> key_{};  // K0..K7
};

}  // namespace crypto
