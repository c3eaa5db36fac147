#pragma once
// The value of one BLOB field in a cursor's record buffer: a memory stream that loads the
// stored value from the database only when it is first read or positioned. Reading a record
// only names the source (SetSource); a value written by the cursor is never replaced by a
// later load.

#include <cstddef>
#include <cstdint>
#include <span>

#include "crypto/memory_stream.h"

namespace database::storage {

class TDBFileIO;

// Invariant: once loaded (or written), the content is current until the next SetSource.
// Points at the file reader given to SetSource, which must stay open while the stream may
// still load.
class TOptimBlobStream final {
 public:
  TOptimBlobStream() = default;
  TOptimBlobStream(const TOptimBlobStream&) = delete;
  TOptimBlobStream& operator=(const TOptimBlobStream&) = delete;

  // Names the BLOB header at `header_position` (absolute; 0: no source) of `file_io` as the
  // value to load, with the flags to decode it with; empties the stream and clears the loaded
  // flag.
  void SetSource(TDBFileIO* file_io, std::int32_t header_position, bool encrypted, bool compressed);

  // Reading and positioning first run the lazy load. A load that raises leaves the loaded
  // flag set and the content as far as it got.
  std::size_t Read(void* buffer, std::size_t count);
  void Seek(std::size_t position);
  std::size_t Position();
  std::size_t Size();
  // The whole value, loaded.
  std::span<const std::uint8_t> Bytes();
  const crypto::TMemoryStream& Content();

  // Writing, resizing and clearing set the loaded flag first: the value is the caller's.
  void Write(const void* buffer, std::size_t count);
  void Write(std::span<const std::uint8_t> bytes) { Write(bytes.data(), bytes.size()); }
  void SetSize(std::size_t size);
  void Clear();
  void Assign(std::span<const std::uint8_t> bytes);

  bool Loaded() const { return loaded_; }
  std::int32_t HeaderPosition() const { return header_position_; }

 private:
  void LazyLoad();

  crypto::TMemoryStream content_;
  TDBFileIO* file_io_ = nullptr;  // not owned
  std::int32_t header_position_ = 0;
  bool encrypted_ = false;
  bool compressed_ = false;
  bool loaded_ = false;
};

}  // namespace database::storage
