#include "crypto/enc_twofish.h"

namespace crypto {

TEnc_Twofish::TEnc_Twofish() : TEncrypt(kSizes) {
  Wipe();
}

TEnc_Twofish::~TEnc_Twofish() {
  core_.Clear();
}

void TEnc_Twofish::Init(const void* key, std::ptrdiff_t length, const void* iv) {
  BeginInit(length);
  core_.SetKey(static_cast<const std::uint8_t*>(key), static_cast<std::size_t>(length));
  EndInit(iv);
}

}  // namespace crypto
