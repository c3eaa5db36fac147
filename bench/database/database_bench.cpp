// Appending, reading and looking up 100,000 records, ours and SQLite's on the same data in the
// same run, each figure printed with the ratio (ours / SQLite's rate). Watches the targets:
// appends at least 0.5 of SQLite's rate, the full read at least 0.5, lookups at least 0.25,
// and an open 100,000-record table holding at most 16 MB.
//
// Ours: an encrypted (Blowfish, mode 0) and compressed database opened exclusively, a table
// with an auto-increment primary index, a Text(40) field with an index, an Integer, a Float
// and a 200-byte BLOB. SQLite: the same columns and index, the appends in one transaction with
// synchronous=OFF.

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "database/storage/database_creator.h"
#include "database/storage/db_file_io.h"
#include "database/storage/field_types.h"
#include "database/storage/optim_blob_stream.h"
#include "database/storage/record_format.h"
#include "database/storage/table_io.h"

namespace {

// Live heap bytes of the process, to weigh an open table.
std::atomic<std::int64_t> g_live_bytes{0};

}  // namespace

void* operator new(std::size_t size) {
  void* p = std::malloc(size + 16);
  if (p == nullptr) {
    throw std::bad_alloc();
  }
  *static_cast<std::size_t*>(p) = size;
  g_live_bytes += static_cast<std::int64_t>(size);
  return static_cast<char*>(p) + 16;
}

void operator delete(void* p) noexcept {
  if (p != nullptr) {
    char* block = static_cast<char*>(p) - 16;
    g_live_bytes -= static_cast<std::int64_t>(*reinterpret_cast<std::size_t*>(block));
    std::free(block);
  }
}

void operator delete(void* p, std::size_t) noexcept {
  operator delete(p);
}

