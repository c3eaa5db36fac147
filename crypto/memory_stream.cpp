#include "crypto/memory_stream.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace crypto {

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
  if (position_ >= bytes_.size()) {
    return 0;
  }
  const std::size_t n = std::min(count, bytes_.size() - position_);
  if (n > 0) {
    std::memcpy(buffer, bytes_.data() + position_, n);
  }
  position_ += n;
  return n;
}

void TMemoryStream::Write(const void* buffer, std::size_t count) {
  if (count == 0) {
    return;
  }
  if (bytes_.size() < position_ + count) {
    bytes_.resize(position_ + count);
  }
  std::memmove(bytes_.data() + position_, buffer, count);
  position_ += count;
}

void TMemoryStream::Clear() {
  bytes_.clear();
  position_ = 0;
}

void TMemoryStream::Assign(std::span<const std::uint8_t> bytes) {
  bytes_.assign(bytes.begin(), bytes.end());
  position_ = 0;
}

void TMemoryStream::Swap(TMemoryStream& other) noexcept {
  bytes_.swap(other.bytes_);
  std::swap(position_, other.position_);
}

}  // namespace crypto
