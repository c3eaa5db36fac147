#include "crypto/encrypt.h"

#include <algorithm>
#include <cstring>

#include "crypto/crypto_errors.h"
#include "crypto/hash_sha.h"

namespace crypto {

namespace {

// Feedback and IV of a wiped cipher: the initial vector is derived by enciphering this.
constexpr std::uint8_t kWipedIvByte = 0xFF;

void XorInto(std::uint8_t* target, const std::uint8_t* a, const std::uint8_t* b, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    target[i] = static_cast<std::uint8_t>(a[i] ^ b[i]);
  }
}

}  // namespace

TEncrypt::TEncrypt(const TCipherSizes& sizes)
    : sizes_(sizes),
      scratch_(sizes.block_size, 0),
      iv_(sizes.block_size, kWipedIvByte),
      feedback_(sizes.block_size, kWipedIvByte) {}

TEncrypt::~TEncrypt() {
  // The subclass's destructor has already run, so only the state held here is wiped; each
  // cipher clears its own schedule in its destructor.
  flags_ = 0;
  std::fill(iv_.begin(), iv_.end(), 0);
  std::fill(feedback_.begin(), feedback_.end(), 0);
  std::fill(scratch_.begin(), scratch_.end(), 0);
  run_.fill(0);
}

void TEncrypt::DecryptBlocks(std::uint8_t* blocks, std::size_t count) const {
  for (std::size_t i = 0; i < count; ++i) {
    DecryptBlock(blocks + i * sizes_.block_size);
  }
}

void TEncrypt::SetFlag(std::uint32_t bit, bool on) {
  if (on) {
    flags_ |= bit;
  } else {
    flags_ &= ~bit;
  }
}

void TEncrypt::SetMode(std::uint8_t mode) {
  if (mode > static_cast<std::uint8_t>(TCipherMode::ECB)) {
    RaiseInvalidMode(mode);
  }
  mode_ = mode;
}

void TEncrypt::Wipe() {
  flags_ &= ~(kFlagKeyedFromPassword | kFlagInitialized);
  std::fill(iv_.begin(), iv_.end(), kWipedIvByte);
  std::fill(feedback_.begin(), feedback_.end(), kWipedIvByte);
  std::fill(scratch_.begin(), scratch_.end(), 0);
  run_.fill(0);
  ClearSchedule();
}

void TEncrypt::ResetFeedback() {
  std::copy(iv_.begin(), iv_.end(), feedback_.begin());
}

void TEncrypt::BeginInit(std::ptrdiff_t& length) {
  SetFlag(kFlagInitialized, false);
  Wipe();
  if (length < 0) {
    length = 0;
  }
  if (static_cast<std::size_t>(length) > sizes_.key_size) {
    length = static_cast<std::ptrdiff_t>(sizes_.key_size);
  }
}

void TEncrypt::EndInit(const void* iv) {
  if (iv != nullptr) {
    std::memcpy(iv_.data(), iv, iv_.size());
  } else {
    EncryptBlock(iv_.data());
  }
  ResetFeedback();
  SetFlag(kFlagInitialized, true);
}

void TEncrypt::InitKey(std::string_view password, const void* iv) {
  if (!hash_) {
    hash_ = std::make_unique<THash_SHA>();
  }
  hash_->Reset();
  hash_->Update(password.data(), static_cast<std::ptrdiff_t>(password.size()));
  hash_->Finish();
  const std::span<std::uint8_t> digest = hash_->MutableDigest();
  Init(digest.data(), static_cast<std::ptrdiff_t>(std::min(sizes_.key_size, digest.size())), iv);
  // The digest left in the hash object is overwritten by its enciphered form, so the key
  // bytes do not stay readable there.
  EncodeBuffer(digest.data(), digest.data(), digest.size());
  ResetFeedback();
  SetFlag(kFlagKeyedFromPassword, true);
}

