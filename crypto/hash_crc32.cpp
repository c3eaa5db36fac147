#include "crypto/hash_crc32.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

#include "platform/byte_order.h"

namespace crypto {

namespace {

// zlib's crc32 takes and returns the finished (inverted) value and a length of type uInt;
// feed it in pieces that fit.
std::uint32_t ZlibCrc(std::uint32_t finished, const std::uint8_t* data, std::size_t length) {
  constexpr std::size_t kMaxPiece = std::numeric_limits<uInt>::max();
  uLong crc = finished;
  while (length > 0) {
    const std::size_t n = std::min(length, kMaxPiece);
    crc = crc32(crc, data, static_cast<uInt>(n));
    data += n;
    length -= n;
  }
  return static_cast<std::uint32_t>(crc);
}

}  // namespace

void THash_CRC32::Reset() {
  state_ = 0xFFFFFFFF;
  digest_.fill(0);
}

void THash_CRC32::UpdateBytes(std::span<const std::uint8_t> bytes) {
  state_ = ~ZlibCrc(~state_, bytes.data(), bytes.size());
}

void THash_CRC32::Finish() {
  platform::StoreLE32(digest_, 0, ~state_);
}

std::uint32_t BufferCrc32(const void* buffer, std::size_t length) {
  if (length == 0) {
    return 0;
  }
  return ZlibCrc(0, static_cast<const std::uint8_t*>(buffer), length);
}

}  // namespace crypto
