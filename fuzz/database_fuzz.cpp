// libFuzzer target of the database storage engine: the input is a database in memory, opened
// read-only without a password and again with one, its tables listed and loaded (every list),
// every record read with every BLOB loaded and every field decoded, and the checker run. The
// database error (and the cipher's EEncryptException, which the file reader passes through)
// is the expected answer to a damaged file; anything else escaping, a sanitizer report or a
// hang is a finding.
//
// Seed mode: with QV_FUZZ_SEED_DIR set, the target writes small databases made through the
// creation API (each cipher and mode, compressed or not, with records, an index and BLOBs)
// into that folder and exits; scripts/fuzz.sh uses it to build the corpus.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "crypto/crypto_errors.h"
#include "crypto/memory_stream.h"
#include "database/storage/database_creator.h"
#include "database/storage/database_error.h"
#include "database/storage/db_check.h"
#include "database/storage/db_file_io.h"
#include "database/storage/db_stream.h"
#include "database/storage/field_buffers.h"
#include "database/storage/field_types.h"
#include "database/storage/optim_blob_stream.h"
#include "database/storage/record_format.h"
#include "database/storage/stored_defs.h"
#include "database/storage/table_io.h"

namespace {

using namespace database::storage;

constexpr const char* kPassword = "fuzzpw";

// One record's buffers in stored form for `table`, BLOBs in streams.
struct TRecordBuffers {
  std::vector<std::vector<std::uint8_t>> values;
  std::vector<std::unique_ptr<TOptimBlobStream>> blobs;
  TFieldBuffers buffers;

  explicit TRecordBuffers(const TTableIO& table) {
    for (const TStoredFieldDef& def : table.FieldDefs()) {
      if (IsBlobType(def.FieldType())) {
        values.emplace_back();
        blobs.push_back(std::make_unique<TOptimBlobStream>());
      } else {
        const std::int32_t width = FieldStorageWidth(def.FieldType(), def.Size());
        values.emplace_back(static_cast<std::size_t>(width > 0 ? width : 0), 0);
        blobs.push_back(nullptr);
      }
    }
    const TStoredFieldDefs& defs = table.FieldDefs();
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (blobs[i]) {
        buffers.AddBlob(blobs[i].get(), defs[i].FieldType());
      } else {
        buffers.Add(values[i].data(), defs[i].FieldType(),
                    static_cast<std::int32_t>(values[i].size()));
      }
    }
  }
};

void ReadTable(TDBFileIO& file_io, const std::string& name) {
  TTableIO table(file_io);
  table.SetTableName(name);
  table.Open();
  const int index_count = static_cast<int>(table.IndexDefs().Count());
  for (int i = 1; i <= index_count; ++i) {
    (void)table.RecordList(i);
  }
  const TRecordList list = table.RecordList(0);
  const int field_count = static_cast<int>(table.FieldDefs().Count());
  for (std::size_t position = 0; position < list.size(); ++position) {
    TRecordBuffers record(table);
    table.ReadRecord(record.buffers, list, static_cast<int>(position));
    for (const std::unique_ptr<TOptimBlobStream>& blob : record.blobs) {
      if (blob) {
        (void)blob->Bytes();
      }
    }
    for (int field = 0; field < field_count; ++field) {
      crypto::TMemoryStream value;
      table.ReadFieldOfRecord(value, list[position].RecordNo, field);
    }
  }
  table.Close();
}

void ReadDatabase(const std::string& name, bool with_password) {
  TDBFileIO file_io(mtMemory);
  try {
    file_io.Open(name, mtMemory, 0, true, false);
    if (with_password && !file_io.VerifyPassword(kPassword)) {
      return;
    }
    std::vector<std::string> names;
    file_io.ListTableNames(names);
    for (const std::string& table : names) {
      try {
        ReadTable(file_io, table);
      } catch (const EDatabaseError&) {
      } catch (const crypto::EEncryptException&) {
      }
    }
    (void)CheckDatabase(file_io);
  } catch (const EDatabaseError&) {
  } catch (const crypto::EEncryptException&) {
  }
}

// --- Seed mode ---------------------------------------------------------------------------

void AddRecords(const std::string& name) {
  TDBFileIO file_io(mtMemory);
  file_io.Open(name, mtMemory, 0, false, false);
  file_io.VerifyPassword(kPassword);
  TTableIO table(file_io);
  table.SetTableName("T");
  table.Open();
  for (int i = 0; i < 3; ++i) {
    TRecordBuffers record(table);
    StoreInteger(record.values[0], 30 - i);
    const std::string text = "row " + std::to_string(i);
    std::copy(text.begin(), text.end(), record.values[1].begin());
    record.blobs[2]->Assign(
        std::vector<std::uint8_t>(40 + 20 * i, static_cast<std::uint8_t>('a' + i)));
    table.AppendRecord(record.buffers, false);
  }
  table.Close();
}

void WriteSeeds(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  struct TSeed {
    const char* file;
    bool compress;
    bool encrypt;
    const char* cipher;
    std::uint8_t mode;
  };
  const TSeed seeds[] = {
      {"plain.db", false, false, "Blowfish", 0},
      {"zlib.db", true, false, "Blowfish", 0},
      {"blowfish0.db", false, true, "Blowfish", 0},
      {"blowfish_zlib2.db", true, true, "Blowfish", 2},
      {"twofish1.db", false, true, "Twofish", 1},
      {"twofish_zlib3.db", true, true, "Twofish", 3},
      {"gost4.db", false, true, "Gost", 4},
      {"gost_zlib0.db", true, true, "Gost", 0},
  };
  for (const TSeed& seed : seeds) {
    TNewDatabaseOptions options;
    options.compress = seed.compress;
    options.encrypt = seed.encrypt;
    options.encrypt_algo_name = seed.cipher;
    options.encrypt_mode = seed.mode;
    options.password = kPassword;
    TDBMemoryStream stream;
    CreateDatabase(stream, options);
    TNewTableDef table{"T",
                       {{"K", ftInteger, 0, 0}, {"Name", ftString, 12, 0}, {"Data", ftBlob, 0, 0}},
                       {{"ByK", {}, {0}}, {"ByName", {}, {1}}}};
    AddTable(stream, table);
    TMemoryStreamRegistration registration(stream);
    AddRecords(registration.Name());
    std::ofstream out(dir / seed.file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(stream.Bytes().data()),
              static_cast<std::streamsize>(stream.Bytes().size()));
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (const char* dir = std::getenv("QV_FUZZ_SEED_DIR"); dir != nullptr && *dir != '\0') {
    WriteSeeds(dir);
    std::exit(0);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TDBMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
  const TMemoryStreamRegistration registration(stream);
  ReadDatabase(registration.Name(), false);
  ReadDatabase(registration.Name(), true);
  return 0;
}
