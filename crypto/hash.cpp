#include "crypto/hash.h"

namespace crypto {

namespace {

constexpr std::string_view kDigit64 =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view kDigitHex = "0123456789ABCDEF";

}  // namespace

void THash::Update(const void* data, std::ptrdiff_t length) {
  if (length <= 0) {
    return;
  }
  UpdateBytes({static_cast<const std::uint8_t*>(data), static_cast<std::size_t>(length)});
}

std::string THash::DigestText(int format) const {
  switch (format) {
    case kDigestTextDefault:
    case kDigestText64:
      return EncodeDigest64(Digest());
    case kDigestTextHex:
      return EncodeDigestHex(Digest());
    default: {
      const auto digest = Digest();
      return std::string(digest.begin(), digest.end());
    }
  }
}

std::string EncodeDigest64(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t group = static_cast<std::uint32_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) {
      group |= static_cast<std::uint32_t>(bytes[i + 1]) << 8;
    }
    if (i + 2 < bytes.size()) {
      group |= bytes[i + 2];
    }
    // Digits from the most significant; stop once the remaining low bits are all zero.
    for (int shift = 18; shift >= 0 && (group & ((1u << (shift + 6)) - 1)) != 0; shift -= 6) {
      text += kDigit64[(group >> shift) & 0x3F];
    }
  }
  switch (bytes.size() % 3) {
    case 1:
      text += "==";
      break;
    case 2:
      text += "=";
      break;
    default:
      break;
  }
  return text;
}

std::string EncodeDigestHex(std::span<const std::uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size() * 2);
  for (const std::uint8_t b : bytes) {
    text += kDigitHex[b >> 4];
    text += kDigitHex[b & 0x0F];
  }
  return text;
}

std::string HashTextWith(THash& hash, std::string_view text,
                         std::vector<std::uint8_t>* digest_copy) {
  hash.Reset();
  hash.Update(text.data(), static_cast<std::ptrdiff_t>(text.size()));
  hash.Finish();
  if (digest_copy != nullptr) {
    const auto digest = hash.Digest();
    digest_copy->assign(digest.begin(), digest.end());
  }
  return hash.DigestText(kDigestTextDefault);
}

}  // namespace crypto
