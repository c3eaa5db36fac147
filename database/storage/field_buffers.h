#pragma once
// The field-buffer protocol between a cursor and the table reader: one item per field of the
// table, in field order, pointing at the field's value in one of the cursor's record buffers
// (for a BLOB field, at the record's TOptimBlobStream). Items never own what they point at; the
// cursor builds a list for each call and keeps the buffers alive during it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace database::storage {

class TOptimBlobStream;

struct TFieldBufferItem {
  std::uint8_t* Buffer = nullptr;    // the stored form of a non-BLOB value, FieldSize bytes
  TOptimBlobStream* Blob = nullptr;  // the value of a BLOB field
  std::uint8_t FieldType = 0;        // the cursor field's type code
  std::int32_t FieldSize = 0;        // the value's size: the storage width for non-BLOBs
  bool Active = true;                // False: no field object; the field is left alone

  std::span<std::uint8_t> Bytes() const {
    return {Buffer, Buffer == nullptr ? 0 : static_cast<std::size_t>(FieldSize)};
  }
};

class TFieldBuffers final {
 public:
  // A non-BLOB field whose value lies at `buffer` (`size` bytes).
  void Add(std::uint8_t* buffer, std::uint8_t field_type, std::int32_t size) {
    items_.push_back(TFieldBufferItem{buffer, nullptr, field_type, size, true});
  }
  // A BLOB field whose value is `stream`.
  void AddBlob(TOptimBlobStream* stream, std::uint8_t field_type) {
    items_.push_back(TFieldBufferItem{nullptr, stream, field_type, 0, true});
  }
  // A field the cursor has no field object for.
  void AddInactive() { items_.push_back(TFieldBufferItem{nullptr, nullptr, 0, 0, false}); }

  std::size_t Count() const { return items_.size(); }
  const TFieldBufferItem& operator[](std::size_t i) const { return items_[i]; }
  TFieldBufferItem& operator[](std::size_t i) { return items_[i]; }
  void Clear() { items_.clear(); }

 private:
  std::vector<TFieldBufferItem> items_;
};

}  // namespace database::storage
