#include "database/storage/optim_blob_stream.h"

#include "database/storage/db_file_io.h"
#include "database/storage/field_types.h"

namespace database::storage {

void TOptimBlobStream::SetSource(TDBFileIO* file_io, std::int32_t header_position, bool encrypted,
                                 bool compressed) {
  file_io_ = file_io;
  header_position_ = header_position;
  encrypted_ = encrypted;
  compressed_ = compressed;
  loaded_ = false;
  // The content belonged to the record read before; a write made before the next load must
  // not be mixed with its bytes.
  content_.Clear();
}

void TOptimBlobStream::LazyLoad() {
  if (header_position_ == 0 || loaded_ || file_io_ == nullptr) {
    return;
  }
  loaded_ = true;
  content_.Clear();
  file_io_->ReadFieldData(content_, header_position_, kBlobFieldWidth, true, encrypted_,
                          compressed_);
  content_.SetPosition(0);
}

std::size_t TOptimBlobStream::Read(void* buffer, std::size_t count) {
  LazyLoad();
  return content_.Read(buffer, count);
}

void TOptimBlobStream::Seek(std::size_t position) {
  LazyLoad();
  content_.SetPosition(position);
}

std::size_t TOptimBlobStream::Position() {
  LazyLoad();
  return content_.Position();
}

std::size_t TOptimBlobStream::Size() {
  LazyLoad();
  return content_.Size();
}

std::span<const std::uint8_t> TOptimBlobStream::Bytes() {
  LazyLoad();
  return content_.Bytes();
}

const crypto::TMemoryStream& TOptimBlobStream::Content() {
  LazyLoad();
  return content_;
}

void TOptimBlobStream::Write(const void* buffer, std::size_t count) {
  loaded_ = true;
  content_.Write(buffer, count);
}

void TOptimBlobStream::SetSize(std::size_t size) {
  loaded_ = true;
  content_.SetSize(size);
}

void TOptimBlobStream::Clear() {
  loaded_ = true;
  content_.Clear();
}

void TOptimBlobStream::Assign(std::span<const std::uint8_t> bytes) {
  loaded_ = true;
  content_.Assign(bytes);
}

}  // namespace database::storage
