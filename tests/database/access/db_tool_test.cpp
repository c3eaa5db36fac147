// The command-line tool end to end on files in a temporary folder: create from a schema,
// insert and dump round trips for every cipher, schema and table listings, check findings,
// and the exit codes; dump and insert on the cursor path: the password and the login dialog,
// a read-only file, and the cursor's index order.

#include "database/access/db_tool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "database/access/database.h"
#include "database/access/session.h"
#include "platform/byte_order.h"
#include "platform/file_system.h"
#include "tests/database/access/access_test_util.h"

namespace database::access {
namespace {

namespace fs = std::filesystem;

struct TRun {
  int code;
  std::string out;
  std::string err;
};

class DbTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("qv_dbtool_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    std::ofstream(Path("schema.json")) << R"({"tables": [
      {"name": "Societe",
       "fields": [{"name": "ID", "type": "AutoInc"}, {"name": "Nom", "type": "String", "size": 40},
                  {"name": "N", "type": "Smallint"}, {"name": "W", "type": "Word"},
                  {"name": "Big", "type": "Largeint"}, {"name": "Capital", "type": "Currency"},
                  {"name": "Actif", "type": "Boolean"}, {"name": "Creee", "type": "Date"},
                  {"name": "Heure", "type": "Time"}, {"name": "Maj", "type": "DateTime"},
                  {"name": "Logo", "type": "Graphic"}, {"name": "Code", "type": "FixedChar", "size": 4, "mode": 1}],
       "indexes": [{"name": "PK", "options": ["primary"], "fields": ["ID"]},
                   {"name": "ByNom", "options": ["unique", "caseinsensitive"], "fields": ["Nom"]}]},
      {"name": "Config", "fields": [{"name": "Cle", "type": "String", "size": 20}]}]})";
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  std::string Bytes(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  static TRun Run(std::vector<std::string> args, const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunDbTool(args, in, out, err);
    return TRun{code, out.str(), err.str()};
  }

  fs::path dir_;
};

const char kRecords[] =
    R"({"ID":0,"Nom":"Société Générale","N":-3,"W":65535,"Big":-9007199254740993,"Capital":1234.5,"Actif":true,"Creee":"2015-12-15","Heure":"13:45:10.250","Maj":"2015-12-15T23:59:59.999","Logo":"00ff10","Code":"AB"})"
    "\n"
    R"({"ID":0,"Nom":"Alpha","N":0,"W":0,"Big":0,"Capital":0,"Actif":false,"Creee":"0001-01-01","Heure":"00:00:00.000","Maj":"9999-12-31T00:00:00.000","Logo":"","Code":""})"
    "\n";

TEST_F(DbTool, CreateInsertDumpRoundTripsForEveryCipher) {
  struct TCase {
    std::vector<std::string> options;
  };
  const std::vector<TCase> cases = {
      {{}},
      {{"--compress", "--crc-check"}},
      {{"--password", "pw", "--encrypt", "Blowfish", "--mode", "0", "--compress"}},
      {{"--password", "pw", "--encrypt", "Twofish", "--mode", "1", "--crc-check"}},
      {{"--password", "pw", "--encrypt", "Gost", "--mode", "2"}},
      {{"--password", "pw", "--encrypt", "Blowfish", "--mode", "3", "--compress", "--crc-check"}},
      {{"--password", "pw", "--encrypt", "Twofish", "--mode", "4", "--compress"}},
  };
  for (const TCase& c : cases) {
    std::vector<std::string> create = {"create", Path("db"), "--schema", Path("schema.json")};
    create.insert(create.end(), c.options.begin(), c.options.end());
    ASSERT_EQ(Run(create).code, 0);
    const TRun insert = Run({"insert", Path("db"), "Societe", "--password", "pw"}, kRecords);
    EXPECT_EQ(insert.code, 0) << insert.err;
    EXPECT_EQ(insert.out, "0\n1\n");
    const TRun dump = Run({"dump", Path("db"), "Societe", "--password", "pw"});
    ASSERT_EQ(dump.code, 0) << dump.err;
    std::string expected = kRecords;
    expected.replace(expected.find("\"ID\":0"), 6, "\"ID\":1");
    expected.replace(expected.find("\"ID\":0"), 6, "\"ID\":2");
    expected.replace(expected.find("1234.5"), 6, "1234.5");
    EXPECT_EQ(dump.out, expected);
    const TRun by_name =
        Run({"dump", Path("db"), "Societe", "--password", "pw", "--index", "bynom"});
    EXPECT_EQ(by_name.out.find("\"Alpha\""), std::string("{\"ID\":2,\"Nom\":").size());
    EXPECT_EQ(Run({"check", Path("db"), "--password", "pw"}).code, 0);
  }
}

TEST_F(DbTool, InsertReportsFailedLinesAndGoesOn) {
  ASSERT_EQ(Run({"create", Path("db"), "--schema", Path("schema.json")}).code, 0);
  const TRun run = Run({"insert", Path("db"), "Societe"},
                       "{\"Nom\":\"A\"}\n{\"Nom\":\"a\"}\n{\"Bogus\":1}\n{\"N\":70000}\n{\"Creee\":"
                       "\"2015-02-30\"}\nnot json\n"
                       "{\"Nom\":\"B\"}\n");
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.out, "0\n1\n");
  EXPECT_NE(run.err.find("line 2: Invalid unique field value 'a'"), std::string::npos) << run.err;
  for (const char* line : {"line 3:", "line 4:", "line 5:", "line 6:"}) {
    EXPECT_NE(run.err.find(line), std::string::npos) << line;
  }
}

TEST_F(DbTool, TablesSchemaAndErrors) {
  ASSERT_EQ(Run({"create", Path("db"), "--schema", Path("schema.json"), "--password", "pw",
                 "--encrypt", "Gost"})
                .code,
            0);
  EXPECT_EQ(Run({"tables", Path("db")}).out, "Societe\nConfig\n");
  const TRun schema = Run({"schema", Path("db"), "config"});
  EXPECT_EQ(schema.out, "{\"field\":\"Cle\",\"type\":\"String\",\"size\":20,\"mode\":0}\n");
  EXPECT_NE(Run({"schema", Path("db"), "Societe"})
                .out.find("{\"index\":\"ByNom\",\"options\":[\"unique\",\"caseinsensitive\"],"
                          "\"fields\":[\"Nom\"]}"),
            std::string::npos);
  const TRun wrong = Run({"dump", Path("db"), "Societe", "--password", "nope"});
  EXPECT_EQ(wrong.code, 2);
  EXPECT_EQ(wrong.err, "dbtool: Access denied\n");
  EXPECT_EQ(Run({"dump", Path("db"), "Nothing", "--password", "pw"}).err,
            "dbtool: Table 'Nothing' not found\n");
  EXPECT_EQ(Run({"tables", Path("missing")}).code, 2);
  EXPECT_EQ(Run({"tables"}).code, 2);
  EXPECT_EQ(Run({"create", Path("x"), "--schema", Path("schema.json"), "--encrypt", "Gost"}).code,
            2);
  EXPECT_EQ(Run({"frobnicate"}).code, 2);
}

TEST_F(DbTool, CheckNamesDamage) {
  ASSERT_EQ(Run({"create", Path("db"), "--schema", Path("schema.json")}).code, 0);
  ASSERT_EQ(Run({"insert", Path("db"), "Societe"}, kRecords).code, 0);
  std::vector<std::uint8_t> bytes;
  {
    std::ifstream in(Path("db"), std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  const std::uint32_t header = platform::LoadLE32(bytes, 2789 + 8);
  const std::uint32_t pk_tab = platform::LoadLE32(bytes, header + 4181 + 66);
  const auto write_with = [&](std::size_t offset, std::uint32_t value) {
    std::vector<std::uint8_t> damaged = bytes;
    platform::StoreLE32(damaged, offset, value);
    std::ofstream(Path("bad"), std::ios::binary)
        .write(reinterpret_cast<const char*>(damaged.data()),
               static_cast<std::streamsize>(damaged.size()));
  };
  struct TCase {
    std::size_t offset;
    std::uint32_t value;
    const char* finding;
  };
  const TCase cases[] = {
      {pk_tab + 4 + 1 * 8 + 4, 0, "index 'PK': chain loops back to record 0"},
      {pk_tab + 4 + 0 * 8 + 4, 0xFFFFFFFF, "index 'PK': chain visits 1 of 2 records"},
      {pk_tab + 4 + 0 * 8, 5, "index 'PK': node 0 names record 5"},
      {header + 37, 5000, "record tab: block 1 at 0 lies outside the file"},
      {header + 37, 0x7FFFFFFF, "record total 2147483647 is more than the file can hold"},
      {header + 4181 + 66, 0x7FFFFF00,
       "index 'PK' index tab: block 0 at 2147483392 lies outside the file"},
  };
  for (const TCase& c : cases) {
    write_with(c.offset, c.value);
    const TRun run = Run({"check", Path("bad")});
    EXPECT_EQ(run.code, 1) << c.finding;
    EXPECT_NE(run.out.find(c.finding), std::string::npos) << run.out;
  }
  // Keys out of order: swap the chain so that record 1 (ID 2) comes first.
  std::vector<std::uint8_t> swapped = bytes;
  platform::StoreLE32(swapped, header + 4181 + 70, 1);
  platform::StoreLE32(swapped, pk_tab + 4 + 1 * 8 + 4, 0);
  platform::StoreLE32(swapped, pk_tab + 4 + 0 * 8 + 4, 0xFFFFFFFF);
  std::ofstream(Path("bad"), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(swapped.data()),
             static_cast<std::streamsize>(swapped.size()));
  const TRun order = Run({"check", Path("bad")});
  EXPECT_NE(order.out.find("out of key order"), std::string::npos) << order.out;
  // A truncated file.
  std::ofstream(Path("bad"), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()), 5000);
  EXPECT_EQ(Run({"check", Path("bad")}).code, 1);
  EXPECT_EQ(Run({"check", Path("db")}).out, "");
}

TEST_F(DbTool, PasswordAndLoginGoThroughTheCursor) {
  ASSERT_EQ(Run({"create", Path("db"), "--schema", Path("schema.json"), "--password", "pw",
                 "--encrypt", "Blowfish", "--mode", "1"})
                .code,
            0);
  ASSERT_EQ(Run({"insert", Path("db"), "Societe", "--password", "pw"}, kRecords).code, 0);
  const std::string before = Bytes("db");
  const std::string dismissed =
      "dbtool: Access denied (the database is encrypted: give --password)\n";

  // No dialogs installed: the login is dismissed, one line, exit 2, nothing written.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"dump", Path("db"), "Societe"},
        std::vector<std::string>{"insert", Path("db"), "Societe"}}) {
    const TRun run = Run(args, "{\"Nom\":\"X\"}\n");
    EXPECT_EQ(run.code, 2) << args[0];
    EXPECT_EQ(run.err, dismissed) << args[0];
    EXPECT_EQ(run.out, "") << args[0];
  }
  const TRun wrong_insert =
      Run({"insert", Path("db"), "Societe", "--password", "nope"}, "{\"Nom\":\"X\"}\n");
  EXPECT_EQ(wrong_insert.code, 2);
  EXPECT_EQ(wrong_insert.err, "dbtool: Access denied\n");
  EXPECT_EQ(Bytes("db"), before);

