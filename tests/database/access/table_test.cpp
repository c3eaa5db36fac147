// The table cursor on database files made by the storage engine: opening by name, reading
// in cursor order, editing, inserting, posting, deleting, and the cursor's error messages.

#include "database/access/table.h"

#include "access_test_util.h"
#include "database/access/database.h"
#include "database/access/session.h"
#include "database/access/value_convert.h"
#include "platform/file_system.h"

namespace database::access {
namespace {

using test::AccessTest;
using test::ExpectDatabaseError;

class TTableTest : public AccessTest {
 protected:
  // A cursor named Societe_tbl on `table` of `path`, not yet open.
  std::unique_ptr<TTable> Cursor(const std::string& path, const std::string& table = "Societe") {
    auto cursor = std::make_unique<TTable>(nullptr);
    cursor->SetName("Societe_tbl");
    cursor->SetDatabaseName(path);
    cursor->SetTableName(table);
    return cursor;
  }

  std::vector<std::string> Names(TTable& cursor) {
    std::vector<std::string> names;
    for (cursor.First(); !cursor.Eof(); cursor.Next()) {
      names.push_back(cursor.FieldByName("Societe").AsString());
    }
    return names;
  }
};

TEST_F(TTableTest, OpensByPathAndReadsInPrimaryIndexOrder) {
  const std::string path = MakeDatabase({{"Zeta", 1}, {"alpha", 2}, {"Mu", 3}});
  auto cursor = Cursor(path, "societe");  // letter case of the table name is ignored
  cursor->Open();
  EXPECT_EQ(cursor->State(), dsBrowse);
  EXPECT_EQ(cursor->RecordCount(), 3);
  EXPECT_EQ(cursor->IndexIdx(), 0);  // the primary index "ID"
  EXPECT_EQ(Names(*cursor), (std::vector<std::string>{"Zeta", "alpha", "Mu"}));
  ASSERT_EQ(cursor->FieldDefs().size(), 5u);
  EXPECT_EQ(cursor->FieldDefs()[1].size, 40);
  EXPECT_EQ(cursor->FieldDefs()[2].size, 0);
  ASSERT_EQ(cursor->IndexDefs().size(), 2u);
  EXPECT_EQ(cursor->IndexDefs()[1].fields, "Societe");

  cursor->SetIndexName("BYNAME");
  EXPECT_EQ(cursor->RecNo(), 1);
  EXPECT_EQ(Names(*cursor), (std::vector<std::string>{"alpha", "Mu", "Zeta"}));
  cursor->Last();
  EXPECT_EQ(cursor->FieldByName("societe").AsString(), "Zeta");
  EXPECT_EQ(cursor->RecNo(), 3);
  cursor->Prior();
  EXPECT_EQ(cursor->FieldValues("ID"), TValue(std::int64_t{3}));
  const std::vector<TValue> values = cursor->FieldValuesArray("Societe; CapitalS");
  EXPECT_EQ(values, (std::vector<TValue>{std::string("Mu"), 3.0}));
}

TEST_F(TTableTest, RecNoAndBookmarks) {
  const std::string path = MakeDatabase({{"A", 1}, {"B", 2}, {"C", 3}});
  auto cursor = Cursor(path);
  cursor->Open();
  int scrolls = 0;
  cursor->AfterScroll = [&](TDBRecordDataSet&) { ++scrolls; };
  cursor->SetRecNo(3);
  EXPECT_EQ(cursor->FieldByName("Societe").AsString(), "C");
  const std::int32_t bookmark = cursor->GetBookmark();
  cursor->SetRecNo(4);  // beyond RecordCount: ignored
  cursor->SetRecNo(3);  // unchanged: ignored
  EXPECT_EQ(scrolls, 1);
  cursor->SetRecNo(0);  // lands on the first record
  EXPECT_EQ(cursor->FieldByName("Societe").AsString(), "A");
  cursor->GotoBookmark(bookmark);
  EXPECT_EQ(cursor->FieldByName("Societe").AsString(), "C");
  ExpectDatabaseError([&] { cursor->GotoBookmark(77); }, "Bookmark not found");
}

TEST_F(TTableTest, EditPostRewritesTheRecordAndCloseWithoutPostChangesNothing) {
  const std::string path = MakeDatabase({{"Old", 10}});
  {
    auto cursor = Cursor(path);
    cursor->Open();
    cursor->Edit();
    cursor->FieldByName("Societe").SetAsString("Changed");
    const auto before = FileBytes(path);
    cursor->Close();  // unposted: discarded
    EXPECT_EQ(FileBytes(path), before);
  }
  auto cursor = Cursor(path);
  cursor->Open();
  EXPECT_EQ(cursor->FieldByName("Societe").AsString(), "Old");
  cursor->Edit();
  cursor->SetFieldValuesArray("Societe;CapitalS", {std::string("New"), std::string("1 234 567")});
  cursor->Post();
  EXPECT_EQ(cursor->State(), dsBrowse);
  cursor->Close();
  cursor->Open();
  EXPECT_EQ(cursor->FieldByName("Societe").AsString(), "New");
  EXPECT_EQ(cursor->FieldByName("CapitalS").AsFloat(), 1234567.0);
  EXPECT_EQ(cursor->RecordCount(), 1);
}

TEST_F(TTableTest, EditOnEmptyTableInsertsWithNewRecordDefaults) {
  const std::string path = MakeDatabase();
  auto cursor = Cursor(path);
  std::vector<std::string> events;
  cursor->BeforeInsert = [&](TDBRecordDataSet&) { events.push_back("BeforeInsert"); };
  cursor->OnNewRecord = [&](TDBRecordDataSet&) { events.push_back("OnNewRecord"); };
  cursor->AfterInsert = [&](TDBRecordDataSet&) { events.push_back("AfterInsert"); };
  cursor->BeforePost = [&](TDBRecordDataSet&) { events.push_back("BeforePost"); };
  cursor->AfterPost = [&](TDBRecordDataSet&) { events.push_back("AfterPost"); };
  cursor->Open();
  EXPECT_TRUE(cursor->FieldByName("Societe").IsNull());  // no current record
  cursor->Edit();
  EXPECT_EQ(cursor->State(), dsInsert);
  EXPECT_EQ(cursor->FieldByName("Created").AsDateTime(), Today());
  EXPECT_EQ(cursor->FieldByName("ID").AsInteger(), 0);
  EXPECT_EQ(cursor->FieldByName("Societe").AsString(), "");
  cursor->FieldByName("Societe").SetAsString("ZELMORIC");
  cursor->Post();
  EXPECT_EQ(events, (std::vector<std::string>{"BeforeInsert", "OnNewRecord", "AfterInsert",
                                              "BeforePost", "AfterPost"}));
  EXPECT_EQ(cursor->RecordCount(), 1);
  EXPECT_EQ(cursor->FieldByName("ID").AsInteger(), 1);  // given by the table reader
  EXPECT_EQ(cursor->FieldByName("Societe").AsString(), "ZELMORIC");

  auto config = Cursor(path, "Config");
  config->Open();
  config->Edit();
  EXPECT_EQ(config->FieldByName("Install_Date").AsDateTime(), TDateTime{0});
  EXPECT_EQ(config->FieldByName("Install_Date").AsString(),
            DateToText(TDateTime{0}, platform::UserLocaleFormat()));
  config->Cancel();
  EXPECT_EQ(config->RecordCount(), 0);
}

TEST_F(TTableTest, InsertAndModifyKeepTheIndexOrderAndDeleteMovesBack) {
  const std::string path = MakeDatabase({{"B", 1}, {"D", 2}});
  auto cursor = Cursor(path);
  cursor->SetIndexName("ByName");
  cursor->Open();
  cursor->Insert();
  cursor->FieldByName("Societe").SetAsString("C");
  cursor->Post();
  EXPECT_EQ(cursor->RecNo(), 2);  // the new record is current, at its index position
  EXPECT_EQ(Names(*cursor), (std::vector<std::string>{"B", "C", "D"}));
  cursor->First();
  cursor->Edit();
  cursor->FieldByName("Societe").SetAsString("E");
  cursor->Post();
  EXPECT_EQ(cursor->RecNo(), 3);
  EXPECT_EQ(Names(*cursor), (std::vector<std::string>{"C", "D", "E"}));
  cursor->Last();
  cursor->Delete();
  EXPECT_EQ(cursor->RecordCount(), 2);
  EXPECT_EQ(cursor->RecNo(), 2);
  EXPECT_EQ(cursor->FieldByName("Societe").AsString(), "D");

  // The physical order: a new record goes to the end and the current record stays.
  cursor->SetIndexName("");
  cursor->Close();
  cursor->Open();
  EXPECT_EQ(cursor->IndexIdx(), 0);  // back to the primary index
  EXPECT_EQ(Names(*cursor), (std::vector<std::string>{"D", "C"}));
}

TEST_F(TTableTest, TableNameBeforeDatabaseNameIsCleared) {
  const std::string path = MakeDatabase();
  TTable cursor(nullptr);
  cursor.SetName("Config_tbl");
  cursor.SetTableName("Config");
  cursor.SetDatabaseName(path);
  EXPECT_EQ(cursor.TableName(), "");
  ExpectDatabaseError([&] { cursor.Open(); }, "Config_tbl: Table '' not found");
  EXPECT_FALSE(cursor.Active());
  EXPECT_EQ(Session().FindDatabase(path), nullptr);  // released again
}

TEST_F(TTableTest, DatabaseNameSetAgainWhileOpenClearsTheNamesButKeepsTheCursorOrder) {
  const std::string path = MakeDatabase({{"B", 1}, {"D", 2}});
  auto cursor = Cursor(path);
  cursor->SetIndexName("ByName");
  cursor->Open();
  cursor->SetDatabaseName(path);  // unchanged: allowed while open, the names are cleared
  EXPECT_EQ(cursor->TableName(), "");
  EXPECT_EQ(cursor->IndexName(), "");
  EXPECT_EQ(cursor->IndexIdx(), 1);  // the records are still shown in that index's order
  cursor->Insert();
  cursor->FieldByName("Societe").SetAsString("C");
  cursor->Post();
  EXPECT_EQ(cursor->RecNo(), 2);  // placed by the index, and current
  EXPECT_EQ(Names(*cursor), (std::vector<std::string>{"B", "C", "D"}));
}

TEST_F(TTableTest, DisconnectClosesEveryCursorEvenWhenACloseHandlerRaises) {
  const std::string path = MakeDatabase({{"A", 1}});
  auto first = Cursor(path);
  auto second = Cursor(path);
  first->Open();
  second->Open();
  second->BeforeClose = [](TDBRecordDataSet&) { throw EDatabaseError("refused"); };
  TDatabase& database = *first->Database();
  database.SetPassword("any");
  ExpectDatabaseError([&] { database.SetConnected(false); }, "refused");
  // Neither cursor is left pointing at the table readers the disconnect freed.
  EXPECT_FALSE(first->Active());
  EXPECT_FALSE(second->Active());
  EXPECT_EQ(second->Database(), nullptr);
  EXPECT_FALSE(database.Connected());
  EXPECT_FALSE(database.PasswordSet());
  EXPECT_EQ(database.RefCount(), 0);
  second->BeforeClose = nullptr;
  second->Open();  // works again on the same database object
  EXPECT_EQ(second->FieldByName("Societe").AsString(), "A");
}

TEST_F(TTableTest, TwoCursorsShareOneTemporaryDatabaseAndTableReader) {
  const std::string path = MakeDatabase({{"A", 1}});
  auto first = Cursor(path);
  auto second = Cursor(path);
  second->SetDatabaseName(path + "");  // same text; letter case differences match too
  second->SetTableName("SOCIETE");
  first->Open();
  second->Open();
  ASSERT_EQ(first->Database(), second->Database());
  TDatabase& database = *first->Database();
  EXPECT_TRUE(database.Temporary());
  EXPECT_EQ(database.RefCount(), 2);
  EXPECT_EQ(first->TableIO(), second->TableIO());
  EXPECT_EQ(first->TableIO()->OpenCount(), 2);
  first->Close();
  EXPECT_EQ(second->FieldByName("Societe").AsString(), "A");
  second->Edit();
  second->FieldByName("Societe").SetAsString("B");
  second->Post();
  second->Close();
  EXPECT_EQ(Session().FindDatabase(path), nullptr);
}

TEST_F(TTableTest, ReadOnlyRules) {
  const std::string path = MakeDatabase({{"A", 1}});
  auto cursor = Cursor(path);
  cursor->SetReadOnly(true);
  cursor->Open();
  ExpectDatabaseError([&] { cursor->Edit(); }, "Societe_tbl: Cannot modify a read-only dataset");
  ExpectDatabaseError([&] { cursor->Insert(); }, "Societe_tbl: Cannot modify a read-only dataset");
  cursor->SetReadOnly(false);  // takes effect at the next attempt
  cursor->Edit();
  cursor->Cancel();
  cursor->Close();

  ASSERT_TRUE(platform::FileSetAttr(path, platform::kFileAttrReadOnly));
  const auto before = FileBytes(path);
  cursor->Open();
  EXPECT_EQ(cursor->FieldByName("Societe").AsString(), "A");
  ExpectDatabaseError([&] { cursor->Edit(); }, "Societe_tbl: Cannot modify a read-only dataset");
  ExpectDatabaseError([&] { cursor->Delete(); }, "Societe_tbl: Cannot modify a read-only dataset");
  cursor->Close();
  EXPECT_EQ(FileBytes(path), before);
}

TEST_F(TTableTest, WrongStatesAndNamesGiveTheirMessagesAndLeaveTheFileAlone) {
  const std::string path = MakeDatabase({{"A", 1}});
  const auto before = FileBytes(path);
  auto cursor = Cursor(path);
  ExpectDatabaseError([&] { cursor->First(); },
                      "Societe_tbl: Cannot perform this operation on a closed dataset");
  cursor->Open();
  ExpectDatabaseError([&] { cursor->FieldByName("Nom"); }, "Societe_tbl: Field 'Nom' not found");
  ExpectDatabaseError([&] { cursor->Post(); }, "Societe_tbl: Dataset not in edit or insert mode");
  ExpectDatabaseError([&] { cursor->FieldByName("Societe").SetAsString("X"); },
                      "Societe_tbl: Dataset not in edit or insert mode");
  ExpectDatabaseError([&] { cursor->SetTableName("Config"); },
                      "Societe_tbl: Cannot perform this operation on an open dataset");
  ExpectDatabaseError([&] { cursor->SetDatabaseName("x"); },
                      "Societe_tbl: Cannot perform this operation on an open dataset");
  ExpectDatabaseError([&] { cursor->SetSessionName("x"); },
                      "Societe_tbl: Cannot perform this operation on an open dataset");
  ExpectDatabaseError([&] { cursor->FieldByName("Logo").Value(); }, "General error");
  cursor->Edit();
  ExpectDatabaseError([&] { cursor->FieldByName("CapitalS").SetAsString("12abc"); },
                      "'12abc' is not a valid floating point value");
  ExpectDatabaseError([&] { cursor->FieldByName("ID").SetAsInteger(std::int64_t{1} << 40); },
                      "Value '1099511627776' is out of range for this field");
  ExpectDatabaseError([&] { cursor->FieldByName("Created").SetAsString("31/31/2024"); },
                      "'31/31/2024' is not a valid date");
  ExpectDatabaseError([&] { cursor->SetFieldValuesArray("Societe;CapitalS", {std::string("Y")}); },
                      "Societe_tbl: Field count and value count differ");
  EXPECT_FALSE(cursor->Modified());  // nothing was written
  EXPECT_EQ(cursor->FieldByName("CapitalS").AsFloat(), 1.0);
  cursor->Close();
  EXPECT_EQ(FileBytes(path), before);

  auto missing = Cursor(Path("absent.zmc"));
  ExpectDatabaseError([&] { missing->Open(); }, "Cannot open file " + Path("absent.zmc"));
  ExpectDatabaseError([&] { missing->SetPassword("zapto"); },
                      "Cannot open file " + Path("absent.zmc"));
  EXPECT_EQ(Session().FindDatabase(Path("absent.zmc")), nullptr);
  missing->SetSessionName("Nowhere");
  ExpectDatabaseError([&] { missing->Open(); }, "Invalid session name Nowhere");
}

TEST_F(TTableTest, TextsAreCutToTheFieldSize) {
  const std::string path = MakeDatabase({{"A", 1}});
  auto cursor = Cursor(path);
  cursor->Open();
  cursor->Edit();
  cursor->FieldByName("Societe").SetAsString(std::string(50, 'x'));
  cursor->FieldByName("CapitalS").SetAsString("(1 500)");  // the numeric edit's display form
  cursor->Post();
  EXPECT_EQ(cursor->FieldByName("Societe").AsString(), std::string(40, 'x'));
  EXPECT_EQ(cursor->FieldByName("CapitalS").AsFloat(), -1500.0);
}

TEST_F(TTableTest, BrowseCheckPostsModifiedAndCancelsUnmodified) {
  const std::string path = MakeDatabase({{"A", 1}, {"B", 2}});
  auto cursor = Cursor(path);
  cursor->Open();
  cursor->Insert();
  cursor->Next();  // unmodified insert: cancelled
  EXPECT_EQ(cursor->RecordCount(), 2);
  cursor->First();
  cursor->Edit();
  cursor->FieldByName("Societe").SetAsString("A2");
  cursor->Next();  // modified: posted
  EXPECT_EQ(cursor->FieldByName("Societe").AsString(), "B");
  cursor->First();
  EXPECT_EQ(cursor->FieldByName("Societe").AsString(), "A2");
}

TEST_F(TTableTest, CalculatedFieldsAreComputedInTheirOwnState) {
  const std::string path = MakeDatabase({{"A", 1}, {"B", 2}});
  auto cursor = Cursor(path);
  TField& doubled = cursor->AddCalcField("Doubled", storage::ftFloat);
  cursor->OnCalcFields = [&](TDBRecordDataSet& sender) {
    EXPECT_EQ(sender.State(), dsCalcFields);
    doubled.SetAsFloat(sender.FieldByName("CapitalS").AsFloat() * 2);
  };
  cursor->Open();
  EXPECT_EQ(cursor->FieldByName("doubled").AsFloat(), 2.0);
  cursor->Next();
  EXPECT_EQ(doubled.AsFloat(), 4.0);
  EXPECT_EQ(cursor->Layout().bookmark_offset + 5, cursor->Layout().buffer_size);
}

}  // namespace
}  // namespace database::access
