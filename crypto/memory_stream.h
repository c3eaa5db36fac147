#pragma once
// An in-memory byte stream with a size and a position: what the managers read and write when
// they compress or encipher a whole item (a BLOB value), and what the database hands them.
// Reading stops at the end; writing past the end grows the stream.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace crypto {

class TMemoryStream final {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  explicit TMemoryStream(std::span<const std::uint8_t> bytes)
      : bytes_(bytes.begin(), bytes.end()) {}

  std::size_t Size() const { return bytes_.size(); }
  // Cuts or zero-extends; the position is kept (it may then lie past the end).
  void SetSize(std::size_t size) { bytes_.resize(size); }
  std::size_t Position() const { return position_; }
  void SetPosition(std::size_t position) { position_ = position; }

  // Copies up to `count` bytes from the position on into `buffer` and advances the position.
  // Returns the number of bytes copied: less than `count` at the end, 0 past it.
  std::size_t Read(void* buffer, std::size_t count);
  // Writes `count` bytes at the position, growing the stream as needed, and advances it.
  // `buffer` must not point into this stream.
  void Write(const void* buffer, std::size_t count);
  void Write(std::span<const std::uint8_t> bytes) { Write(bytes.data(), bytes.size()); }
  // Empties the stream: size 0, position 0.
  void Clear();
  // Replaces the whole content; position 0.
  void Assign(std::span<const std::uint8_t> bytes);

  std::span<const std::uint8_t> Bytes() const { return bytes_; }
  std::span<std::uint8_t> MutableBytes() { return bytes_; }
  // Exchanges content and position with `other`.
  void Swap(TMemoryStream& other) noexcept;

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t position_ = 0;  // byte offset from the start; may exceed the size
};

}  // namespace crypto
