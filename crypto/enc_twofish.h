#pragma once
// The Twofish cipher as stored databases require it, registered as "Twofish": Twofish's tables,
// key schedule and round function, but 30 rounds with consecutive double rounds sharing a
// subkey pair, and odd subkeys ROL(A + (B >> 1), 9). Files written by the product depend on
// both differences, so the published Twofish vectors do not apply here (see twofish_core.h).

#include <cstdint>
#include <string_view>

#include "crypto/encrypt.h"
#include "crypto/twofish_core.h"

namespace crypto {

class TEnc_Twofish final : public TEncrypt {
 public:
  static constexpr TCipherSizes kSizes{16, 32, 4256};

  TEnc_Twofish();
  ~TEnc_Twofish() override;

  std::string_view ClassName() const override { return "TEnc_Twofish"; }
  void EncryptBlock(std::uint8_t* block) const override { core_.EncryptBlock(block); }
  void DecryptBlock(std::uint8_t* block) const override { core_.DecryptBlock(block); }
  // The key is completed with zero bytes to 16, 24 or 32 bytes (a 20-byte digest gives 24).
  void Init(const void* key, std::ptrdiff_t length, const void* iv = nullptr) override;

 protected:
  void ClearSchedule() override { core_.Clear(); }

 private:
  TTwofishCore core_{kTwofishVariant};
};

}  // namespace crypto
