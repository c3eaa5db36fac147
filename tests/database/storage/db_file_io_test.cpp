// The file reader: open checks and their messages, memory databases, passwords, the file lock,
// table names and the flushed flag.

#include "database/storage/db_file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "database/storage/database_creator.h"
#include "database/storage/database_error.h"
#include "database/storage/file_header_format.h"
#include "database/storage/process_block_format.h"
#include "platform/file_system.h"
#include "storage_test_util.h"

namespace database::storage {
namespace {

namespace fs = std::filesystem;

class TDBFileIOTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("qv_dbio_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(Path("db"), fs::perms::owner_write, fs::perm_options::add, ignored);
    fs::remove_all(dir_, ignored);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  // A new database file with one table "T", then its bytes patched by `patch`.
  std::string MakeFile(const TNewDatabaseOptions& options = {},
                       const std::function<void(std::vector<std::uint8_t>&)>& patch = {}) {
    const std::string path = Path("db");
    CreateDatabaseFile(path, options);
    AddTableToFile(path, TNewTableDef{"T", {{"A", ftInteger, 0, 0}}, {}});
    if (patch) {
      std::vector<std::uint8_t> bytes = ReadAll(path);
      patch(bytes);
      std::ofstream(path, std::ios::binary | std::ios::trunc)
          .write(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()));
    }
    return path;
  }

  static std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  static std::string OpenError(const std::string& path, TDBMediumType medium = mtDisk) {
    TDBFileIO io;
    try {
      io.Open(path, medium, 0, false, false);
    } catch (const EDatabaseError& error) {
      return error.what();
    }
    return "";
  }

  fs::path dir_;
};

void SetVersion(std::vector<std::uint8_t>& bytes, const std::string& version) {
  std::fill_n(bytes.begin() + kVersionOffset, kVersionSize, 0);
  std::copy(version.begin(), version.end(), bytes.begin() + kVersionOffset);
}

TEST_F(TDBFileIOTest, VersionChecks) {
  struct TCase {
    const char* version;
    const char* error;
  };
  const TCase cases[] = {
      {"2.0", ""},
      {"1.5", ""},
      {"1.00", "Version 1.00 is not compatible"},
      {"2.00", "Version of database file is too High"},
      {"2.1", "Version of database file is too High"},
  };
  for (const TCase& c : cases) {
    const std::string path = MakeFile({}, [&](auto& bytes) { SetVersion(bytes, c.version); });
    EXPECT_EQ(OpenError(path), c.error) << c.version;
  }
}

TEST_F(TDBFileIOTest, SignatureAndMissingFileMessages) {
  EXPECT_EQ(OpenError(Path("none")), "Cannot open file " + Path("none"));
  const std::string path = MakeFile({}, [](auto& bytes) { bytes[6] = 'X'; });
  EXPECT_EQ(OpenError(path), "Database file '" + path + "' is not a valid database");
  const std::string shortened = MakeFile({}, [](auto& bytes) { bytes.resize(11); });
  EXPECT_EQ(OpenError(shortened), "Database file '" + shortened + "' is not a valid database");
}

TEST_F(TDBFileIOTest, AlgorithmNamesAreLookedAtOnlyWhenTheirFlagIsSet) {
  const auto name_bogus = [](auto& bytes) {
    std::copy_n("Deflate", 8, bytes.begin() + kDataProcessBlockOffset + kCompressAlgoNameOffset);
  };
  EXPECT_EQ(OpenError(MakeFile({}, name_bogus)), "");
  const std::string path = MakeFile({}, [&](auto& bytes) {
    name_bogus(bytes);
    bytes[kDataProcessBlockOffset + kCompressedOffset] = 1;
  });
  EXPECT_EQ(OpenError(path), "Compression algorithm module 'Deflate' not found");
}

TEST_F(TDBFileIOTest, VerifyPassword) {
  TDBFileIO plain;
  EXPECT_FALSE(plain.VerifyPassword("x"));  // not open
  plain.Open(MakeFile(), mtDisk, 0, false, false);
  EXPECT_TRUE(plain.VerifyPassword(""));
  EXPECT_TRUE(plain.VerifyPassword("anything"));
  plain.Close();

  TNewDatabaseOptions options;
  options.encrypt = true;
  options.password = "zapto";
  TDBFileIO io;
  io.Open(MakeFile(options), mtDisk, 0, false, false);
  EXPECT_FALSE(io.VerifyPassword("Zapto"));
  std::uint8_t byte = 1;
  EXPECT_ANY_THROW(io.EncodeBuffer(&byte, &byte, true, 1));  // no key yet
  EXPECT_TRUE(io.VerifyPassword("zapto"));
  EXPECT_NO_THROW(io.EncodeBuffer(&byte, &byte, true, 1));
}

TEST_F(TDBFileIOTest, ReadOnlyAttributeOpensForReadingOnly) {
  const std::string path = MakeFile();
  ASSERT_TRUE(platform::FileSetAttr(path, platform::kFileAttrReadOnly));
  TDBFileIO io;
  io.Open(path, mtDisk, 0, false, false);
  EXPECT_TRUE(io.FileIsReadOnly());
  const std::uint8_t byte = 0;
  try {
    io.WriteAt(5000, std::span<const std::uint8_t>(&byte, 1));
    ADD_FAILURE();
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Cannot modify a read-only database");
  }
}

TEST_F(TDBFileIOTest, MemoryNames) {
  TDBMemoryStream stream;
  CreateDatabase(stream, {});
  // Register streams until one gets a handle with a hexadecimal letter among its digits.
  std::vector<std::unique_ptr<TMemoryStreamRegistration>> registrations;
  do {
    registrations.push_back(std::make_unique<TMemoryStreamRegistration>(stream));
  } while (registrations.back()->Name().find_first_of("ABCDEF") == std::string::npos);
  std::string lower = registrations.back()->Name();
  for (char& c : lower) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  {
    TDBFileIO io;
    io.Open(lower, mtMemory, 0, false, false);
    EXPECT_TRUE(io.IsOpen());
    EXPECT_EQ(io.TableCount(), 0);
    std::vector<std::string> names{"stale"};
    io.ListTableNames(names);
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(io.IsFlushed());
    io.WriteAt(io.FileSize(), std::vector<std::uint8_t>{1});
    EXPECT_TRUE(io.IsFlushed());
    io.Close();
  }
  EXPECT_EQ(stream.Bytes().size(), static_cast<std::size_t>(kFirstFreeOffset) + 1);  // alive
  for (const std::string bad : {"1A2B", ":12G", ":", ""}) {
    EXPECT_EQ(OpenError(bad, mtMemory), "Invalid database name '" + bad + "'") << bad;
  }
}

TEST_F(TDBFileIOTest, FlushedFlagFollowsWritesAndFlush) {
  TDBFileIO io;
  io.Open(MakeFile(), mtDisk, 0, false, false);
  EXPECT_TRUE(io.IsFlushed());
  io.WriteAt(io.FileSize(), std::vector<std::uint8_t>{1});
  EXPECT_FALSE(io.IsFlushed());
  io.Flush();
  EXPECT_TRUE(io.IsFlushed());
}

TEST_F(TDBFileIOTest, ListTableNamesInDirectoryOrder) {
  const std::string path = MakeFile();
  AddTableToFile(path, TNewTableDef{"Societe", {{"A", ftInteger, 0, 0}}, {}});
  TDBFileIO io;
  io.Open(path, mtDisk, 0, false, false);
  std::vector<std::string> names;
  io.ListTableNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"T", "Societe"}));
}