  // The login dialog, shown with the file name: a wrong answer, a cancel, the right answer.
  test::TScriptedLogin login;
  const platform::TDialogsGuard guard(login);
  login.answer = "nope";
  const TRun wrong = Run({"dump", Path("db"), "Societe"});
  EXPECT_EQ(wrong.code, 2);
  EXPECT_EQ(wrong.err, "dbtool: Access denied\n");
  EXPECT_EQ(login.shown, std::vector<std::string>{Path("db")});
  login.confirm = false;
  EXPECT_EQ(Run({"dump", Path("db"), "Societe"}).err, dismissed);
  login.confirm = true;
  login.answer = "pw";
  const TRun dump = Run({"dump", Path("db"), "Societe"});
  EXPECT_EQ(dump.code, 0) << dump.err;
  EXPECT_NE(dump.out.find("\"Nom\":\"Alpha\""), std::string::npos) << dump.out;
  const TRun insert = Run({"insert", Path("db"), "Societe"}, "{\"Nom\":\"Gamma\"}\n");
  EXPECT_EQ(insert.code, 0) << insert.err;
  EXPECT_EQ(insert.out, "2\n");
  // A given password never opens the dialog.
  EXPECT_EQ(Run({"dump", Path("db"), "Societe", "--password", "pw"}).code, 0);
  EXPECT_EQ(login.shown.size(), 4u);
  // Every cursor released its temporary database object.
  EXPECT_TRUE(Session().Databases().empty());
}

TEST_F(DbTool, InsertIntoReadOnlyFileFailsEachLineAndWritesNothing) {
  ASSERT_EQ(Run({"create", Path("db"), "--schema", Path("schema.json")}).code, 0);
  ASSERT_EQ(Run({"insert", Path("db"), "Societe"}, kRecords).code, 0);
  ASSERT_TRUE(platform::FileSetAttr(Path("db"), platform::kFileAttrReadOnly));
  const std::string before = Bytes("db");
  const TRun run = Run({"insert", Path("db"), "Societe"}, "{\"Nom\":\"X\"}\n{\"Nom\":\"Y\"}\n");
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "dbtool: line 1: Cannot modify a read-only dataset\n"
            "dbtool: line 2: Cannot modify a read-only dataset\n");
  EXPECT_EQ(Bytes("db"), before);
  // Reading a read-only file works.
  const TRun dump = Run({"dump", Path("db"), "Societe"});
  EXPECT_EQ(dump.code, 0) << dump.err;
  EXPECT_EQ(std::count(dump.out.begin(), dump.out.end(), '\n'), 2);
}

