// A cursor scan of a 100,000-record table (First, then Next to the end, reading three fields
// by name each time) against SQLite's step loop reading three columns of the same rows, in
// the same run, each figure printed with the ratio (ours / SQLite's rate). Watches the
// target: the cursor scan at least 0.5 of SQLite's rate.
//
// Ours runs twice: through a temporary database object of the default session, as the wizard
// opens a file (shared, so every record read takes the byte lock), and through a database
// object opened exclusively.

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "database/access/database.h"
#include "database/access/table.h"
#include "database/storage/database_creator.h"
#include "database/storage/db_file_io.h"
#include "database/storage/record_format.h"
#include "database/storage/table_io.h"

namespace {

using namespace database;
using TClock = std::chrono::steady_clock;

constexpr int kRecords = 100000;

struct TRow {
  std::string name;
  std::int32_t n;
  double f;
};

std::vector<TRow> MakeRows() {
  std::mt19937 random(42);
  std::vector<TRow> rows;
  for (int i = 0; i < kRecords; ++i) {
    char name[48];
    std::snprintf(name, sizeof name, "Client %08u %d", static_cast<unsigned>(random()), i);
    rows.push_back(
        TRow{name, static_cast<std::int32_t>(random()), static_cast<double>(random()) / 7.0});
  }
  return rows;
}

double Seconds(TClock::time_point start) {
  return std::chrono::duration<double>(TClock::now() - start).count();
}

void MakeOurs(const std::vector<TRow>& rows, const std::string& path) {
  using namespace database::storage;
  CreateDatabaseFile(path, TNewDatabaseOptions{});
  AddTableToFile(path, TNewTableDef{"Bench",
                                    {{"ID", ftAutoInc, 0, 0},
                                     {"Name", ftString, 40, 0},
                                     {"N", ftInteger, 0, 0},
                                     {"F", ftFloat, 0, 0}},
                                    {{"PK", TIndexOptions{}.Include(tiPrimary), {0}}}});
  TDBFileIO io;
  io.Open(path, mtDisk, 0, false, true);
  TTableIO table(io);
  table.SetTableName("Bench");
  table.Open();
  std::array<std::uint8_t, 4> id{};
  std::array<std::uint8_t, 41> name{};
  std::array<std::uint8_t, 4> n{};
  std::array<std::uint8_t, 8> f{};
  for (const TRow& row : rows) {
    id.fill(0);
    name.fill(0);
    std::copy(row.name.begin(), row.name.end(), name.begin());
    StoreInteger(n, row.n);
    StoreFloat(f, row.f);
    TFieldBuffers buffers;
    buffers.Add(id.data(), ftAutoInc, 4);
    buffers.Add(name.data(), ftString, 41);
    buffers.Add(n.data(), ftInteger, 4);
    buffers.Add(f.data(), ftFloat, 8);
    table.AppendRecord(buffers, false);
  }
  io.Flush();
}

// Scans the open cursor; returns the seconds taken.
double Scan(access::TTable& cursor, std::size_t& checksum) {
  const auto start = TClock::now();
  for (cursor.First(); !cursor.Eof(); cursor.Next()) {
    checksum += cursor.FieldByName("Name").AsString().size();
    checksum += static_cast<std::size_t>(cursor.FieldByName("N").AsInteger());
    checksum += static_cast<std::size_t>(cursor.FieldByName("F").AsFloat());
  }
  return Seconds(start);
}

void Check(int rc, sqlite3* db, const char* what) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    std::fprintf(stderr, "sqlite %s: %s\n", what, sqlite3_errmsg(db));
    std::exit(1);
  }
}

double RunSqlite(const std::vector<TRow>& rows, const std::string& path, std::size_t& checksum) {
  std::filesystem::remove(path);
  sqlite3* db = nullptr;
  Check(sqlite3_open(path.c_str(), &db), db, "open");
  Check(sqlite3_exec(db,
                     "PRAGMA synchronous=OFF; CREATE TABLE Bench(ID INTEGER PRIMARY KEY, "
                     "Name TEXT, N INTEGER, F REAL); BEGIN;",
                     nullptr, nullptr, nullptr),
        db, "create");
  sqlite3_stmt* insert = nullptr;
  Check(
      sqlite3_prepare_v2(db, "INSERT INTO Bench(Name, N, F) VALUES(?, ?, ?)", -1, &insert, nullptr),
      db, "prepare");
  for (const TRow& row : rows) {
    sqlite3_bind_text(insert, 1, row.name.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_int(insert, 2, row.n);
    sqlite3_bind_double(insert, 3, row.f);
    Check(sqlite3_step(insert), db, "insert");
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  Check(sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr), db, "commit");
  sqlite3_stmt* scan = nullptr;
  Check(sqlite3_prepare_v2(db, "SELECT Name, N, F FROM Bench ORDER BY ID", -1, &scan, nullptr), db,
        "prepare");
  const auto start = TClock::now();
  while (sqlite3_step(scan) == SQLITE_ROW) {
    checksum += static_cast<std::size_t>(sqlite3_column_bytes(scan, 0));
    checksum += static_cast<std::size_t>(sqlite3_column_int(scan, 1));
    checksum += static_cast<std::size_t>(sqlite3_column_double(scan, 2));
    (void)sqlite3_column_text(scan, 0);
  }
  const double seconds = Seconds(start);
  sqlite3_finalize(scan);
  sqlite3_close(db);
  return seconds;
}

void Print(const char* what, double ours_s, double sqlite_s) {
  const double ours_rate = kRecords / ours_s;
  const double sqlite_rate = kRecords / sqlite_s;
  std::printf("%-34s ours %12.0f rec/s   SQLite %12.0f rec/s   ratio %.2f\n", what, ours_rate,
              sqlite_rate, ours_rate / sqlite_rate);
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path dir =
      argc > 1 ? argv[1] : std::filesystem::temp_directory_path().string();
  const std::string ours_path = (dir / "qv_access_bench.zmc").string();
  const std::string sqlite_path = (dir / "qv_access_bench.sqlite").string();
  const std::vector<TRow> rows = MakeRows();
  MakeOurs(rows, ours_path);
  std::size_t ours_sum = 0;
  std::size_t sqlite_sum = 0;
  const double sqlite_s = RunSqlite(rows, sqlite_path, sqlite_sum);

  double shared_s = 0;
  {
    access::TTable cursor(nullptr);
    cursor.SetDatabaseName(ours_path);
    cursor.SetTableName("Bench");
    cursor.Open();
    Scan(cursor, ours_sum);  // warm the page cache of the host
    ours_sum = 0;
    shared_s = Scan(cursor, ours_sum);
  }
  double exclusive_s = 0;
  {
    access::TDatabase database(nullptr);
    database.SetDatabaseName("BenchDb");
    database.SetFileName(ours_path);
    database.SetExclusive(true);
    database.SetConnected(true);
    access::TTable cursor(nullptr);
    cursor.SetDatabaseName("BenchDb");
    cursor.SetTableName("Bench");
    cursor.Open();
    std::size_t sum = 0;
    exclusive_s = Scan(cursor, sum);
  }
  if (ours_sum != sqlite_sum) {
    std::fprintf(stderr, "checksums differ: %zu against %zu\n", ours_sum, sqlite_sum);
  }
  std::printf("Cursor scan of %d records, three fields by name (target ratio >= 0.5)\n", kRecords);
  Print("scan, shared open (wizard's path)", shared_s, sqlite_s);
  Print("scan, exclusive open", exclusive_s, sqlite_s);
  std::filesystem::remove(ours_path);
  std::filesystem::remove(sqlite_path);
  return 0;
}