void TEncrypt::CheckInitialized() const {
  if ((flags_ & kFlagInitialized) == 0) {
    RaiseNotInitialized(ClassName());
  }
}

void TEncrypt::EncodeBuffer(const void* source, void* target, std::size_t length) {
  CheckInitialized();
  Transform<true>(static_cast<const std::uint8_t*>(source), static_cast<std::uint8_t*>(target),
                  length);
}

void TEncrypt::DecodeBuffer(const void* source, void* target, std::size_t length) {
  CheckInitialized();
  Transform<false>(static_cast<const std::uint8_t*>(source), static_cast<std::uint8_t*>(target),
                   length);
}

template <bool kEncode>
void TEncrypt::Transform(const std::uint8_t* source, std::uint8_t* target, std::size_t length) {
  if (length == 0) {
    return;
  }
  const std::size_t b = sizes_.block_size;
  std::uint8_t* const f = feedback_.data();
  std::uint8_t* const t = scratch_.data();
  const std::size_t full = length - length % b;
  const std::size_t tail = length - full;
  const auto mode = static_cast<TCipherMode>(mode_);

  switch (mode) {
    case TCipherMode::CTS:
    case TCipherMode::CBC: {
      for (std::size_t at = 0; at < full; at += b) {
        if constexpr (kEncode) {
          XorInto(t, source + at, f, b);  // t = P ^ F
          EncryptBlock(t);                // t = C
          if (mode == TCipherMode::CTS) {
            XorInto(f, t, f, b);  // F := C ^ F
          } else {
            std::memcpy(f, t, b);  // F := C
          }
          std::memcpy(target + at, t, b);
        } else {
          // The blocks of a run are deciphered together (D(C) needs no feedback), then
          // chained one by one; each C is read before its plain block is written, so source
          // may be target.
          if (at % kDecodeRun == 0) {
            const std::size_t run = std::min(kDecodeRun, full - at);
            std::memcpy(run_.data(), source + at, run);
            DecryptBlocks(run_.data(), run / b);
          }
          std::uint8_t* const d = run_.data() + at % kDecodeRun;
          std::memcpy(t, source + at, b);  // t = C
          XorInto(target + at, d, f, b);   // P = D(C) ^ F
          if (mode == TCipherMode::CTS) {
            XorInto(f, t, f, b);  // F := C ^ F
          } else {
            std::memcpy(f, t, b);  // F := C
          }
        }
      }
      if constexpr (!kEncode) {
        std::fill_n(run_.begin(), std::min(kDecodeRun, full), std::uint8_t{0});
      }
      if (tail > 0) {
        std::memcpy(t, f, b);
        EncryptBlock(t);  // T = E(F)
        XorInto(target + full, source + full, t, tail);
        if (mode == TCipherMode::CTS) {
          XorInto(f, t, f, b);  // F := T ^ F
        }
      }
      break;
    }
    case TCipherMode::CFB:
    case TCipherMode::OFB: {
      for (std::size_t i = 0; i < length; ++i) {
        std::memcpy(t, f, b);
        EncryptBlock(t);
        const std::uint8_t x = source[i];
        const auto y = static_cast<std::uint8_t>(x ^ t[0]);
        std::memmove(f, f + 1, b - 1);
        if (mode == TCipherMode::OFB) {
          f[b - 1] = t[0];
        } else {
          f[b - 1] = kEncode ? y : x;  // the ciphertext byte
        }
        target[i] = y;
      }
      break;
    }
    case TCipherMode::ECB: {
      for (std::size_t at = 0; at < full; at += b) {
        std::memmove(t, source + at, b);
        if constexpr (kEncode) {
          EncryptBlock(t);
        } else {
          DecryptBlock(t);
        }
        std::memcpy(target + at, t, b);
      }
      if (tail > 0 && target != source) {
        std::memmove(target + full, source + full, tail);
      }
      break;
    }
  }
  std::fill(scratch_.begin(), scratch_.end(), 0);
}

}  // namespace crypto
