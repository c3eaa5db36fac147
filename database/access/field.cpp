#include "database/access/field.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "database/access/access_error.h"
#include "database/access/db_record_data_set.h"
#include "database/access/value_convert.h"
#include "database/storage/record_format.h"

namespace database::access {
namespace {

using storage::TFieldType;

const platform::TLocaleFormat& Format() {
  return platform::UserLocaleFormat();
}

struct TRange {
  std::int64_t low;
  std::int64_t high;
};

TRange IntegerRange(TFieldType type) {
  switch (type) {
    case storage::ftSmallint:
      return {std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()};
    case storage::ftWord:
      return {0, std::numeric_limits<std::uint16_t>::max()};
    case storage::ftLargeint:
      return {std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()};
    default:
      return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
  }
}

bool IsIntegerType(TFieldType type) {
  return type == storage::ftSmallint || type == storage::ftInteger || type == storage::ftWord ||
         type == storage::ftAutoInc || type == storage::ftLargeint;
}

std::int64_t ToInteger(const TValue& value) {
  if (const auto* b = std::get_if<bool>(&value)) {
    return *b ? 1 : 0;
  }
  if (const auto* i = std::get_if<std::int64_t>(&value)) {
    return *i;
  }
  if (const auto* d = std::get_if<double>(&value)) {
    const double rounded = std::round(*d);
    if (!std::isfinite(rounded) || std::abs(rounded) >= 9.2e18) {
      RaiseAccessError(TAccessMessage::ValueOutOfRange, FloatToText(*d, Format()));
    }
    return static_cast<std::int64_t>(rounded);
  }
  if (const auto* t = std::get_if<TDateTime>(&value)) {
    return static_cast<std::int64_t>(std::trunc(t->value));
  }
  if (const auto* s = std::get_if<std::string>(&value)) {
    return TextToInteger(*s, Format());
  }
  return 0;
}

double ToFloat(const TValue& value) {
  if (const auto* b = std::get_if<bool>(&value)) {
    return *b ? 1 : 0;
  }
  if (const auto* i = std::get_if<std::int64_t>(&value)) {
    return static_cast<double>(*i);
  }
  if (const auto* d = std::get_if<double>(&value)) {
    return *d;
  }
  if (const auto* t = std::get_if<TDateTime>(&value)) {
    return t->value;
  }
  if (const auto* s = std::get_if<std::string>(&value)) {
    return TextToFloat(*s, Format());
  }
  return 0;
}

std::string ToText(const TValue& value) {
  if (const auto* b = std::get_if<bool>(&value)) {
    return BooleanToText(*b);
  }
  if (const auto* i = std::get_if<std::int64_t>(&value)) {
    return std::to_string(*i);
  }
  if (const auto* d = std::get_if<double>(&value)) {
    return FloatToText(*d, Format());
  }
  if (const auto* t = std::get_if<TDateTime>(&value)) {
    return DateTimeToText(*t, Format());
  }
  if (const auto* s = std::get_if<std::string>(&value)) {
    return *s;
  }
  return {};
}

}  // namespace

TField::TField(TDBRecordDataSet& data_set, std::string name, storage::TFieldType type,
               std::int32_t size, int field_no, TFieldKind kind)
    : data_set_(data_set),
      name_(std::move(name)),
      type_(type),
      size_(size),
      field_no_(field_no),
      kind_(kind),
      data_size_(storage::FieldStorageWidth(type, size)) {}

bool TField::IsNull() const {
  const TRecordBuffer* buffer = data_set_.CurrentRecordBuffer();
  if (buffer == nullptr) {
    return true;
  }
  return kind_ == TFieldKind::fkCalculated && buffer->bytes[static_cast<std::size_t>(offset_)] == 0;
}

TValue TField::Value() const {
  if (IsBlob()) {
    storage::RaiseDatabaseError(storage::TDbMessage::GeneralError);
  }
  if (IsNull()) {
    return TValue{};
  }
  const TRecordBuffer* buffer = data_set_.CurrentRecordBuffer();
  const std::size_t start =
      static_cast<std::size_t>(offset_) + (kind_ == TFieldKind::fkCalculated ? 1 : 0);
  return Decode(std::span<const std::uint8_t>(buffer->bytes)
                    .subspan(start, static_cast<std::size_t>(data_size_)));
}

void TField::SetValue(const TValue& value) {
  if (IsBlob()) {
    storage::RaiseDatabaseError(storage::TDbMessage::GeneralError);
  }
  TRecordBuffer& buffer = data_set_.WritableRecordBuffer();
  // Converted aside first, so that a value the field cannot take leaves the buffer as it was.
  std::vector<std::uint8_t> encoded(static_cast<std::size_t>(data_size_), 0);
  const bool present = !access::IsNull(value);
  if (present) {
    Encode(value, encoded);
  }
  std::size_t start = static_cast<std::size_t>(offset_);
  if (kind_ == TFieldKind::fkCalculated) {
    buffer.bytes[start] = present ? 1 : 0;
    ++start;
  }
  std::copy(encoded.begin(), encoded.end(),
            buffer.bytes.begin() + static_cast<std::ptrdiff_t>(start));
  data_set_.FieldChanged(*this);
  if (OnChange) {
    OnChange(*this);
  }
}

void TField::Encode(const TValue& value, std::span<std::uint8_t> target) const {
  switch (type_) {
    case storage::ftString:
    case storage::ftFixedChar: {
      const std::string text = ToText(value);
      // Cut to the declared size; a zero byte ends the text early.
      const std::size_t length =
          std::min<std::size_t>(strnlen(text.data(), text.size()), static_cast<std::size_t>(size_));
      std::fill(target.begin(), target.end(), std::uint8_t{0});
      std::memcpy(target.data(), text.data(), length);
      return;
    }
    case storage::ftBoolean: {
      bool flag = false;
      if (const auto* s = std::get_if<std::string>(&value)) {
        flag = TextToBoolean(*s);
      } else {
        flag = ToFloat(value) != 0;
      }
      storage::StoreWord(target, flag ? 1 : 0);
      return;
    }
    case storage::ftFloat:
    case storage::ftCurrency:
      storage::StoreFloat(target, ToFloat(value));
      return;
    case storage::ftDate:
    case storage::ftTime:
    case storage::ftDateTime: {
      TDateTime date_time;
      if (const auto* s = std::get_if<std::string>(&value)) {
        date_time = type_ == storage::ftDate   ? TextToDate(*s, Format())
                    : type_ == storage::ftTime ? TextToTime(*s, Format())
                                               : TextToDateTime(*s, Format());
      } else {
        date_time = TDateTime{ToFloat(value)};
      }
      if (type_ == storage::ftDate) {
        storage::StoreInteger(target, DateTimeToStoredDate(date_time));
      } else if (type_ == storage::ftTime) {
        storage::StoreInteger(target, DateTimeToStoredTime(date_time));
      } else {
        storage::StoreFloat(target, DateTimeToStoredDateTime(date_time));
      }
      return;
    }
    default:
      break;
  }
  if (!IsIntegerType(type_)) {
    RaiseAccessError(TAccessMessage::InvalidConversion, name_);
  }
  const std::int64_t number = ToInteger(value);
  const TRange range = IntegerRange(type_);
  if (number < range.low || number > range.high) {
    RaiseAccessError(TAccessMessage::ValueOutOfRange, ToText(value));
  }
  switch (type_) {
    case storage::ftSmallint:
      storage::StoreSmallint(target, static_cast<std::int16_t>(number));
      return;
    case storage::ftWord:
      storage::StoreWord(target, static_cast<std::uint16_t>(number));
      return;
    case storage::ftLargeint:
      storage::StoreLargeint(target, number);
      return;
    default:
      storage::StoreInteger(target, static_cast<std::int32_t>(number));
  }
}

TValue TField::Decode(std::span<const std::uint8_t> bytes) const {
  switch (type_) {
    case storage::ftString:
    case storage::ftFixedChar: {
      const auto* text = reinterpret_cast<const char*>(bytes.data());
      return TValue(std::string(text, strnlen(text, bytes.size())));
    }
    case storage::ftSmallint:
      return TValue(std::int64_t{storage::LoadSmallint(bytes)});
    case storage::ftWord:
      return TValue(std::int64_t{storage::LoadWord(bytes)});
    case storage::ftBoolean:
      return TValue(storage::LoadWord(bytes) != 0);
    case storage::ftLargeint:
      return TValue(storage::LoadLargeint(bytes));
    case storage::ftFloat:
    case storage::ftCurrency:
      return TValue(storage::LoadFloat(bytes));
    case storage::ftDate:
      return TValue(StoredDateToDateTime(storage::LoadInteger(bytes)));
    case storage::ftTime:
      return TValue(StoredTimeToDateTime(storage::LoadInteger(bytes)));
    case storage::ftDateTime:
      return TValue(StoredDateTimeToDateTime(storage::LoadFloat(bytes)));
    default:
      return TValue(std::int64_t{storage::LoadInteger(bytes)});
  }
}

std::string TField::AsString() const {
  const TValue value = Value();
  if (const auto* t = std::get_if<TDateTime>(&value)) {
    if (type_ == storage::ftDate) {
      return DateToText(*t, Format());
    }
    if (type_ == storage::ftTime) {
      return TimeToText(*t, Format());
    }
  }
  return ToText(value);
}

std::int64_t TField::AsInteger() const {
  const TValue value = Value();
  if (const auto* s = std::get_if<std::string>(&value)) {
    return s->empty() ? 0 : TextToInteger(*s, Format());
  }
  return ToInteger(value);
}

double TField::AsFloat() const {
  const TValue value = Value();
  if (const auto* s = std::get_if<std::string>(&value)) {
    return s->empty() ? 0 : TextToFloat(*s, Format());
  }
  return ToFloat(value);
}

bool TField::AsBoolean() const {
  const TValue value = Value();
  if (const auto* s = std::get_if<std::string>(&value)) {
    return TextToBoolean(*s);
  }
  return ToFloat(value) != 0;
}

TDateTime TField::AsDateTime() const {
  const TValue value = Value();
  if (const auto* s = std::get_if<std::string>(&value)) {
    return s->empty() ? TDateTime{} : TextToDateTime(*s, Format());
  }
  if (const auto* t = std::get_if<TDateTime>(&value)) {
    return *t;
  }
  return TDateTime{ToFloat(value)};
}

}  // namespace database::access
