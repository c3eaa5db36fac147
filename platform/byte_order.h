#pragma once
// Little-endian loads and stores at an offset in a byte span. Every stored format of the
// engines (database files, ZIP records) and every cipher and hash word goes through these,
// so that no code depends on the host's byte order or alignment.

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform {

// Precondition for all: offset + width <= bytes.size(); callers check lengths first.
inline std::uint16_t LoadLE16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline std::uint32_t LoadLE32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint32_t>(bytes[offset]) |
         (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
         (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
         (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

inline std::uint64_t LoadLE64(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint64_t>(LoadLE32(bytes, offset)) |
         (static_cast<std::uint64_t>(LoadLE32(bytes, offset + 4)) << 32);
}

inline void StoreLE16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void StoreLE32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

inline void StoreLE64(std::span<std::uint8_t> bytes, std::size_t offset, std::uint64_t value) {
  StoreLE32(bytes, offset, static_cast<std::uint32_t>(value));
  StoreLE32(bytes, offset + 4, static_cast<std::uint32_t>(value >> 32));
}

// Big-endian words, for hash functions defined on big-endian words.
inline std::uint32_t LoadBE32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return (static_cast<std::uint32_t>(bytes[offset]) << 24) |
         (static_cast<std::uint32_t>(bytes[offset + 1]) << 16) |
         (static_cast<std::uint32_t>(bytes[offset + 2]) << 8) |
         static_cast<std::uint32_t>(bytes[offset + 3]);
}

inline void StoreBE32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[offset + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
  }
}

}  // namespace platform