namespace {

using namespace database::storage;
using TClock = std::chrono::steady_clock;

constexpr int kRecords = 100000;
constexpr int kLookups = 10000;
constexpr int kBlobSize = 200;
constexpr char kPassword[] = "benchmark";

struct TRow {
  std::string name;
  std::int32_t n;
  double f;
  std::vector<std::uint8_t> blob;
};

std::vector<TRow> MakeRows() {
  std::mt19937 random(42);
  std::vector<TRow> rows;
  rows.reserve(kRecords);
  for (int i = 0; i < kRecords; ++i) {
    TRow row;
    char name[48];
    std::snprintf(name, sizeof name, "Client %08u %d", static_cast<unsigned>(random()), i);
    row.name = name;
    row.n = static_cast<std::int32_t>(random());
    row.f = static_cast<double>(random()) / 7.0;
    row.blob.resize(kBlobSize);
    for (int k = 0; k < kBlobSize; ++k) {
      row.blob[static_cast<std::size_t>(k)] =
          static_cast<std::uint8_t>((k % 16 == 0) ? random() : k + i);
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

double Seconds(TClock::time_point start) {
  return std::chrono::duration<double>(TClock::now() - start).count();
}

struct TFigures {
  double append_s = 0;
  double read_s = 0;       // every field, BLOB values included
  double read_lazy_s = 0;  // the fixed-size fields; BLOB values not fetched
  double lookup_s = 0;
  std::int64_t table_bytes = 0;
};

// One record's buffers: ID, Name, N, F, Data.
struct TBuffers {
  std::array<std::uint8_t, 4> id{};
  std::array<std::uint8_t, 41> name{};
  std::array<std::uint8_t, 4> n{};
  std::array<std::uint8_t, 8> f{};
  TOptimBlobStream data;

  TFieldBuffers Make() {
    TFieldBuffers buffers;
    buffers.Add(id.data(), ftAutoInc, 4);
    buffers.Add(name.data(), ftString, 41);
    buffers.Add(n.data(), ftInteger, 4);
    buffers.Add(f.data(), ftFloat, 8);
    buffers.AddBlob(&data, ftBlob);
    return buffers;
  }
  void SetName(const std::string& text) {
    name.fill(0);
    std::copy(text.begin(), text.end(), name.begin());
  }
};

TFigures RunOurs(const std::vector<TRow>& rows, const std::vector<int>& lookups,
                 const std::string& path) {
  TNewDatabaseOptions options;
  options.encrypt = true;
  options.encrypt_algo_name = "Blowfish";
  options.encrypt_mode = 0;
  options.password = kPassword;
  options.compress = true;
  CreateDatabaseFile(path, options);
  AddTableToFile(
      path, TNewTableDef{"Bench",
                         {{"ID", ftAutoInc, 0, 0},
                          {"Name", ftString, 40, 0},
                          {"N", ftInteger, 0, 0},
                          {"F", ftFloat, 0, 0},
                          {"Data", ftBlob, 0, 0}},
                         {{"PK", TIndexOptions{}.Include(tiPrimary), {0}}, {"ByName", {}, {1}}}});
  TFigures figures;
  {
    TDBFileIO io;
    io.Open(path, mtDisk, 0, false, true);
    io.VerifyPassword(kPassword);
    TTableIO table(io);
    table.SetTableName("Bench");
    table.Open();
    TBuffers record;
    const auto start = TClock::now();
    for (const TRow& row : rows) {
      record.id.fill(0);
      record.SetName(row.name);
      StoreInteger(record.n, row.n);
      StoreFloat(record.f, row.f);
      record.data.Assign(row.blob);
      TFieldBuffers buffers = record.Make();
      table.AppendRecord(buffers, false);
    }
    // SQLite runs with synchronous=OFF and never syncs; our flush (an fsync) stays outside
    // the timing so that both sides do the same work: every write handed to the OS.
    figures.append_s = Seconds(start);
    io.Flush();
  }
  TDBFileIO io;
  io.Open(path, mtDisk, 0, false, true);
  io.VerifyPassword(kPassword);
  const std::int64_t before = g_live_bytes;
  TTableIO table(io);
  table.SetTableName("Bench");
  table.Open();
  figures.table_bytes = g_live_bytes - before;

  TBuffers record;
  TFieldBuffers buffers = record.Make();
  std::size_t checksum = 0;
  const TRecordList& physical = table.RecordList(0);
  auto start = TClock::now();
  for (std::size_t p = 0; p < physical.size(); ++p) {
    table.ReadRecord(buffers, physical, static_cast<int>(p));
    checksum += record.name[7];
  }
  figures.read_lazy_s = Seconds(start);
  start = TClock::now();
  for (std::size_t p = 0; p < physical.size(); ++p) {
    table.ReadRecord(buffers, physical, static_cast<int>(p));
    checksum += record.data.Size() + record.name[7];
  }
  figures.read_s = Seconds(start);

  const TRecordList& by_name = table.RecordList(2);
  TBuffers key;
  TFieldBuffers key_buffers = key.Make();
  start = TClock::now();
  for (const int i : lookups) {
    key.SetName(rows[static_cast<std::size_t>(i)].name);
    const TSearchResult found = table.SearchIndex(key_buffers, by_name, false, 0, 1);
    if (found.state != 0) {
      std::fprintf(stderr, "lookup of %s failed\n", rows[static_cast<std::size_t>(i)].name.c_str());
      std::exit(1);
    }
    table.ReadRecord(buffers, by_name, found.position);
    checksum += record.data.Size();
  }
  figures.lookup_s = Seconds(start);
  if (checksum == 0) {
    std::puts("");
  }
  return figures;
}

void Check(int rc, sqlite3* db, const char* what) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    std::fprintf(stderr, "sqlite %s: %s\n", what, sqlite3_errmsg(db));
    std::exit(1);
  }
}

TFigures RunSqlite(const std::vector<TRow>& rows, const std::vector<int>& lookups,
                   const std::string& path) {
  std::filesystem::remove(path);
  sqlite3* db = nullptr;
  Check(sqlite3_open(path.c_str(), &db), db, "open");
  Check(sqlite3_exec(db, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr), db, "pragma");
  Check(sqlite3_exec(db,
                     "CREATE TABLE bench(id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, n "
                     "INTEGER, f REAL, data BLOB);"
                     "CREATE INDEX by_name ON bench(name);",
                     nullptr, nullptr, nullptr),
        db, "create");
  TFigures figures;
  sqlite3_stmt* insert = nullptr;
  Check(sqlite3_prepare_v2(db, "INSERT INTO bench(name, n, f, data) VALUES(?, ?, ?, ?)", -1,
                           &insert, nullptr),
        db, "prepare");
  auto start = TClock::now();
  Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
  for (const TRow& row : rows) {
    sqlite3_bind_text(insert, 1, row.name.c_str(), static_cast<int>(row.name.size()),
                      SQLITE_STATIC);
    sqlite3_bind_int(insert, 2, row.n);
    sqlite3_bind_double(insert, 3, row.f);
    sqlite3_bind_blob(insert, 4, row.blob.data(), static_cast<int>(row.blob.size()), SQLITE_STATIC);
    Check(sqlite3_step(insert), db, "insert");
    sqlite3_reset(insert);
  }
  Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
  figures.append_s = Seconds(start);
  sqlite3_finalize(insert);

  std::size_t checksum = 0;
  sqlite3_stmt* fixed = nullptr;
  Check(sqlite3_prepare_v2(db, "SELECT id, name, n, f FROM bench ORDER BY id", -1, &fixed, nullptr),
        db, "prepare");
  start = TClock::now();
  while (sqlite3_step(fixed) == SQLITE_ROW) {
    checksum += sqlite3_column_text(fixed, 1)[7];
  }
  figures.read_lazy_s = Seconds(start);
  sqlite3_finalize(fixed);
  sqlite3_stmt* all = nullptr;
  Check(sqlite3_prepare_v2(db, "SELECT id, name, n, f, data FROM bench ORDER BY id", -1, &all,
                           nullptr),
        db, "prepare");
  start = TClock::now();
  while (sqlite3_step(all) == SQLITE_ROW) {
    checksum +=
        static_cast<std::size_t>(sqlite3_column_bytes(all, 4)) + sqlite3_column_text(all, 1)[7];
  }
  figures.read_s = Seconds(start);
  sqlite3_finalize(all);

  sqlite3_stmt* find = nullptr;
  Check(sqlite3_prepare_v2(db, "SELECT id, name, n, f, data FROM bench WHERE name = ?", -1, &find,
                           nullptr),
        db, "prepare");
  start = TClock::now();
  for (const int i : lookups) {
    const std::string& name = rows[static_cast<std::size_t>(i)].name;
    sqlite3_bind_text(find, 1, name.c_str(), static_cast<int>(name.size()), SQLITE_STATIC);
    if (sqlite3_step(find) != SQLITE_ROW) {
      std::fprintf(stderr, "sqlite lookup failed\n");
      std::exit(1);
    }
    checksum += static_cast<std::size_t>(sqlite3_column_bytes(find, 4));
    sqlite3_reset(find);
  }
  figures.lookup_s = Seconds(start);
  sqlite3_finalize(find);
  sqlite3_close(db);
  if (checksum == 0) {
    std::puts("");
  }
  return figures;
}

void Print(const char* what, double ours_s, double sqlite_s, int count, double target) {
  const double ours_rate = count / ours_s;
  const double sqlite_rate = count / sqlite_s;
  const double ratio = ours_rate / sqlite_rate;
  std::printf("%-28s ours %10.0f /s   sqlite %10.0f /s   ratio %.2f (target >= %.2f) %s\n", what,
              ours_rate, sqlite_rate, ratio, target, ratio >= target ? "ok" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : std::filesystem::temp_directory_path().string();
  const std::vector<TRow> rows = MakeRows();
  std::mt19937 random(7);
  std::vector<int> lookups;
  for (int i = 0; i < kLookups; ++i) {
    lookups.push_back(static_cast<int>(random() % kRecords));
  }
  const TFigures sqlite = RunSqlite(rows, lookups, dir + "/qv_bench_database.sqlite");
  const TFigures ours = RunOurs(rows, lookups, dir + "/qv_bench_database.zmc");
  std::printf("database benchmark, %d records, %d lookups\n", kRecords, kLookups);
  Print("append (records)", ours.append_s, sqlite.append_s, kRecords, 0.5);
  Print("read all, BLOBs included", ours.read_s, sqlite.read_s, kRecords, 0.5);
  Print("read all, BLOBs not fetched", ours.read_lazy_s, sqlite.read_lazy_s, kRecords, 0.5);
  Print("lookup by text index", ours.lookup_s, sqlite.lookup_s, kLookups, 0.25);
  std::printf("%-28s ours %10.1f MB (target <= 16 MB) %s\n", "open table, heap",
              ours.table_bytes / 1048576.0, ours.table_bytes <= 16 * 1048576 ? "ok" : "MISSED");
  std::filesystem::remove(dir + "/qv_bench_database.sqlite");
  std::filesystem::remove(dir + "/qv_bench_database.zmc");
  return 0;
}
