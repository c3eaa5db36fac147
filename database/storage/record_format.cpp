#include "database/storage/record_format.h"

#include <bit>
#include <string>

#include "database/storage/database_error.h"
#include "database/storage/field_types.h"
#include "platform/byte_order.h"

namespace database::storage {

TRecordLayout ComputeLayout(std::span<const std::uint8_t> types,
                            std::span<const std::int32_t> declared_sizes) {
  TRecordLayout layout;
  std::int64_t position = 0;
  for (std::size_t i = 0; i < types.size(); ++i) {
    layout.field_offsets.push_back(static_cast<std::int32_t>(position));
    position += FieldImageWidth(types[i], declared_sizes[i]);
  }
  layout.record_size = static_cast<std::int32_t>(position);  // 96 fields of at most 64 KiB
  return layout;
}

namespace {

template <class TByte>
std::span<TByte> CheckedField(std::span<TByte> image, std::int32_t offset, std::int32_t width) {
  if (offset < 0 || width < 0 ||
      static_cast<std::size_t>(offset) + static_cast<std::size_t>(width) > image.size()) {
    RaiseDamaged("field at " + std::to_string(offset) + " outside the record image");
  }
  return image.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(width));
}

}  // namespace

std::span<std::uint8_t> FieldBytes(std::span<std::uint8_t> image, std::int32_t offset,
                                   std::int32_t width) {
  return CheckedField(image, offset, width);
}

std::span<const std::uint8_t> FieldBytes(std::span<const std::uint8_t> image, std::int32_t offset,
                                         std::int32_t width) {
  return CheckedField(image, offset, width);
}

std::int16_t LoadSmallint(std::span<const std::uint8_t> bytes) {
  return static_cast<std::int16_t>(platform::LoadLE16(bytes, 0));
}
std::uint16_t LoadWord(std::span<const std::uint8_t> bytes) {
  return platform::LoadLE16(bytes, 0);
}
std::int32_t LoadInteger(std::span<const std::uint8_t> bytes) {
  return static_cast<std::int32_t>(platform::LoadLE32(bytes, 0));
}
std::int64_t LoadLargeint(std::span<const std::uint8_t> bytes) {
  return static_cast<std::int64_t>(platform::LoadLE64(bytes, 0));
}
double LoadFloat(std::span<const std::uint8_t> bytes) {
  return std::bit_cast<double>(platform::LoadLE64(bytes, 0));
}
void StoreSmallint(std::span<std::uint8_t> bytes, std::int16_t value) {
  platform::StoreLE16(bytes, 0, static_cast<std::uint16_t>(value));
}
void StoreWord(std::span<std::uint8_t> bytes, std::uint16_t value) {
  platform::StoreLE16(bytes, 0, value);
}
void StoreInteger(std::span<std::uint8_t> bytes, std::int32_t value) {
  platform::StoreLE32(bytes, 0, static_cast<std::uint32_t>(value));
}
void StoreLargeint(std::span<std::uint8_t> bytes, std::int64_t value) {
  platform::StoreLE64(bytes, 0, static_cast<std::uint64_t>(value));
}
void StoreFloat(std::span<std::uint8_t> bytes, double value) {
  platform::StoreLE64(bytes, 0, std::bit_cast<std::uint64_t>(value));
}

}  // namespace database::storage
