#include "database/access/table_blob_stream.h"

#include "database/access/db_record_data_set.h"
#include "database/access/field.h"
#include "database/storage/database_error.h"
#include "database/storage/optim_blob_stream.h"

namespace database::access {

TTableBlobStream::TTableBlobStream(TField& field, TBlobStreamMode mode)
    : field_(field), mode_(mode) {
  if (!field.IsBlob() || field.FieldNo() < 1) {
    storage::RaiseDatabaseError(storage::TDbMessage::GeneralError);
  }
  TDBRecordDataSet& data_set = field.DataSet();
  TRecordBuffer* buffer = mode == TBlobStreamMode::bmRead ? data_set.CurrentRecordBuffer()
                                                          : &data_set.WritableRecordBuffer();
  if (buffer != nullptr) {
    value_ = buffer->blobs.at(static_cast<std::size_t>(field.FieldNo() - 1)).get();
  }
  if (value_ == nullptr) {
    return;
  }
  if (mode == TBlobStreamMode::bmWrite) {
    value_->Clear();
    data_set.FieldChanged(field_);
  } else {
    // The value is read from its first byte, whatever an earlier stream on it left behind.
    value_->Seek(0);
  }
}

std::size_t TTableBlobStream::Read(void* buffer, std::size_t count) {
  return value_ == nullptr ? 0 : value_->Read(buffer, count);
}

void TTableBlobStream::Write(std::span<const std::uint8_t> bytes) {
  if (mode_ == TBlobStreamMode::bmRead || value_ == nullptr) {
    storage::RaiseDatabaseError(storage::TDbMessage::GeneralError);
  }
  value_->Write(bytes);
  field_.DataSet().FieldChanged(field_);
}

void TTableBlobStream::Seek(std::size_t position) {
  if (value_ != nullptr) {
    value_->Seek(position);
  }
}

std::size_t TTableBlobStream::Position() {
  return value_ == nullptr ? 0 : value_->Position();
}

std::size_t TTableBlobStream::Size() {
  return value_ == nullptr ? 0 : value_->Size();
}

}  // namespace database::access
