#pragma once
// Creating database files: a new file (or memory stream) with its header, data-processing
// block and an empty table directory, and new, empty tables with their fields and indexes.
// Records then go in through the table reader's AppendRecord. What is written follows the
// stored format exactly; bytes the format does not interpret are zero. Used by tests, the
// command-line tool and the wizard's demo package.

#include <cstdint>
#include <string>
#include <vector>

#include "database/storage/stored_defs.h"

namespace database::storage {

class TDBStream;

struct TNewDatabaseOptions {
  bool compress = false;
  std::string compress_algo_name = "ZLIB";  // a registered compression algorithm
  bool encrypt = false;
  std::string encrypt_algo_name = "Blowfish";  // "Blowfish", "Twofish" or "Gost"
  std::uint8_t encrypt_mode = 0;               // cipher mode 0..4
  std::string password;      // stored only as its check text; used when encrypt is set
  bool crc32_check = false;  // read every BLOB back after writing it
};

struct TNewFieldDef {
  std::string name;  // at most 32 characters
  std::uint8_t field_type = 0;
  std::int32_t size = 0;          // the text types' maximum character count
  std::uint8_t process_mode = 0;  // 0: follows the database's encryption and compression
};

struct TNewIndexDef {
  std::string name;
  TIndexOptions options;
  std::vector<std::int32_t> fields;  // field numbers in key order, 1 to 8
};

struct TNewTableDef {
  std::string name;
  std::vector<TNewFieldDef> fields;   // at most 96
  std::vector<TNewIndexDef> indexes;  // at most 8
};

// Writes a new, table-less database of format version "2.0" into `stream`, replacing what
// it held. Raises "Cannot create database: %s" for an option that cannot be stored (an
// unregistered algorithm name, a mode outside 0..4).
void CreateDatabase(TDBStream& stream, const TNewDatabaseOptions& options);
// The same into a new host file at `path` (engine path), replacing any file there.
void CreateDatabaseFile(const std::string& path, const TNewDatabaseOptions& options);

// Adds an empty table at the end of the database in `stream` and enters it in the table
// directory. Raises "Cannot create database: %s" for a definition the format cannot hold
// (names empty or too long, a duplicate table name, too many tables, fields or key fields, a
// field type without a storage form, a key field number outside the fields), and the file
// reader's errors when `stream` is not a database.
void AddTable(TDBStream& stream, const TNewTableDef& table);
// The same on a database file, opened exclusively for the time of the change.
void AddTableToFile(const std::string& path, const TNewTableDef& table);

}  // namespace database::storage
