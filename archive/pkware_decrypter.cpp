#include "archive/pkware_decrypter.h"

#include <zlib.h>

namespace archive {
namespace {

const z_crc_t* CrcTable() {
  static const z_crc_t* const table = get_crc_table();
  return table;
}

inline std::uint32_t Crc32Byte(const z_crc_t* table, std::uint32_t crc, std::uint8_t byte) {
  return table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

constexpr std::uint32_t kKeyMultiplier = 134775813;  // 0x08088405, frozen: APPNOTE

}  // namespace

TPkwareDecrypter::TPkwareDecrypter(std::string_view password) {
  for (const char c : password) {
    UpdateKeys(static_cast<std::uint8_t>(c));
  }
}

TPkwareDecrypter::~TPkwareDecrypter() {
  volatile std::uint32_t* keys[] = {&key0_, &key1_, &key2_};
  for (volatile std::uint32_t* key : keys) {
    *key = 0;
  }
}

void TPkwareDecrypter::UpdateKeys(std::uint8_t plain) {
  const z_crc_t* const table = CrcTable();
  key0_ = Crc32Byte(table, key0_, plain);
  key1_ = (key1_ + (key0_ & 0xFF)) * kKeyMultiplier + 1;
  key2_ = Crc32Byte(table, key2_, static_cast<std::uint8_t>(key1_ >> 24));
}

void TPkwareDecrypter::Decrypt(std::span<std::uint8_t> data) {
  // The keys live in locals through the loop: this is the hot path of every package entry.
  const z_crc_t* const table = CrcTable();
  std::uint32_t k0 = key0_;
  std::uint32_t k1 = key1_;
  std::uint32_t k2 = key2_;
  for (std::uint8_t& byte : data) {
    const std::uint32_t temp = (k2 | 2) & 0xFFFF;
    const std::uint8_t plain = byte ^ static_cast<std::uint8_t>((temp * (temp ^ 1)) >> 8);
    byte = plain;
    k0 = Crc32Byte(table, k0, plain);
    k1 = (k1 + (k0 & 0xFF)) * kKeyMultiplier + 1;
    k2 = Crc32Byte(table, k2, static_cast<std::uint8_t>(k1 >> 24));
  }
  key0_ = k0;
  key1_ = k1;
  key2_ = k2;
}

}  // namespace archive