TEST_F(TDBFileIOTest, LockHeldByAnotherHandleTimesOut) {
  const std::string path = MakeFile();
  TDBFileIO holder;
  holder.Open(path, mtDisk, 0, false, false);
  TDBFileIO waiter;
  waiter.Open(path, mtDisk, 0, false, false);
  waiter.SetLockRetrySource([] { return TLockRetryRule{3, 1}; });
  holder.AcquireLock();
  holder.AcquireLock();  // nested: still one lock
  try {
    waiter.AcquireLock();
    ADD_FAILURE();
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Wait for unlock time out");
  }
  holder.ReleaseLock();
  EXPECT_THROW(waiter.AcquireLock(), EDatabaseError);  // the outer acquire still holds it
  holder.ReleaseLock();
  EXPECT_NO_THROW(waiter.AcquireLock());
  waiter.ReleaseLock();
}

TEST_F(TDBFileIOTest, ExclusiveOpenRefusesASecondOpen) {
  const std::string path = MakeFile();
  TDBFileIO first;
  first.Open(path, mtDisk, 0, false, true);
  TDBFileIO second;
  EXPECT_THROW(second.Open(path, mtDisk, 0, false, false), platform::EFileError);
}

// The same work on an exclusive open (page cache, cached keys, no byte lock calls) and on a
// shared one must leave byte-identical files.
TEST_F(TDBFileIOTest, ExclusiveAndSharedOpensWriteTheSameBytes) {
  std::vector<std::vector<std::uint8_t>> files;
  for (const bool exclusive : {false, true}) {
    TNewDatabaseOptions options;
    options.encrypt = true;
    options.compress = true;
    options.crc32_check = true;
    options.password = "pw";
    const std::string path = Path(exclusive ? "x" : "s");
    CreateDatabaseFile(path, options);
    AddTableToFile(
        path,
        TNewTableDef{"T",
                     {{"ID", ftAutoInc, 0, 0}, {"Name", ftString, 12, 0}, {"Data", ftBlob, 0, 0}},
                     {{"PK", TIndexOptions{}.Include(tiPrimary), {0}}, {"ByName", {}, {1, 0}}}});
    {
      TDBFileIO io;
      io.Open(path, mtDisk, 0, false, exclusive);
      ASSERT_TRUE(io.VerifyPassword("pw"));
      TTableIO table(io);
      table.SetTableName("T");
      table.Open();
      test::TRecordBuffer record(table);
      for (int i = 0; i < 1100; ++i) {
        record.Int(0, 0)
            .Text(1, "n" + std::to_string(i * 7919 % 1000))
            .Blob(2, std::vector<std::uint8_t>(i % 90, 1));
        test::Append(table, record);
      }
      for (int p = 0; p < 50; ++p) {
        TFieldBuffers buffers = record.Buffers();
        table.ReadRecord(buffers, table.RecordList(0), p * 3);
        record.Text(1, "m" + std::to_string(p))
            .Blob(2, std::vector<std::uint8_t>(static_cast<std::size_t>(p * 5), 2));
        buffers = record.Buffers();
        table.ModifyRecord(buffers, p * 3, {}, false);
      }
      table.DeleteRecord(10, true);
      const TRecordList& by_name = table.RecordList(2);
      test::TRecordBuffer key(table);
      key.Text(1, "m7");
      EXPECT_EQ(table.SearchIndex(key.Buffers(), by_name, true, 1, 1).state, 0);
    }
    files.push_back(ReadAll(path));
  }
  EXPECT_EQ(files[0].size(), files[1].size());
  EXPECT_TRUE(files[0] == files[1]);
}

}  // namespace
}  // namespace database::storage
