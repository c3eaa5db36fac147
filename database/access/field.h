#pragma once
// A field object of a cursor: one column of the table (or a calculated column), giving and
// taking its value in the current record buffer of its cursor, with the conversions between
// texts, numbers, Booleans and date-times. Created by the cursor when it opens (data fields)
// or before (calculated fields); a data field object lives until the cursor closes.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "database/access/field_value.h"
#include "database/storage/field_types.h"

namespace database::access {

class TDBRecordDataSet;
class TRecordBuffer;

enum class TFieldKind : std::uint8_t { fkData, fkCalculated };

// Points at its cursor, which owns it.
class TField final {
 public:
  TField(TDBRecordDataSet& data_set, std::string name, storage::TFieldType type, std::int32_t size,
         int field_no, TFieldKind kind);
  TField(const TField&) = delete;
  TField& operator=(const TField&) = delete;

  const std::string& FieldName() const { return name_; }
  storage::TFieldType DataType() const { return type_; }
  // The declared size: the text types' character count, 0 for the others.
  std::int32_t Size() const { return size_; }
  // 1 and up for data fields, in table order; 0 for calculated fields.
  int FieldNo() const { return field_no_; }
  TFieldKind FieldKind() const { return kind_; }
  bool IsBlob() const { return storage::IsBlobType(type_); }
  // Bytes the value takes in a record buffer (0 for a BLOB field, whose value is a stream).
  std::int32_t DataSize() const { return data_size_; }
  // Position of the value in a record buffer; for a calculated field, of its presence byte.
  std::int32_t Offset() const { return offset_; }
  void SetOffset(std::int32_t offset) { offset_ = offset; }
  TDBRecordDataSet& DataSet() const { return data_set_; }

  // True when there is no value: no current record, or a calculated field not computed.
  bool IsNull() const;
  // The value in its natural kind: text for the text types, whole numbers, Booleans, doubles
  // for Float and Currency, date-times for Date, Time and DateTime. Raises "General error"
  // for a BLOB field.
  TValue Value() const;
  // Converts `value` to the field's type and writes it into the buffer of the current state.
  // Raises the conversion's error, "General error" for a BLOB field, "Cannot perform this
  // operation on a closed dataset" and "Dataset not in edit or insert mode" (cursor named)
  // outside a state that takes values; nothing is written when it raises.
  void SetValue(const TValue& value);

  std::string AsString() const;
  std::int64_t AsInteger() const;
  double AsFloat() const;
  bool AsBoolean() const;
  TDateTime AsDateTime() const;
  void SetAsString(std::string_view text) { SetValue(TValue(std::string(text))); }
  void SetAsInteger(std::int64_t value) { SetValue(TValue(value)); }
  void SetAsFloat(double value) { SetValue(TValue(value)); }
  void SetAsBoolean(bool value) { SetValue(TValue(value)); }
  void SetAsDateTime(TDateTime value) { SetValue(TValue(value)); }

  // Raised after a value was written.
  std::function<void(TField& sender)> OnChange;

 private:
  // The stored form of `value` for this field's type, `data_size_` bytes.
  void Encode(const TValue& value, std::span<std::uint8_t> target) const;
  TValue Decode(std::span<const std::uint8_t> bytes) const;

  TDBRecordDataSet& data_set_;
  std::string name_;
  storage::TFieldType type_;
  std::int32_t size_;
  int field_no_;
  TFieldKind kind_;
  std::int32_t data_size_ = 0;
  std::int32_t offset_ = 0;  // bytes from the start of a record buffer
};

}  // namespace database::access
