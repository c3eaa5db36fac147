#include "database/access/table.h"

#include <algorithm>

#include "database/access/access_error.h"
#include "database/access/database.h"
#include "database/access/session.h"
#include "database/storage/database_error.h"
#include "database/storage/field_types.h"
#include "platform/collation.h"

namespace database::access {

TTable::TTable(TComponent* owner) : TDBRecordDataSet(owner) {}

TTable::~TTable() {
  MarkDestroying();
  if (Active()) {
    // Closing without the events: the handlers may belong to an owner already going away.
    BeforeClose = nullptr;
    AfterClose = nullptr;
    Close();
  }
}

void TTable::SetDatabaseName(const std::string& name) {
  if (Loading()) {
    database_name_ = name;
    return;
  }
  if (name != database_name_) {
    CheckInactive();
    if (database_ != nullptr) {
      RaiseAccessError(TAccessMessage::DatabaseOpen, {}, Name());
    }
    database_name_ = name;
  }
  table_name_.clear();
  index_name_.clear();
  // An open cursor keeps showing the order it copied; IndexIdx names that order until the
  // next open chooses again.
  if (!Active()) {
    index_idx_ = -1;
  }
}

void TTable::SetTableName(const std::string& name) {
  if (name == table_name_) {
    return;
  }
  CheckInactive();
  table_name_ = name;
}

void TTable::SetIndexName(const std::string& name) {
  index_name_ = name;
  if (name.empty()) {
    index_idx_ = -1;
  }
  if (!Active()) {
    return;
  }
  CheckBrowseMode();
  ChooseIndex();
  First();
}

bool TTable::CanModify() const {
  if (!can_modify_ || read_only_ || database_ == nullptr || database_->ReadOnly()) {
    return false;
  }
  const storage::TDBFileIO* file_io = database_->FileIO();
  return file_io != nullptr && file_io->Writable();
}

void TTable::ChooseIndex() {
  const storage::TStoredIndexDefs& defs = table_io_->IndexDefs();
  index_idx_ = index_name_.empty() ? -1 : storage::FindDefByName(defs, index_name_);
  if (index_idx_ < 0) {
    index_idx_ = table_io_->PrimaryIndexNo();
  }
  order_ = table_io_->RecordList(index_idx_ + 1);
}

void TTable::OpenCursor() {
  // A database object read before its own session existed lives in the default session;
  // it moves to the session it names.
  if (!session_name_.empty() && !database_name_.empty()) {
    TSession* named = Sessions().FindSession(session_name_);
    if (named != nullptr && named->FindDatabase(database_name_) == nullptr) {
      if (TDatabase* found = Session().FindDatabase(database_name_)) {
        found->BindToSession(true);
      }
    }
  }
  database_ = &ObtainDatabase(true);
  database_->RegisterClient(this);
  database_->CheckCanAccess();
  table_io_ = database_->FindTableIO(table_name_);
  if (table_io_ == nullptr) {
    storage::RaiseDatabaseError(storage::TDbMessage::TableNotFound, table_name_, Name());
  }
  table_io_->Open();
  table_opened_ = true;
  order_.clear();
  cur_rec_ = -1;
  can_modify_ = true;

  field_defs_.clear();
  for (const storage::TStoredFieldDef& def : table_io_->FieldDefs()) {
    const auto type = static_cast<storage::TFieldType>(def.FieldType());
    const bool sized = storage::IsTextType(type) || type == storage::ftGuid;
    field_defs_.push_back(TFieldDef{def.Name(), type, sized ? def.Size() : 0, false});
  }
  for (std::size_t i = 0; i < field_defs_.size(); ++i) {
    const storage::TStoredFieldDef& def = table_io_->FieldDefs()[i];
    AddDataField(def.Name(), static_cast<storage::TFieldType>(def.FieldType()), def.Size(),
                 static_cast<int>(i) + 1);
  }
  index_defs_.clear();
  for (const storage::TStoredIndexDef& def : table_io_->IndexDefs()) {
    std::string fields;
    for (const std::int32_t field_no : def.Fields()) {
      if (!fields.empty()) {
        fields += ',';
      }
      // Key field numbers are positions in the field list, from 0.
      const std::size_t at = static_cast<std::size_t>(field_no);
      if (field_no >= 0 && at < field_defs_.size()) {
        fields += field_defs_[at].name;
      }
    }
    index_defs_.push_back(TIndexDef{def.Name(), fields, def.Options()});
  }
  ChooseIndex();
}

void TTable::CloseCursor() noexcept {
  if (table_opened_ && table_io_ != nullptr) {
    table_io_->Close();
  }
  table_opened_ = false;
  table_io_ = nullptr;
  order_.clear();
  order_.shrink_to_fit();
  cur_rec_ = -1;
  can_modify_ = false;
  if (database_ != nullptr) {
    TDatabase* database = database_;
    database_ = nullptr;
    database->UnregisterClient(this);
    // May free a temporary database object: nothing of it is used after this call.
    database->Session().CloseDatabase(*database);
  }
}

void TTable::LoadRecordData(TRecordBuffer& buffer, int position) {
  table_io_->ReadRecord(buffer.field_buffers, order_, position);
}

void TTable::InternalPost(bool inserting) {
  storage::TFieldBuffers& buffers = RecordBuffer().field_buffers;
  if (inserting) {
    table_io_->AppendRecord(buffers, false,
                            [this](int selector, int position, const storage::RecordRef& ref) {
                              if (index_idx_ < 0 && selector == storage::kPhysicalList) {
                                order_.push_back(ref);
                              } else if (index_idx_ >= 0 && selector == index_idx_) {
                                // Another cursor of the same reader may have added records
                                // this copy lacks: the position is kept inside the copy.
                                const int at = std::clamp(position, 0, CursorRecordCount());
                                order_.insert(order_.begin() + at, ref);
                                cur_rec_ = at;
                              }
                            });
    return;
  }
  const int physical = table_io_->PhysicalPosition(order_, cur_rec_);
  if (physical < 0) {
    storage::RaiseDatabaseError(storage::TDbMessage::GeneralError);
  }
  table_io_->ModifyRecord(buffers, physical, [this](int selector, int, int new_position) {
    if (selector != index_idx_ || cur_rec_ < 0 || cur_rec_ >= CursorRecordCount()) {
      return;
    }
    const storage::RecordRef ref = order_[static_cast<std::size_t>(cur_rec_)];
    order_.erase(order_.begin() + cur_rec_);
    const int at = std::clamp(new_position, 0, CursorRecordCount());
    order_.insert(order_.begin() + at, ref);
    cur_rec_ = at;
  });
}

void TTable::InternalDelete() {
  const int physical = table_io_->PhysicalPosition(order_, cur_rec_);
  if (physical < 0) {
    storage::RaiseDatabaseError(storage::TDbMessage::GeneralError);
  }
  table_io_->DeleteRecord(physical, false);
  order_.erase(order_.begin() + cur_rec_);
  if (cur_rec_ >= CursorRecordCount()) {
    --cur_rec_;
  }
}

void TTable::InternalRefresh() {
  const std::int32_t current =
      cur_rec_ >= 0 && cur_rec_ < CursorRecordCount() ? RecordNoAt(cur_rec_) : -1;
  order_ = table_io_->RecordList(index_idx_ + 1);
  const auto found = std::find_if(order_.begin(), order_.end(), [&](const storage::RecordRef& ref) {
    return ref.RecordNo == current;
  });
  cur_rec_ = found == order_.end() ? std::min(cur_rec_, CursorRecordCount() - 1)
                                   : static_cast<int>(found - order_.begin());
}

}  // namespace database::access
