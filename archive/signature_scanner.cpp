#include "archive/signature_scanner.h"

#include <algorithm>
#include <cstring>

#include "platform/byte_order.h"

namespace archive {

TSignatureScanner::TSignatureScanner(TArcStream& stream, std::uint32_t signature,
                                     std::size_t chunk_size)
    : stream_(stream), chunk_size_(std::max<std::size_t>(chunk_size, 4)), size_(stream.Size()) {
  platform::StoreLE32(bytes_, 0, signature);
}

std::optional<std::uint64_t> TSignatureScanner::Next(std::uint64_t from) {
  std::uint64_t pos = from;
  while (pos + 4 <= size_) {
    const bool inside = pos >= window_start_ && pos + 4 <= window_start_ + window_.size();
    if (!inside) {
      // Load a chunk starting at pos; successive chunks overlap by the 3 bytes a signature
      // split across their border needs.
      const std::size_t length =
          static_cast<std::size_t>(std::min<std::uint64_t>(chunk_size_, size_ - pos));
      window_.resize(length);
      window_.resize(stream_.ReadAt(pos, window_));
      window_start_ = pos;
      if (window_.size() < 4) {
        return std::nullopt;
      }
    }
    const std::uint8_t* const begin = window_.data() + (pos - window_start_);
    const std::uint8_t* const end = window_.data() + window_.size();
    const std::uint8_t* p = begin;
    while (end - p >= 4) {
      p = static_cast<const std::uint8_t*>(std::memchr(p, bytes_[0], end - p - 3));
      if (p == nullptr) {
        break;
      }
      if (std::memcmp(p, bytes_, 4) == 0) {
        return window_start_ + static_cast<std::uint64_t>(p - window_.data());
      }
      ++p;
    }
    // Not in this window: go on with the 3 last bytes, which may begin a signature.
    const std::uint64_t window_end = window_start_ + window_.size();
    if (window_end >= size_) {
      return std::nullopt;
    }
    pos = window_end - 3;
    window_.clear();
  }
  return std::nullopt;
}

}  // namespace archive
