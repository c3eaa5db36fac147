#pragma once
// Forward search for a 4-byte little-endian record signature in an archive stream, reading
// it in chunks of a fixed size and keeping the last chunk, so that successive searches
// forward from nearby positions read each byte about once.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "archive/arc_stream.h"

namespace archive {

class TSignatureScanner final {
 public:
  // `stream` is not owned and must outlive the scanner. `chunk_size` >= 4.
  TSignatureScanner(TArcStream& stream, std::uint32_t signature, std::size_t chunk_size);

  // The first position >= `from` where the signature starts and all four bytes lie inside the
  // stream; nothing when there is none up to the end.
  std::optional<std::uint64_t> Next(std::uint64_t from);

 private:
  TArcStream& stream_;
  std::uint8_t bytes_[4];
  std::size_t chunk_size_;
  std::uint64_t size_;
  std::vector<std::uint8_t> window_;
  std::uint64_t window_start_ = 0;  // file position of window_[0]
};

}  // namespace archive
