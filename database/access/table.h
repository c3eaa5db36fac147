#pragma once
// The table cursor: opens one table of a database object by name, keeps its own ordered copy
// of the table's records (the cursor order: the physical list or an index's list), reads the
// shown record through the table reader and posts changes through it, keeping the cursor
// order in step with the reader's notifications.

#include <cstdint>
#include <string>
#include <vector>

#include "database/access/db_record_data_set.h"
#include "database/storage/stored_defs.h"
#include "database/storage/table_io.h"

namespace database::access {

struct TFieldDef {
  std::string name;
  storage::TFieldType data_type = storage::ftUnknown;
  std::int32_t size = 0;  // text kinds only; 0 for the others
  bool required = false;
};

struct TIndexDef {
  std::string name;
  std::string fields;  // the key field names joined by ","
  storage::TIndexOptions options;
};

// Invariants while open: the table reader is open (counted once for this cursor), the cursor
// order is this cursor's own copy, IndexIdx names the list it was copied from (-1 physical).
// Points at the database object and its table reader while open; the database closes this
// cursor before either goes.
class TTable final : public TDBRecordDataSet {
 public:
  explicit TTable(TComponent* owner);
  ~TTable() override;

  // Also clears TableName and IndexName, even when the value is unchanged. Raises "Cannot
  // perform this operation on an open dataset" and "Cannot perform this operation on an open
  // database" (cursor named).
  void SetDatabaseName(const std::string& name) override;
  const std::string& TableName() const { return table_name_; }
  void SetTableName(const std::string& name);
  const std::string& IndexName() const { return index_name_; }
  // While open: the browse check, the index chosen again, its order copied, the first record.
  void SetIndexName(const std::string& name);
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool read_only) { read_only_ = read_only; }
  const std::vector<TFieldDef>& FieldDefs() const { return field_defs_; }
  const std::vector<TIndexDef>& IndexDefs() const { return index_defs_; }

  // Position of the ordering index in IndexDefs, or -1 for the physical list.
  int IndexIdx() const { return index_idx_; }
  storage::TTableIO* TableIO() const { return table_io_; }
  const storage::TRecordList& CursorOrder() const { return order_; }
  bool CanModify() const override;

 protected:
  void OpenCursor() override;
  void CloseCursor() noexcept override;
  int CursorRecordCount() const override { return static_cast<int>(order_.size()); }
  void LoadRecordData(TRecordBuffer& buffer, int position) override;
  std::int32_t RecordNoAt(int position) const override {
    return order_[static_cast<std::size_t>(position)].RecordNo;
  }
  void InternalPost(bool inserting) override;
  void InternalDelete() override;
  void InternalRefresh() override;

 private:
  void ChooseIndex();

  std::string table_name_;
  std::string index_name_;
  bool read_only_ = false;
  std::vector<TFieldDef> field_defs_;
  std::vector<TIndexDef> index_defs_;
  storage::TTableIO* table_io_ = nullptr;  // the database's; open while this cursor is
  bool table_opened_ = false;              // this cursor counts as a user of table_io_
  storage::TRecordList order_;             // the cursor order
  int index_idx_ = -1;
  bool can_modify_ = false;
};

}  // namespace database::access