TEST_F(DbTool, DumpFollowsTheCursorsIndexOrder) {
  std::ofstream(Path("order.json")) << R"({"tables": [
    {"name": "T",
     "fields": [{"name": "Code", "type": "String", "size": 4}, {"name": "N", "type": "Integer"},
                {"name": "At", "type": "DateTime"}],
     "indexes": [{"name": "ByN", "options": ["descending"], "fields": ["N"]},
                 {"name": "PK", "options": ["primary"], "fields": ["Code"]}]},
    {"name": "Heap", "fields": [{"name": "Code", "type": "String", "size": 4}]}]})";
  ASSERT_EQ(Run({"create", Path("db"), "--schema", Path("order.json")}).code, 0);
  const std::string rows =
      "{\"Code\":\"b\",\"N\":1}\n{\"Code\":\"c\",\"N\":3}\n{\"Code\":\"a\",\"N\":2}\n";
  const TRun insert = Run({"insert", Path("db"), "T"}, rows);
  ASSERT_EQ(insert.code, 0) << insert.err;
  EXPECT_EQ(insert.out, "0\n1\n2\n");
  ASSERT_EQ(
      Run({"insert", Path("db"), "Heap"}, "{\"Code\":\"b\"}\n{\"Code\":\"c\"}\n{\"Code\":\"a\"}\n")
          .code,
      0);

  // Codes in dump order. Without --index the cursor takes the primary index, or the physical
  // order when the table has none.
  const auto codes = [&](std::vector<std::string> args) {
    const TRun run = Run(args);
    EXPECT_EQ(run.code, 0) << run.err;
    std::string found;
    for (std::size_t at = run.out.find("\"Code\":\""); at != std::string::npos;
         at = run.out.find("\"Code\":\"", at + 1)) {
      found += run.out[at + 8];
    }
    return found;
  };
  struct TCase {
    const char* table;
    const char* index;  // null: no --index
    const char* expected;
  };
  const TCase cases[] = {
      {"T", nullptr, "abc"}, {"T", "byn", "cab"}, {"T", "PK", "abc"}, {"Heap", nullptr, "bca"}};
  for (const TCase& c : cases) {
    std::vector<std::string> args = {"dump", Path("db"), c.table};
    if (c.index != nullptr) {
      args.insert(args.end(), {"--index", c.index});
    }
    EXPECT_EQ(codes(args), c.expected) << c.table << " " << (c.index ? c.index : "-");
  }
  // A key left out takes the new-record default of the cursor.
  EXPECT_NE(Run({"dump", Path("db"), "T"}).out.find("\"At\":\"1899-12-30T00:00:00.000\""),
            std::string::npos);
  const TRun unknown = Run({"dump", Path("db"), "T", "--index", "nope"});
  EXPECT_EQ(unknown.code, 2);
  EXPECT_EQ(unknown.err, "dbtool: no index 'nope' in table 'T'\n");
}

}  // namespace
}  // namespace database::access
