#pragma once
// The stream through which a cursor's BLOB field (Blob, Memo, Graphic, FmtMemo) is read and
// written: it works on the record buffer's in-memory copy of the value, which loads the
// stored data on first use; a write lands in the buffer and is stored by the next Post.

#include <cstddef>
#include <cstdint>
#include <span>

namespace database::storage {
class TOptimBlobStream;
}

namespace database::access {

class TField;

enum class TBlobStreamMode : std::uint8_t { bmRead, bmWrite, bmReadWrite };

// Points at the field and at the value in its cursor's current buffer; both must outlive the
// stream, which is meant to live only while the cursor stays on the record.
class TTableBlobStream final {
 public:
  // Raises "General error" for a field that is not of a BLOB kind; the write modes raise what
  // a field write raises outside edit or insert state. bmWrite empties the value first.
  TTableBlobStream(TField& field, TBlobStreamMode mode);
  TTableBlobStream(const TTableBlobStream&) = delete;
  TTableBlobStream& operator=(const TTableBlobStream&) = delete;

  std::size_t Read(void* buffer, std::size_t count);
  // Raises "General error" in bmRead mode.
  void Write(std::span<const std::uint8_t> bytes);
  void Seek(std::size_t position);
  std::size_t Position();
  std::size_t Size();

 private:
  TField& field_;
  TBlobStreamMode mode_;
  storage::TOptimBlobStream* value_ = nullptr;  // null: no current record (reads as empty)
};

}  // namespace database::access
