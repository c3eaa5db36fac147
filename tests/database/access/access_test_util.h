#pragma once
// Shared fixtures of the access-layer tests: a per-test folder, database files made through
// the storage engine's creation API with records appended by the table reader itself (not
// through the cursor under test), and a scripted login dialog.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "database/access/access_error.h"
#include "database/storage/database_creator.h"
#include "database/storage/db_file_io.h"
#include "database/storage/field_types.h"
#include "database/storage/table_io.h"
#include "platform/dialogs.h"
#include "tests/database/storage/storage_test_util.h"

namespace database::access::test {

using namespace database::storage;  // field types and the creation API

// Config: a few texts and the two install date-times, no index.
inline TNewTableDef ConfigTable() {
  return TNewTableDef{"Config",
                      {{"DDMP", ftString, 10, 0},
                       {"Exercice", ftString, 4, 0},
                       {"App_Path", ftString, 120, 0},
                       {"Licenced_To", ftString, 60, 0},
                       {"Install_Date", ftDateTime, 0, 0},
                       {"Install_Time", ftDateTime, 0, 0}},
                      {}};
}

// Societe: ID auto-increment with the primary index, a name with a second index, the
// capital, a date and a picture.
inline TNewTableDef SocieteTable() {
  TIndexOptions primary;
  primary.Include(tiPrimary).Include(tiUnique);
  TIndexOptions by_name;
  by_name.Include(tiCaseInsensitive);
  return TNewTableDef{"Societe",
                      {{"ID", ftAutoInc, 0, 0},
                       {"Societe", ftString, 40, 0},
                       {"CapitalS", ftFloat, 0, 0},
                       {"Created", ftDate, 0, 0},
                       {"Logo", ftGraphic, 0, 0}},
                      {{"ID", primary, {0}}, {"ByName", by_name, {1}}}};
}

struct TSeedRow {
  std::string name;
  double capital = 0;
};

class AccessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           (std::string("qv_access_") + info->test_suite_name() + "_" + info->name() + "_" +
            std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::permissions(Path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(dir_, ignored);
  }

  std::string Path(const std::string& name = "scg.zmc") const { return (dir_ / name).string(); }

  // A database with Config and Societe; `password` non-empty makes it encrypted.
  std::string MakeDatabase(const std::vector<TSeedRow>& societe_rows = {},
                           const std::string& password = {}, const std::string& name = "scg.zmc") {
    TNewDatabaseOptions options;
    if (!password.empty()) {
      options.encrypt = true;
      options.password = password;
    }
    const std::string path = Path(name);
    CreateDatabaseFile(path, options);
    AddTableToFile(path, ConfigTable());
    AddTableToFile(path, SocieteTable());
    if (!societe_rows.empty()) {
      TDBFileIO file_io(mtDisk);
      file_io.Open(path, mtDisk, 0, false, false);
      file_io.VerifyPassword(password);
      TTableIO table(file_io);
      table.SetTableName("Societe");
      table.Open();
      for (const TSeedRow& row : societe_rows) {
        storage::test::TRecordBuffer record(table);
        record.Text(1, row.name).Float(2, row.capital);
        storage::test::Append(table, record);
      }
      table.Close();
      file_io.Close();
    }
    return path;
  }

  static std::vector<std::uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  std::filesystem::path dir_;
};

// Expects `work` to raise the database error with exactly `message`.
template <class TWork>
void ExpectDatabaseError(TWork&& work, const std::string& message) {
  try {
    work();
    ADD_FAILURE() << "no error; expected: " << message;
  } catch (const EDatabaseError& error) {
    EXPECT_EQ(std::string(error.what()), message);
  }
}

// Answers the login dialog from a script and records what it was shown.
class TScriptedLogin final : public platform::IDialogs {
 public:
  platform::TDialogButton MessageBox(const platform::TMessageBoxRequest&) override {
    return platform::TDialogButton::None;
  }
  bool InputQuery(const std::string&, const std::string&, std::string&) override { return false; }
  bool Login(const std::string& database_name, std::string& password) override {
    shown.push_back(database_name);
    if (!confirm) {
      return false;
    }
    password = answer;
    return true;
  }

  bool confirm = true;
  std::string answer;
  std::vector<std::string> shown;
};

}  // namespace database::access::test
