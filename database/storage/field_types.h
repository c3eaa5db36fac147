#pragma once
// The field-type codes a database stores (the ordinals of the toolkit's field-type
// enumeration), the storage width of each inside a record image, and the BLOB test that every
// part of the storage engine uses.

#include <cstdint>

namespace database::storage {

// Stored in every field entry, so the values are frozen.
enum TFieldType : std::uint8_t {
  ftUnknown = 0,
  ftString = 1,
  ftSmallint = 2,
  ftInteger = 3,
  ftWord = 4,
  ftBoolean = 5,
  ftFloat = 6,
  ftCurrency = 7,
  ftBCD = 8,
  ftDate = 9,
  ftTime = 10,
  ftDateTime = 11,
  ftBytes = 12,
  ftVarBytes = 13,
  ftAutoInc = 14,
  ftBlob = 15,
  ftMemo = 16,
  ftGraphic = 17,
  ftFmtMemo = 18,
  ftParadoxOle = 19,
  ftDBaseOle = 20,
  ftTypedBinary = 21,
  ftCursor = 22,
  ftFixedChar = 23,
  ftWideString = 24,
  ftLargeint = 25,
  ftADT = 26,
  ftArray = 27,
  ftReference = 28,
  ftDataSet = 29,
  ftOraBlob = 30,
  ftOraClob = 31,
  ftVariant = 32,
  ftInterface = 33,
  ftIDispatch = 34,
  ftGuid = 35,
};

// Bytes a BLOB-type field takes in a record image: its BLOB header.
inline constexpr std::int32_t kBlobFieldWidth = 20;

// True for the codes 15 to 21, 30 and 31.
bool IsBlobType(std::uint8_t type);
// True for ftString and ftFixedChar, whose width is the declared size plus one.
bool IsTextType(std::uint8_t type);
// The width of a non-BLOB stored type (text types: declared_size + 1), 0 for a BLOB type.
// Raises the database error "General error" for any other code.
std::int32_t FieldStorageWidth(std::uint8_t type, std::int32_t declared_size);
// The bytes the field takes in a record image: kBlobFieldWidth for a BLOB type, otherwise
// FieldStorageWidth (raising as it does).
std::int32_t FieldImageWidth(std::uint8_t type, std::int32_t declared_size);

}  // namespace database::storage
