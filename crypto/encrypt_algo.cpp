#include "crypto/encrypt_algo.h"

#include <algorithm>
#include <array>
#include <functional>

#include "crypto/enc_blowfish.h"
#include "crypto/enc_gost.h"
#include "crypto/enc_twofish.h"

namespace crypto {

void TEncryptAlgo::EncodeStream(TMemoryStream* source, TMemoryStream* target, std::int64_t size) {
  Walk<true>(source, target, size);
}

void TEncryptAlgo::DecodeStream(TMemoryStream* source, TMemoryStream* target, std::int64_t size) {
  Walk<false>(source, target, size);
}

template <bool kEncode>
void TEncryptAlgo::Walk(TMemoryStream* source, TMemoryStream* target, std::int64_t size) {
  if (source == nullptr) {
    return;
  }
  if (target == nullptr) {
    target = source;
  }
  if (size < 0) {
    size = static_cast<std::int64_t>(source->Size());
    source->SetPosition(0);
  }
  const auto report = [this](std::int64_t done, std::int64_t total) {
    if constexpr (kEncode) {
      DoEncodeProgress(done, total);
    } else {
      DoDecodeProgress(done, total);
    }
  };
  report(0, size);
  try {
    WalkChunks<kEncode>(*source, *target, size, report);
  } catch (...) {
    report(0, 0);  // the end of the walk is reported however it ends
    throw;
  }
  report(0, 0);
}

template <bool kEncode, class TReport>
void TEncryptAlgo::WalkChunks(TMemoryStream& source, TMemoryStream& target, std::int64_t size,
                              const TReport& report) {
  // Not cleared up front: only the bytes a chunk filled are used, and only those are wiped.
  std::array<std::uint8_t, kChunkSize> buffer;
  std::size_t used = 0;
  std::size_t source_at = source.Position();
  std::size_t target_at = target.Position();
  const std::int64_t total = size;
  std::int64_t done = 0;
  while (size > 0) {
    source.SetPosition(source_at);
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::int64_t>(size, kChunkSize));
    const std::size_t c = source.Read(buffer.data(), wanted);
    if (c == 0) {
      break;
    }
    used = std::max(used, c);
    if constexpr (kEncode) {
      EncodeBuffer(buffer.data(), buffer.data(), c);
    } else {
      DecodeBuffer(buffer.data(), buffer.data(), c);
    }
    target.SetPosition(target_at);
    target.Write(buffer.data(), c);
    source_at += c;
    target_at += c;
    done += static_cast<std::int64_t>(c);
    report(done, total);
    size -= static_cast<std::int64_t>(c);
  }
  std::fill_n(buffer.begin(), used, std::uint8_t{0});
}

TEncAlgo_Blowfish::TEncAlgo_Blowfish() : TEncAlgo_Base(std::make_unique<TEnc_Blowfish>()) {}
TEncAlgo_Twofish::TEncAlgo_Twofish() : TEncAlgo_Base(std::make_unique<TEnc_Twofish>()) {}
TEncAlgo_Gost::TEncAlgo_Gost() : TEncAlgo_Base(std::make_unique<TEnc_Gost>()) {}

}  // namespace crypto
