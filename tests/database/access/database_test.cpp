// Database objects: connecting, passwords and the login dialog, property checks, the
// duplicate-name rule, KeepConnection and the flush timer.

#include "database/access/database.h"

#include "access_test_util.h"
#include "database/access/db_login_form.h"
#include "database/access/session.h"
#include "database/access/table.h"
#include "database/access/table_blob_stream.h"

namespace database::access {
namespace {

using test::AccessTest;
using test::ExpectDatabaseError;
using test::TScriptedLogin;

using TDatabaseTest = AccessTest;

TEST_F(TDatabaseTest, ConnectOrderTablesAndDisconnectClosesCursorsLastFirst) {
  const std::string path = MakeDatabase({{"A", 1}});
  TDatabase database(nullptr);
  database.SetName("Db");
  database.SetDatabaseName("Alias");
  database.SetFileName(path);
  std::vector<std::string> events;
  database.BeforeConnect = [&](TDatabase& sender) {
    events.push_back("BeforeConnect");
    EXPECT_FALSE(sender.Connected());
  };
  database.AfterConnect = [&](TDatabase&) { events.push_back("AfterConnect"); };
  database.BeforeDisconnect = [&](TDatabase&) { events.push_back("BeforeDisconnect"); };
  database.AfterDisconnect = [&](TDatabase&) { events.push_back("AfterDisconnect"); };
  database.SetConnected(true);
  EXPECT_TRUE(database.CanAccess());  // not encrypted
  EXPECT_FALSE(database.Encrypted());
  EXPECT_EQ(database.TableNames(), (std::vector<std::string>{"Config", "Societe"}));
  EXPECT_NE(database.FindTableIO("SOCIETE"), nullptr);
  EXPECT_EQ(database.FindTableIO("Clients"), nullptr);

  TTable first(nullptr);
  TTable second(nullptr);
  for (TTable* cursor : {&first, &second}) {
    cursor->SetDatabaseName("alias");  // the database object's name, case ignored
    cursor->SetTableName("Societe");
  }
  first.AfterClose = [&](TDBRecordDataSet&) { events.push_back("first closed"); };
  second.AfterClose = [&](TDBRecordDataSet&) { events.push_back("second closed"); };
  first.Open();
  second.Open();
  EXPECT_EQ(first.Database(), &database);
  EXPECT_EQ(database.RefCount(), 2);
  database.SetConnected(false);
  EXPECT_FALSE(first.Active());
  EXPECT_FALSE(second.Active());
  EXPECT_EQ(database.RefCount(), 0);
  EXPECT_EQ(events, (std::vector<std::string>{"BeforeConnect", "AfterConnect", "BeforeDisconnect",
                                              "second closed", "first closed", "AfterDisconnect"}));
  ExpectDatabaseError([&] { database.Encrypted(); },
                      "Db: Cannot perform this operation on a closed database");
  EXPECT_TRUE(database.TableNames().empty());
}

TEST_F(TDatabaseTest, SettersRefuseWhileConnected) {
  const std::string path = MakeDatabase();
  TDatabase database(nullptr);
  database.SetName("Db");
  ExpectDatabaseError([&] { database.SetConnected(true); }, "Db: Database name missing");
  database.SetDatabaseName(path);
  database.SetConnected(true);
  const std::string open = "Db: Cannot perform this operation on an open database";
  ExpectDatabaseError([&] { database.SetDatabaseName("x"); }, open);
  ExpectDatabaseError([&] { database.SetFileName("x"); }, open);
  ExpectDatabaseError([&] { database.SetMediumType(mtMemory); }, open);
  ExpectDatabaseError([&] { database.SetExclusive(true); }, open);
  ExpectDatabaseError([&] { database.SetReadOnly(true); }, open);
  ExpectDatabaseError([&] { database.SetSessionName("x"); }, open);
  database.SetKeepConnection(true);
  database.SetKeepConnection(false);  // no counted cursor: disconnects at once
  EXPECT_FALSE(database.Connected());
  database.SetSessionName("Nowhere");  // no such session: the binding stays
  EXPECT_EQ(&database.Session(), &Session());
  ExpectDatabaseError([&] { database.SetConnected(true); }, "Invalid session name Nowhere");
  EXPECT_FALSE(database.Connected());
}

TEST_F(TDatabaseTest, PasswordChecksAndTheLoginDialog) {
  const std::string path = MakeDatabase({{"A", 1}}, "zapto");
  TScriptedLogin login;
  const platform::TDialogsGuard guard(login);
  TTable cursor(nullptr);
  cursor.SetDatabaseName(path);
  cursor.SetTableName("Societe");

  // No password given: the dialog asks, with the file name; cancelling aborts silently.
  login.confirm = false;
  EXPECT_THROW(cursor.Open(), EAbort);
  EXPECT_FALSE(cursor.Active());
  EXPECT_EQ(login.shown, std::vector<std::string>{path});
  EXPECT_EQ(Session().FindDatabase(path), nullptr);

  login.confirm = true;
  login.answer = "wrong";
  ExpectDatabaseError([&] { cursor.Open(); }, "Access denied");
  EXPECT_EQ(Session().FindDatabase(path), nullptr);  // released: the file is closed again

  login.answer = "zapto";
  cursor.Open();
  EXPECT_EQ(cursor.FieldByName("Societe").AsString(), "A");
  TDatabase& database = *cursor.Database();
  EXPECT_TRUE(database.Encrypted());
  cursor.Close();

  // A password given through the cursor is used without the dialog; a wrong one is refused.
  login.shown.clear();
  cursor.BeforeOpen = [](TDBRecordDataSet& sender) {
    static_cast<TTable&>(sender).SetPassword("bad");
  };
  ExpectDatabaseError([&] { cursor.Open(); }, "Access denied");
  EXPECT_EQ(Session().FindDatabase(path), nullptr);
  cursor.BeforeOpen = [](TDBRecordDataSet& sender) {
    static_cast<TTable&>(sender).SetPassword("zapto");
  };
  cursor.Open();
  EXPECT_TRUE(login.shown.empty());

  // Connected without a password: no error until a cursor needs the data; a reconnect
  // forgets the password.
  TDatabase named(nullptr);
  named.SetDatabaseName("Named");
  named.SetFileName(path);
  named.SetConnected(true);
  EXPECT_FALSE(named.CanAccess());
  named.SetPassword("zapto");
  EXPECT_TRUE(named.CanAccess());
  named.SetConnected(false);
  named.SetConnected(true);
  EXPECT_FALSE(named.PasswordSet());
  login.answer = "zapto";
  named.CheckCanAccess();
  EXPECT_EQ(login.shown, std::vector<std::string>{path});  // FileName, not DatabaseName
}

TEST_F(TDatabaseTest, LoginFormTextsAndLayout) {
  EXPECT_EQ(TDBLoginForm::kCaption, "Database Login");
  EXPECT_EQ(TDBLoginForm::kWidth, 281);
  EXPECT_EQ(TDBLoginForm::kHeight, 154);
  EXPECT_EQ(TDBLoginForm::kDatabaseLabel, "Database:");
  EXPECT_EQ(TDBLoginForm::kPasswordLabel, "Password:");
  EXPECT_EQ(TDBLoginForm::kOkCaption, "&OK");
  EXPECT_EQ(TDBLoginForm::kCancelCaption, "&Cancel");
  // Without an installed dialog the question is dismissed.
  std::string password = "keep";
  EXPECT_FALSE(LoginDialog("x", password));
  EXPECT_EQ(password, "keep");
}

TEST_F(TDatabaseTest, DuplicateNamesAndTemporaryReplacement) {
  const std::string path = MakeDatabase({{"A", 1}});
  TTable cursor(nullptr);
  cursor.SetDatabaseName(path);
  cursor.SetPassword("");  // obtains a temporary database object without counting
  TDatabase* temporary = Session().FindDatabase(path);
  ASSERT_NE(temporary, nullptr);
  EXPECT_TRUE(temporary->Temporary());
  EXPECT_EQ(temporary->RefCount(), 0);

  TDatabase replacing(nullptr);
  replacing.SetDatabaseName(path);  // the unused temporary object gives way
  EXPECT_EQ(Session().FindDatabase(path), &replacing);

  TDatabase other(nullptr);
  ExpectDatabaseError([&] { other.SetDatabaseName(path); },
                      "Duplicate database name '" + path + "'");
  EXPECT_EQ(other.DatabaseName(), "");
}

TEST_F(TDatabaseTest, AutoFlushFlushesOnlyAfterAWrite) {
  const std::string path = MakeDatabase({{"A", 1}});
  TTable cursor(nullptr);
  cursor.SetDatabaseName(path);
  cursor.SetTableName("Societe");
  cursor.Open();
  TDatabase& database = *cursor.Database();
  EXPECT_FALSE(database.FlushTimer().Enabled());
  database.SetAutoFlush(true);
  EXPECT_TRUE(database.FlushTimer().Enabled());
  EXPECT_EQ(database.FlushTimer().Interval(), 60000);
  database.SetAutoFlushInterval(500);
  EXPECT_EQ(database.FlushTimer().Interval(), 500);
  EXPECT_TRUE(database.FileIO()->IsFlushed());
  cursor.Edit();
  cursor.FieldByName("Societe").SetAsString("B");
  cursor.Post();
  EXPECT_FALSE(database.FileIO()->IsFlushed());  // posting asks for no flush
  database.FlushTimer().Fire();
  EXPECT_TRUE(database.FileIO()->IsFlushed());
  database.SetAutoFlush(false);
  EXPECT_FALSE(database.FlushTimer().Enabled());
}

TEST_F(TDatabaseTest, ProgressEventsReportTheDatabase) {
  // A compressed BLOB written through the cursor reports compression progress.
  storage::TNewDatabaseOptions options;
  options.compress = true;
  const std::string path = Path();
  storage::CreateDatabaseFile(path, options);
  storage::AddTableToFile(path, test::SocieteTable());
  TDatabase database(nullptr);
  database.SetDatabaseName(path);
  std::vector<int> percents;
  database.OnCompressProgress = [&](TDatabase& sender, int percent) {
    EXPECT_EQ(&sender, &database);
    percents.push_back(percent);
  };
  database.SetConnected(true);
  TTable cursor(nullptr);
  cursor.SetDatabaseName(path);
  cursor.SetTableName("Societe");
  cursor.Open();
  cursor.Insert();
  // Incompressible bytes, enough for the compressor to report on its way.
  std::vector<std::uint8_t> picture(256 * 1024);
  std::uint32_t seed = 12345;
  for (std::uint8_t& byte : picture) {
    seed = seed * 1103515245U + 12345U;
    byte = static_cast<std::uint8_t>(seed >> 24);
  }
  {
    TTableBlobStream logo(cursor.FieldByName("Logo"), TBlobStreamMode::bmWrite);
    logo.Write(picture);
  }
  cursor.Post();
  EXPECT_FALSE(percents.empty());
  cursor.Close();
  cursor.Open();
  TTableBlobStream logo(cursor.FieldByName("Logo"), TBlobStreamMode::bmRead);
  std::vector<std::uint8_t> read(logo.Size());
  EXPECT_EQ(logo.Read(read.data(), read.size()), picture.size());
  EXPECT_EQ(read, picture);
  ExpectDatabaseError([&] { logo.Write(picture); }, "General error");
  // A second stream on the same record starts again at the value's first byte.
  TTableBlobStream again(cursor.FieldByName("Logo"), TBlobStreamMode::bmRead);
  std::vector<std::uint8_t> reread(picture.size());
  EXPECT_EQ(again.Read(reread.data(), reread.size()), picture.size());
  EXPECT_EQ(reread, picture);
}

}  // namespace
}  // namespace database::access
