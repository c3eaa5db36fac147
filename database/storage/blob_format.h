#pragma once
// The BLOB header that a BLOB field holds inside a record image (20 bytes), and the sizing of
// the BLOB area it points to: the encoded bytes, then zero padding to a multiple of 64 that is
// always at least one byte.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace database::storage {

// BLOB header (frozen).
inline constexpr std::size_t kBlobHeaderSize = 20;
inline constexpr std::size_t kBlobSizeOffset = 4;
inline constexpr std::size_t kAreaSizeOffset = 8;
inline constexpr std::size_t kBlobReservedOffset = 12;
inline constexpr std::size_t kBlobReservedSize = 8;
static_assert(kBlobReservedOffset + kBlobReservedSize == kBlobHeaderSize);
inline constexpr std::int32_t kBlobGranule = 64;

struct TBlobHeader {
  std::int32_t blob_offset = 0;  // absolute offset of the area
  std::int32_t blob_size = 0;    // encoded bytes stored
  std::int32_t area_size = 0;    // bytes reserved: a multiple of 64 above blob_size
  std::array<std::uint8_t, kBlobReservedSize> reserved{};  // kept as found on a rewrite
};

// Raises "Database file is damaged" when fewer than kBlobHeaderSize bytes are given.
TBlobHeader DecodeBlobHeader(std::span<const std::uint8_t> bytes);
void EncodeBlobHeader(const TBlobHeader& header, std::span<std::uint8_t> out);

// The area size for `blob_size` encoded bytes: the next multiple of 64 strictly above it.
inline std::int32_t AreaSizeFor(std::int32_t blob_size) {
  return blob_size + kBlobGranule - (blob_size % kBlobGranule);
}

}  // namespace database::storage
