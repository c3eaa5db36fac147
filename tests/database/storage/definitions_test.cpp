// Field types, storage widths, the record layout and the definition lookups.

#include <gtest/gtest.h>

#include "database/storage/database_error.h"
#include "database/storage/field_types.h"
#include "database/storage/record_format.h"
#include "database/storage/stored_defs.h"
#include "storage_test_util.h"

namespace database::storage {
namespace {

TEST(FieldStorageWidth, WidthsOfTheStoredTypes) {
  struct TCase {
    std::uint8_t type;
    std::int32_t size;
    std::int32_t width;
  };
  constexpr TCase kCases[] = {
      {ftString, 40, 41}, {ftFixedChar, 3, 4}, {ftSmallint, 0, 2}, {ftInteger, 0, 4},
      {ftWord, 0, 2},     {ftBoolean, 99, 2},  {ftFloat, 0, 8},    {ftCurrency, 0, 8},
      {ftDate, 0, 4},     {ftTime, 0, 4},      {ftDateTime, 0, 8}, {ftAutoInc, 0, 4},
      {ftLargeint, 7, 8}, {ftMemo, 10, 0},     {ftGraphic, 0, 0},  {ftOraClob, 0, 0},
  };
  for (const TCase& c : kCases) {
    EXPECT_EQ(FieldStorageWidth(c.type, c.size), c.width) << int{c.type};
  }
  for (const int type : {8, 12, 24, 35, 0, 200}) {
    try {
      FieldStorageWidth(static_cast<std::uint8_t>(type), 10);
      ADD_FAILURE() << type;
    } catch (const EDatabaseError& error) {
      EXPECT_STREQ(error.what(), "General error");
    }
  }
}

TEST(IsBlobType, ExactlyTheBlobCodes) {
  for (int type = 0; type < 40; ++type) {
    const bool expected = (type >= 15 && type <= 21) || type == 30 || type == 31;
    EXPECT_EQ(IsBlobType(static_cast<std::uint8_t>(type)), expected) << type;
  }
}

TEST(ComputeLayout, PacksFieldsWithoutGaps) {
  // ID (AutoInc), Societe (String 40), CapitalS (Float), Logo (Graphic).
  const std::uint8_t types[] = {ftAutoInc, ftString, ftFloat, ftGraphic};
  const std::int32_t sizes[] = {0, 40, 0, 0};
  const TRecordLayout layout = ComputeLayout(types, sizes);
  EXPECT_EQ(layout.field_offsets, (std::vector<std::int32_t>{0, 4, 45, 53}));
  EXPECT_EQ(layout.record_size, 73);
  EXPECT_EQ(ComputeLayout({}, {}).record_size, 0);
}

TEST(FindDefByName, IgnoresLetterCaseAndTakesTheFirstMatch) {
  TStoredFieldDefs defs;
  defs.Add(TStoredFieldDef("ID", ftAutoInc, 0, 0));
  defs.Add(TStoredFieldDef("Societe", ftString, 40, 0));
  defs.Add(TStoredFieldDef("SOCIETE", ftString, 10, 0));
  EXPECT_EQ(FindDefByName(defs, "societe"), 1);
  EXPECT_EQ(FindDefByName(defs, "Nom"), -1);
}

TEST(TTableIO, DefinitionsLoadedFromTheHeader) {
  TNewTableDef table{"T",
                     {{"A", ftAutoInc, 0, 0},
                      {"B", ftAutoInc, 0, 0},
                      {"Name", ftString, 20, 1},
                      {"Pic", ftBlob, 0, 0},
                      {"C", ftInteger, 0, 0},
                      {"D", ftInteger, 0, 0},
                      {"E", ftInteger, 0, 0},
                      {"F", ftInteger, 0, 0}},
                     {{"Eight", TIndexOptions{}, {0, 1, 2, 4, 5, 6, 7, 1}},
                      {"Prim", TIndexOptions{}.Include(tiPrimary), {4}}}};
  TNewDatabaseOptions options;
  options.encrypt = true;
  options.compress = true;
  options.password = "pw";
  test::TMemoryDatabase db(options, {table});
  TTableIO& io = db.Table("t");
  EXPECT_EQ(io.AutoIncFieldNo(), 0);  // the first of two AutoInc fields
  EXPECT_EQ(io.IndexDefs()[0].Fields().size(), 8u);
  EXPECT_EQ(io.PrimaryIndexNo(), 1);
  EXPECT_TRUE(io.IsEncryptedField(0));
  EXPECT_FALSE(io.IsEncryptedField(2));  // processing mode 1: stored as it is
  EXPECT_TRUE(io.IsCompressedField(3));
  EXPECT_FALSE(io.IsCompressedField(0));  // only BLOBs are compressed
  EXPECT_EQ(io.RecordSize(), 4 + 4 + 21 + 20 + 16);
}

TEST(TTableIO, IndexWhoseFirstKeyEntryIsMinusOneHasNoKeyFields) {
  test::TMemoryDatabase db({}, {TNewTableDef{"T", {{"A", ftInteger, 0, 0}}, {{"I", {}, {0}}}}});
  // Overwrite the first key entry of the index in the stored header with -1.
  std::vector<std::uint8_t>& bytes = db.Bytes();
  const std::size_t header = static_cast<std::size_t>(db.FileIO().TableHeaderOffset(0));
  const std::size_t first_key = header + kIndexEntriesOffset + kIndexFieldsOffset;
  std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(first_key), 4, 0xFF);
  EXPECT_TRUE(db.Table("T").IndexDefs()[0].Fields().empty());
}

TEST(TTableIO, FieldNameTakesAtMost32Characters) {
  // A name filling its 33-byte field with no NUL keeps 32 characters, the most a field name has.
  test::TMemoryDatabase db({}, {TNewTableDef{"T", {{"A", ftInteger, 0, 0}}, {}}});
  std::vector<std::uint8_t>& bytes = db.Bytes();
  const std::size_t header = static_cast<std::size_t>(db.FileIO().TableHeaderOffset(0));
  std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(header + kFieldEntriesOffset), kNameSize,
              std::uint8_t{'N'});
  EXPECT_EQ(db.Table("T").FieldDefs()[0].Name(), std::string(32, 'N'));
}

}  // namespace
}  // namespace database::storage
