#pragma once
// Fixed-size text fields of the stored formats: N bytes of single-byte text ended by the
// first NUL, holding at most N - 1 characters. Every codec reads and writes its names through
// this pair.

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace database::storage {

// The text up to the first NUL, or all the bytes when there is none.
inline std::string ReadFixedText(std::span<const std::uint8_t> field) {
  const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
  return std::string(field.begin(), end);
}

// At most field.size() - 1 characters, then NUL bytes to the end of the field.
inline void WriteFixedText(std::span<std::uint8_t> field, std::string_view text) {
  if (field.empty()) {
    return;
  }
  const std::size_t count = std::min(text.size(), field.size() - 1);
  std::copy_n(reinterpret_cast<const std::uint8_t*>(text.data()), count, field.begin());
  std::fill(field.begin() + static_cast<std::ptrdiff_t>(count), field.end(), std::uint8_t{0});
}

}  // namespace database::storage
