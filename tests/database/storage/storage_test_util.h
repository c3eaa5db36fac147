#pragma once
// Shared fixtures of the storage tests: a database in memory made through the creation API,
// and a record buffer that holds one value per field in its stored form.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "crypto/memory_stream.h"
#include "database/storage/database_creator.h"
#include "database/storage/db_file_io.h"
#include "database/storage/db_stream.h"
#include "database/storage/field_buffers.h"
#include "database/storage/field_types.h"
#include "database/storage/optim_blob_stream.h"
#include "database/storage/record_format.h"
#include "database/storage/table_io.h"

namespace database::storage::test {

// A memory database, registered and open through a file reader, with its tables' readers.
class TMemoryDatabase {
 public:
  explicit TMemoryDatabase(const TNewDatabaseOptions& options = {},
                           const std::vector<TNewTableDef>& tables = {})
      : registration_(stream_), file_io_(mtMemory) {
    CreateDatabase(stream_, options);
    for (const TNewTableDef& table : tables) {
      AddTable(stream_, table);
    }
    Open(options.password);
  }

  void Open(const std::string& password = {}) {
    file_io_.Open(registration_.Name(), mtMemory, 0, false, false);
    file_io_.VerifyPassword(password);
  }
  // Closes every table reader and the file, then opens the file again (a fresh load).
  void Reopen(const std::string& password = {}) {
    tables_.clear();
    file_io_.Close();
    Open(password);
  }

  TTableIO& Table(const std::string& name) {
    auto table = std::make_unique<TTableIO>(file_io_);
    table->SetTableName(name);
    table->Open();
    tables_.push_back(std::move(table));
    return *tables_.back();
  }

  TDBMemoryStream& Stream() { return stream_; }
  std::vector<std::uint8_t>& Bytes() { return stream_.MutableBytes(); }
  TDBFileIO& FileIO() { return file_io_; }
  const std::string& Name() const { return registration_.Name(); }

 private:
  TDBMemoryStream stream_;
  TMemoryStreamRegistration registration_;
  TDBFileIO file_io_;
  std::vector<std::unique_ptr<TTableIO>> tables_;
};

// One record's values in stored form, one buffer per field of the table (BLOBs in streams).
class TRecordBuffer {
 public:
  explicit TRecordBuffer(const TTableIO& table) {
    for (const TStoredFieldDef& def : table.FieldDefs()) {
      types_.push_back(def.FieldType());
      if (IsBlobType(def.FieldType())) {
        values_.emplace_back();
        blobs_.push_back(std::make_unique<TOptimBlobStream>());
      } else {
        values_.emplace_back(
            static_cast<std::size_t>(FieldStorageWidth(def.FieldType(), def.Size())), 0);
        blobs_.push_back(nullptr);
      }
    }
    active_.assign(types_.size(), true);
  }

  TRecordBuffer& Text(std::size_t i, const std::string& text) {
    std::fill(values_[i].begin(), values_[i].end(), 0);
    std::copy_n(text.begin(), std::min(text.size(), values_[i].size() - 1), values_[i].begin());
    return *this;
  }
  TRecordBuffer& Int(std::size_t i, std::int64_t value) {
    switch (types_[i]) {
      case ftSmallint:
        StoreSmallint(values_[i], static_cast<std::int16_t>(value));
        break;
      case ftWord:
      case ftBoolean:
        StoreWord(values_[i], static_cast<std::uint16_t>(value));
        break;
      case ftLargeint:
        StoreLargeint(values_[i], value);
        break;
      default:
        StoreInteger(values_[i], static_cast<std::int32_t>(value));
    }
    return *this;
  }
  TRecordBuffer& Float(std::size_t i, double value) {
    StoreFloat(values_[i], value);
    return *this;
  }
  TRecordBuffer& Blob(std::size_t i, const std::vector<std::uint8_t>& bytes) {
    blobs_[i]->Assign(bytes);
    return *this;
  }
  TRecordBuffer& Inactive(std::size_t i) {
    active_[i] = false;
    return *this;
  }

  std::vector<std::uint8_t>& Value(std::size_t i) { return values_[i]; }
  std::string TextOf(std::size_t i) const {
    return std::string(reinterpret_cast<const char*>(values_[i].data()));
  }
  std::int32_t IntOf(std::size_t i) const { return LoadInteger(values_[i]); }
  double FloatOf(std::size_t i) const { return LoadFloat(values_[i]); }
  TOptimBlobStream& BlobOf(std::size_t i) { return *blobs_[i]; }
  std::vector<std::uint8_t> BlobBytes(std::size_t i) {
    const auto bytes = blobs_[i]->Bytes();
    return {bytes.begin(), bytes.end()};
  }

  TFieldBuffers Buffers() {
    TFieldBuffers buffers;
    for (std::size_t i = 0; i < types_.size(); ++i) {
      if (!active_[i]) {
        buffers.AddInactive();
      } else if (blobs_[i]) {
        buffers.AddBlob(blobs_[i].get(), types_[i]);
      } else {
        buffers.Add(values_[i].data(), types_[i], static_cast<std::int32_t>(values_[i].size()));
      }
    }
    return buffers;
  }

 private:
  std::vector<std::uint8_t> types_;
  std::vector<std::vector<std::uint8_t>> values_;
  std::vector<std::unique_ptr<TOptimBlobStream>> blobs_;
  std::vector<bool> active_;
};

// Appends one record from `record`; returns its record number.
inline std::int32_t Append(TTableIO& table, TRecordBuffer& record) {
  TFieldBuffers buffers = record.Buffers();
  table.AppendRecord(buffers, false);
  return table.Header().record_total - 1;
}

inline std::int32_t ReadInt32At(const std::vector<std::uint8_t>& bytes, std::int64_t offset) {
  return LoadInteger(
      std::span<const std::uint8_t>(bytes).subspan(static_cast<std::size_t>(offset), 4));
}

}  // namespace database::storage::test
