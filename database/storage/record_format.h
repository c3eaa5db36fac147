#pragma once
// The record image: the stored values of a record's fields one after another in field order,
// each taking its storage width. This codec gives a field's bytes inside an image and reads
// and writes the stored forms of the fixed-width types, for key comparison, value texts and
// the command-line tool.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace database::storage {

// Where each field lies in an image, and the image's size in bytes.
struct TRecordLayout {
  std::vector<std::int32_t> field_offsets;  // entry i: byte position of field i in the image
  std::int32_t record_size = 0;
};

// Computes the packed layout of fields of the given types and declared sizes: no gaps, no
// alignment, a BLOB field taking its 20-byte header. Raises "General error" for a type without
// a storage width.
TRecordLayout ComputeLayout(std::span<const std::uint8_t> types,
                            std::span<const std::int32_t> declared_sizes);

// The `width` bytes of the field at `offset` of `image`; raises "Database file is damaged"
// when they do not lie inside the image.
std::span<std::uint8_t> FieldBytes(std::span<std::uint8_t> image, std::int32_t offset,
                                   std::int32_t width);
std::span<const std::uint8_t> FieldBytes(std::span<const std::uint8_t> image, std::int32_t offset,
                                         std::int32_t width);

// Stored forms of the fixed-width types, little-endian. Loads require the span to hold the
// type's width (checked by the caller through FieldStorageWidth).
std::int16_t LoadSmallint(std::span<const std::uint8_t> bytes);
std::uint16_t LoadWord(std::span<const std::uint8_t> bytes);
std::int32_t LoadInteger(std::span<const std::uint8_t> bytes);
std::int64_t LoadLargeint(std::span<const std::uint8_t> bytes);
double LoadFloat(std::span<const std::uint8_t> bytes);
void StoreSmallint(std::span<std::uint8_t> bytes, std::int16_t value);
void StoreWord(std::span<std::uint8_t> bytes, std::uint16_t value);
void StoreInteger(std::span<std::uint8_t> bytes, std::int32_t value);
void StoreLargeint(std::span<std::uint8_t> bytes, std::int64_t value);
void StoreFloat(std::span<std::uint8_t> bytes, double value);

}  // namespace database::storage
