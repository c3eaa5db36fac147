#include "database/storage/field_types.h"

#include "database/storage/database_error.h"

namespace database::storage {

bool IsBlobType(std::uint8_t type) {
  return (type >= ftBlob && type <= ftTypedBinary) || type == ftOraBlob || type == ftOraClob;
}

bool IsTextType(std::uint8_t type) {
  return type == ftString || type == ftFixedChar;
}

std::int32_t FieldStorageWidth(std::uint8_t type, std::int32_t declared_size) {
  switch (type) {
    case ftString:
    case ftFixedChar:
      // A damaged or hostile declared size must not produce a negative or enormous width.
      if (declared_size < 0 || declared_size > 0xFFFF) {
        RaiseDatabaseError(TDbMessage::GeneralError);
      }
      return declared_size + 1;
    case ftSmallint:
    case ftWord:
    case ftBoolean:
      return 2;
    case ftInteger:
    case ftDate:
    case ftTime:
    case ftAutoInc:
      return 4;
    case ftFloat:
    case ftCurrency:
    case ftDateTime:
    case ftLargeint:
      return 8;
    default:
      if (IsBlobType(type)) {
        return 0;
      }
      RaiseDatabaseError(TDbMessage::GeneralError);
  }
}

std::int32_t FieldImageWidth(std::uint8_t type, std::int32_t declared_size) {
  return IsBlobType(type) ? kBlobFieldWidth : FieldStorageWidth(type, declared_size);
}

}  // namespace database::storage
