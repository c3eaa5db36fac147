#pragma once
// Hexadecimal text to bytes and back, for the known-answer tables of the crypto tests.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace crypto_test {

inline std::vector<std::uint8_t> FromHex(std::string_view hex) {
  auto nibble = [](char c) -> std::uint8_t {
    if (c >= '0' && c <= '9') {
      return static_cast<std::uint8_t>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
      return static_cast<std::uint8_t>(c - 'a' + 10);
    }
    return static_cast<std::uint8_t>(c - 'A' + 10);
  };
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>((nibble(hex[i]) << 4) | nibble(hex[i + 1])));
  }
  return bytes;
}

inline std::string ToHex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (const std::uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

inline std::vector<std::uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

}  // namespace crypto_test
