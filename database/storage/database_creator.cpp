#include "database/storage/database_creator.h"

#include <array>
#include <cstddef>
#include <span>

#include "crypto/algo_registry.h"
#include "crypto/hash.h"
#include "crypto/hash_sha.h"
#include "database/storage/database_error.h"
#include "database/storage/db_stream.h"
#include "database/storage/field_types.h"
#include "database/storage/file_header_format.h"
#include "database/storage/fixed_text.h"
#include "database/storage/process_block_format.h"
#include "database/storage/table_directory_format.h"
#include "database/storage/table_header_format.h"
#include "platform/collation.h"
#include "platform/file.h"

namespace database::storage {
namespace {

[[noreturn]] void Refuse(const std::string& why) {
  RaiseDatabaseError(TDbMessage::CannotCreateDatabase, why);
}

void CheckName(const std::string& name, const std::string& what) {
  if (name.empty() || name.size() > kNameSize - 1) {
    Refuse(what + " name '" + name + "' must have 1 to " + std::to_string(kNameSize - 1) +
           " characters");
  }
}

TTableDirectory ReadDirectory(TDBStream& stream) {
  std::array<std::uint8_t, kFileHeaderSize> header{};
  if (stream.ReadAt(kFileHeaderOffset, header) < header.size() ||
      !HasDatabaseSignature(DecodeFileHeader(header))) {
    RaiseDatabaseError(TDbMessage::NotValidDatabase, "");
  }
  std::array<std::uint8_t, kTableDirectorySize> bytes{};
  stream.ReadAt(kTableDirectoryOffset, bytes);
  return DecodeTableDirectory(bytes);
}

void CheckTable(TDBStream& stream, const TTableDirectory& directory, const TNewTableDef& table) {
  CheckName(table.name, "table");
  if (directory.table_count >= static_cast<std::int32_t>(kMaxTables)) {
    Refuse("a database holds at most " + std::to_string(kMaxTables) + " tables");
  }
  for (std::int32_t i = 0; i < directory.table_count; ++i) {
    std::array<std::uint8_t, kNameSize> name{};
    stream.ReadAt(directory.header_offsets[static_cast<std::size_t>(i)], name);
    if (platform::AnsiSameText(ReadFixedText(name), table.name)) {
      Refuse("table '" + table.name + "' exists already");
    }
  }
  if (table.fields.size() > kMaxFields) {
    Refuse("a table has at most " + std::to_string(kMaxFields) + " fields");
  }
  if (table.indexes.size() > kMaxIndexes) {
    Refuse("a table has at most " + std::to_string(kMaxIndexes) + " indexes");
  }
  for (const TNewFieldDef& field : table.fields) {
    CheckName(field.name, "field");
    if (IsTextType(field.field_type) && (field.size < 1 || field.size > 0xFFFF)) {
      Refuse("text field '" + field.name + "' needs a size of 1 to 65535");
    }
    try {
      FieldImageWidth(field.field_type, field.size);
    } catch (const EDatabaseError&) {
      Refuse("field '" + field.name + "' has type " + std::to_string(field.field_type) +
             ", which cannot be stored");
    }
  }
  for (const TNewIndexDef& index : table.indexes) {
    CheckName(index.name, "index");
    if (index.fields.empty() || index.fields.size() > kMaxIndexFields) {
      Refuse("index '" + index.name + "' needs 1 to " + std::to_string(kMaxIndexFields) +
             " key fields");
    }
    for (const std::int32_t field_no : index.fields) {
      if (field_no < 0 || static_cast<std::size_t>(field_no) >= table.fields.size()) {
        Refuse("index '" + index.name + "' names field number " + std::to_string(field_no));
      }
    }
  }
}

}  // namespace

void CreateDatabase(TDBStream& stream, const TNewDatabaseOptions& options) {
  if (options.compress && !crypto::FindCompressAlgo(options.compress_algo_name)) {
    Refuse("compression algorithm '" + options.compress_algo_name + "' is not registered");
  }
  if (options.encrypt && !crypto::FindEncryptAlgo(options.encrypt_algo_name)) {
    Refuse("encryption algorithm '" + options.encrypt_algo_name + "' is not registered");
  }
  if (options.encrypt && options.encrypt_mode > 4) {
    Refuse("cipher mode " + std::to_string(options.encrypt_mode) + " is not 0 to 4");
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kFirstFreeOffset), 0);
  const std::span<std::uint8_t> all(bytes);
  EncodeFileHeader(TFileHeader{std::string(kSignature.begin(), kSignature.end()), kCurrentVersion},
                   all.subspan(kFileHeaderOffset, kFileHeaderSize));
  TDataProcessBlock block;
  if (options.compress) {
    block.compressed = 1;
    block.compress_algo_name = options.compress_algo_name;
  }
  if (options.encrypt) {
    block.encrypted = 1;
    block.encrypt_mode = options.encrypt_mode;
    block.encrypt_algo_name = options.encrypt_algo_name;
    block.password_check = crypto::HashText<crypto::THash_SHA>(options.password);
  }
  block.crc32_check = options.crc32_check ? 1 : 0;
  EncodeDataProcessBlock(block, all.subspan(kDataProcessBlockOffset, kDataProcessBlockSize));
  EncodeTableDirectory(TTableDirectory{}, all.subspan(kTableDirectoryOffset, kTableDirectorySize));
  stream.WriteAt(0, bytes);
}

void CreateDatabaseFile(const std::string& path, const TNewDatabaseOptions& options) {
  {
    platform::TFile file = platform::TFile::Open(path, platform::TFileAccess::ReadWrite,
                                                 platform::TFileShare::Exclusive,
                                                 platform::TFileCreation::CreateAlways);
    file.Truncate(0);
  }
  TDBFileStream stream(path, platform::TFileAccess::ReadWrite, platform::TFileShare::Exclusive);
  CreateDatabase(stream, options);
  stream.Flush();
}

void AddTable(TDBStream& stream, const TNewTableDef& table) {
  TTableDirectory directory = ReadDirectory(stream);
  CheckTable(stream, directory, table);
  TTableHeader header;
  header.name = table.name;
  for (const TNewFieldDef& field : table.fields) {
    header.fields.push_back(
        TFieldEntry{field.name, field.field_type, field.size, field.process_mode});
  }
  for (const TNewIndexDef& index : table.indexes) {
    TIndexEntry entry;
    entry.name = index.name;
    entry.options = index.options.bits;
    std::copy(index.fields.begin(), index.fields.end(), entry.fields.begin());
    header.indexes.push_back(entry);
  }
  std::vector<std::uint8_t> bytes(kTableHeaderSize, 0);
  EncodeTableHeader(header, bytes);
  const std::int64_t offset = stream.Size();
  if (offset + static_cast<std::int64_t>(kTableHeaderSize) > kMaxDatabaseSize) {
    RaiseDatabaseError(TDbMessage::DatabaseFull);
  }
  stream.WriteAt(offset, bytes);
  directory.header_offsets[static_cast<std::size_t>(directory.table_count)] =
      static_cast<std::int32_t>(offset);
  ++directory.table_count;
  std::array<std::uint8_t, kTableDirectorySize> directory_bytes{};
  stream.ReadAt(kTableDirectoryOffset, directory_bytes);
  EncodeTableDirectory(directory, directory_bytes);
  stream.WriteAt(kTableDirectoryOffset, directory_bytes);
}

void AddTableToFile(const std::string& path, const TNewTableDef& table) {
  TDBFileStream stream(path, platform::TFileAccess::ReadWrite, platform::TFileShare::Exclusive);
  AddTable(stream, table);
  stream.Flush();
}

}  // namespace database::storage
