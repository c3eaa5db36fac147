#pragma once
// Botan 2 as an independent oracle for the standard block ciphers, and a small deterministic
// byte generator for random keys and blocks.

#include <botan/block_cipher.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace crypto_test {

// Botan's GOST 28147-89 with the S-boxes of the GOST R 34.11-94 test parameter set.
inline constexpr const char* kBotanGost = "GOST-28147-89(R3411_94_TestParam)";

inline std::unique_ptr<Botan::BlockCipher> BotanCipher(const std::string& name) {
  std::unique_ptr<Botan::BlockCipher> cipher = Botan::BlockCipher::create(name);
  EXPECT_TRUE(cipher) << name;
  return cipher;
}

class TRandomBytes final {
 public:
  explicit TRandomBytes(std::uint32_t seed) : engine_(seed) {}
  std::vector<std::uint8_t> Next(std::size_t n) {
    std::vector<std::uint8_t> bytes(n);
    for (auto& b : bytes) {
      b = static_cast<std::uint8_t>(engine_() >> 24);
    }
    return bytes;
  }
  std::size_t Between(std::size_t low, std::size_t high) {
    return low + engine_() % (high - low + 1);
  }

 private:
  std::mt19937 engine_;
};

}  // namespace crypto_test
