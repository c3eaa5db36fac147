#include "database/access/db_record_data_set.h"

#include <algorithm>

#include "database/access/access_error.h"
#include "database/access/database.h"
#include "database/access/session.h"
#include "database/access/value_convert.h"
#include "database/storage/record_format.h"
#include "platform/collation.h"

namespace database::access {
namespace {

// The names of a ";"-separated list, blanks around each removed.
std::vector<std::string> SplitNames(const std::string& names) {
  std::vector<std::string> result;
  std::size_t start = 0;
  while (start <= names.size()) {
    std::size_t end = names.find(';', start);
    if (end == std::string::npos) {
      end = names.size();
    }
    std::string name = names.substr(start, end - start);
    const std::size_t first = name.find_first_not_of(' ');
    const std::size_t last = name.find_last_not_of(' ');
    result.push_back(first == std::string::npos ? std::string{}
                                                : name.substr(first, last - first + 1));
    start = end + 1;
  }
  return result;
}

// Restores the dataset state on leaving a scope, also when a handler raises.
class TStateRestore final {
 public:
  TStateRestore(TDataSetState& state, TDataSetState temporary) : state_(state), saved_(state) {
    state_ = temporary;
  }
  ~TStateRestore() { state_ = saved_; }
  TStateRestore(const TStateRestore&) = delete;
  TStateRestore& operator=(const TStateRestore&) = delete;

 private:
  TDataSetState& state_;
  TDataSetState saved_;
};

}  // namespace

TDBRecordDataSet::TDBRecordDataSet(TComponent* owner) : TDBDataSet(owner) {}

TDBRecordDataSet::~TDBRecordDataSet() = default;

void TDBRecordDataSet::CheckActive() const {
  if (!Active()) {
    RaiseAccessError(TAccessMessage::DataSetClosed, {}, Name());
  }
}

void TDBRecordDataSet::SetMediumType(storage::TDBMediumType medium) {
  if (medium == medium_type_) {
    return;
  }
  CheckInactive();
  medium_type_ = medium;
  TSession* session = nullptr;
  if (session_name_.empty()) {
    session = &Session();
  } else {
    session = Sessions().FindSession(session_name_);
  }
  if (session != nullptr) {
    if (TDatabase* database = session->FindDatabase(database_name_)) {
      database->SetMediumType(medium);
    }
  }
}

void TDBRecordDataSet::SetActive(bool active) {
  if (active == Active()) {
    return;
  }
  if (active) {
    DoOpen();
  } else {
    Fire(BeforeClose);
    DoClose();
    Fire(AfterClose);
  }
}

void TDBRecordDataSet::CloseForDatabase() {
  if (!Active()) {
    return;
  }
  try {
    Fire(BeforeClose);
  } catch (...) {
    DoClose();
    throw;
  }
  DoClose();
  Fire(AfterClose);
}

void TDBRecordDataSet::DoOpen() {
  Fire(BeforeOpen);
  try {
    OpenCursor();
    AllocateBuffers();
    state_ = dsBrowse;
    cur_rec_ = -1;
    has_record_ = GetRecord(*record_buffer_, TGetMode::Next);
    bof_ = true;
    eof_ = !has_record_;
  } catch (...) {
    DoClose();
    throw;
  }
  Fire(AfterOpen);
}

void TDBRecordDataSet::DoClose() noexcept {
  state_ = dsInactive;
  modified_ = false;
  CloseCursor();
  FreeBuffers();
  DestroyDataFields();
  cur_rec_ = -1;
  has_record_ = false;
  bof_ = eof_ = true;
}

void TDBRecordDataSet::AddDataField(const std::string& name, storage::TFieldType type,
                                    std::int32_t size, int field_no) {
  auto field = std::make_unique<TField>(*this, name, type, size, field_no, TFieldKind::fkData);
  fields_.insert(fields_.begin() + static_cast<std::ptrdiff_t>(data_field_count_),
                 std::move(field));
  field_cache_.clear();
  ++data_field_count_;
}

void TDBRecordDataSet::DestroyDataFields() {
  fields_.erase(fields_.begin(), fields_.begin() + static_cast<std::ptrdiff_t>(data_field_count_));
  data_field_count_ = 0;
  field_cache_.clear();
}

TField& TDBRecordDataSet::AddCalcField(const std::string& name, storage::TFieldType type,
                                       std::int32_t size) {
  CheckInactive();
  fields_.push_back(std::make_unique<TField>(*this, name, type, size, 0, TFieldKind::fkCalculated));
  field_cache_.clear();
  return *fields_.back();
}

void TDBRecordDataSet::AllocateBuffers() {
  layout_ = TBufferLayout{};
  std::int32_t offset = 0;
  for (std::size_t i = 0; i < data_field_count_; ++i) {
    TField& field = *fields_[i];
    field.SetOffset(offset);
    layout_.field_offsets.push_back(offset);
    offset += field.DataSize();
  }
  layout_.physical_size = offset;
  for (std::size_t i = data_field_count_; i < fields_.size(); ++i) {
    fields_[i]->SetOffset(offset);
    offset += 1 + fields_[i]->DataSize();
  }
  layout_.bookmark_offset = offset;
  layout_.buffer_size = offset + 4 + 1;
  record_buffer_ = NewBuffer();
  key_buffer_ = NewBuffer();
  filter_buffer_ = NewBuffer();
  range_start_ = NewBuffer();
  range_end_ = NewBuffer();
}

void TDBRecordDataSet::FreeBuffers() {
  record_buffer_.reset();
  key_buffer_.reset();
  filter_buffer_.reset();
  range_start_.reset();
  range_end_.reset();
  calc_buffer_ = nullptr;
}

std::unique_ptr<TRecordBuffer> TDBRecordDataSet::NewBuffer() const {
  auto buffer = std::make_unique<TRecordBuffer>();
  buffer->bytes.assign(static_cast<std::size_t>(layout_.buffer_size), 0);
  for (std::size_t i = 0; i < data_field_count_; ++i) {
    buffer->blobs.push_back(fields_[i]->IsBlob() ? std::make_unique<storage::TOptimBlobStream>()
                                                 : nullptr);
  }
  for (std::size_t i = 0; i < data_field_count_; ++i) {
    const TField& field = *fields_[i];
    if (field.IsBlob()) {
      buffer->field_buffers.AddBlob(buffer->blobs[i].get(), field.DataType());
    } else {
      buffer->field_buffers.Add(buffer->bytes.data() + layout_.field_offsets[i], field.DataType(),
                                field.DataSize());
    }
  }
  InitRecord(*buffer);
  return buffer;
}

void TDBRecordDataSet::InitRecord(TRecordBuffer& buffer) const {
  std::fill(buffer.bytes.begin(), buffer.bytes.end(), std::uint8_t{0});
  const TDateTime now = Now();
  for (std::size_t i = 0; i < data_field_count_; ++i) {
    const TField& field = *fields_[i];
    std::span<std::uint8_t> value(buffer.bytes.data() + field.Offset(),
                                  static_cast<std::size_t>(field.DataSize()));
    switch (field.DataType()) {
      case storage::ftDate:
        storage::StoreInteger(value, DateTimeToStoredDate(now));
        break;
      case storage::ftTime:
        storage::StoreInteger(value, DateTimeToStoredTime(now));
        break;
      case storage::ftDateTime:
        storage::StoreFloat(value, DateTimeToStoredDateTime(TDateTime{}));
        break;
      default:
        if (field.IsBlob() && buffer.blobs[i]) {
          buffer.blobs[i]->Clear();
        }
    }
  }
  buffer.bytes[static_cast<std::size_t>(layout_.bookmark_offset) + 4] = bfInserted;
}

bool TDBRecordDataSet::GetRecord(TRecordBuffer& buffer, TGetMode mode) {
  const int count = CursorRecordCount();
  if (count == 0) {
    return false;
  }
  int position = cur_rec_;
  switch (mode) {
    case TGetMode::Current:
      if (position < 0 || position >= count) {
        return false;
      }
      break;
    case TGetMode::Next:
      if (position >= count - 1) {
        return false;
      }
      ++position;
      break;
    case TGetMode::Prior:
      if (position <= 0) {
        return false;
      }
      position = std::min(position, count) - 1;
      break;
  }
  LoadRecordData(buffer, position);
  cur_rec_ = position;
  const std::span<std::uint8_t> bookmark(buffer.bytes.data() + layout_.bookmark_offset, 5);
  storage::StoreInteger(bookmark.first(4), RecordNoAt(position));
  bookmark[4] = bfCurrent;
  ComputeCalcFields(buffer);
  return true;
}

void TDBRecordDataSet::ComputeCalcFields(TRecordBuffer& buffer) {
  if (data_field_count_ == fields_.size()) {
    return;
  }
  for (std::size_t i = data_field_count_; i < fields_.size(); ++i) {
    const std::size_t at = static_cast<std::size_t>(fields_[i]->Offset());
    std::fill(buffer.bytes.begin() + static_cast<std::ptrdiff_t>(at),
              buffer.bytes.begin() + static_cast<std::ptrdiff_t>(at) + 1 + fields_[i]->DataSize(),
              std::uint8_t{0});
  }
  if (!auto_calc_fields_ || !OnCalcFields) {
    return;
  }
  calc_buffer_ = &buffer;
  const TStateRestore restore(state_, dsCalcFields);
  OnCalcFields(*this);
}

void TDBRecordDataSet::Resync() {
  has_record_ = GetRecord(*record_buffer_, TGetMode::Current) ||
                GetRecord(*record_buffer_, TGetMode::Next) ||
                GetRecord(*record_buffer_, TGetMode::Prior);
  if (!has_record_) {
    InitRecord(*record_buffer_);
    bof_ = eof_ = true;
  } else {
    bof_ = eof_ = false;
  }
}

void TDBRecordDataSet::First() {
  CheckBrowseMode();
  Fire(BeforeScroll);
  cur_rec_ = -1;
  has_record_ = GetRecord(*record_buffer_, TGetMode::Next);
  bof_ = true;
  eof_ = !has_record_;
  Fire(AfterScroll);
}

void TDBRecordDataSet::Last() {
  CheckBrowseMode();
  Fire(BeforeScroll);
  cur_rec_ = CursorRecordCount();
  has_record_ = GetRecord(*record_buffer_, TGetMode::Prior);
  if (!has_record_) {
    cur_rec_ = -1;
  }
  eof_ = true;
  bof_ = !has_record_;
  Fire(AfterScroll);
}

void TDBRecordDataSet::Next() {
  CheckBrowseMode();
  Fire(BeforeScroll);
  if (!eof_) {
    if (GetRecord(*record_buffer_, TGetMode::Next)) {
      has_record_ = true;
      bof_ = false;
    } else {
      eof_ = true;
    }
  }
  Fire(AfterScroll);
}

void TDBRecordDataSet::Prior() {
  CheckBrowseMode();
  Fire(BeforeScroll);
  if (!bof_) {
    if (GetRecord(*record_buffer_, TGetMode::Prior)) {
      has_record_ = true;
      eof_ = false;
    } else {
      bof_ = true;
    }
  }
  Fire(AfterScroll);
}

int TDBRecordDataSet::RecNo() const {
  if (!Active()) {
    return 0;
  }
  if (cur_rec_ == -1) {
    return CursorRecordCount() > 0 ? 1 : 0;
  }
  return cur_rec_ + 1;
}

void TDBRecordDataSet::SetRecNo(int n) {
  CheckBrowseMode();
  if (n < 0 || n > CursorRecordCount() || n == RecNo()) {
    return;
  }
  Fire(BeforeScroll);
  cur_rec_ = n - 1;
  Resync();
  Fire(AfterScroll);
}

std::int32_t TDBRecordDataSet::GetBookmark() const {
  CheckActive();
  if (!has_record_) {
    RaiseAccessError(TAccessMessage::NoRecords);
  }
  return storage::LoadInteger(
      std::span<const std::uint8_t>(record_buffer_->bytes.data() + layout_.bookmark_offset, 4));
}

void TDBRecordDataSet::GotoBookmark(std::int32_t bookmark) {
  CheckBrowseMode();
  const int count = CursorRecordCount();
  int position = -1;
  for (int i = 0; i < count; ++i) {
    if (RecordNoAt(i) == bookmark) {
      position = i;
      break;
    }
  }
  if (position < 0) {
    RaiseAccessError(TAccessMessage::BookmarkNotFound);
  }
  Fire(BeforeScroll);
  cur_rec_ = position;
  Resync();
  Fire(AfterScroll);
}

void TDBRecordDataSet::Refresh() {
  CheckBrowseMode();
  Fire(BeforeRefresh);
  InternalRefresh();
  Resync();
  Fire(AfterRefresh);
}

void TDBRecordDataSet::CheckCanModifyOrRaise() const {
  if (!CanModify()) {
    RaiseAccessError(TAccessMessage::DataSetReadOnly, {}, Name());
  }
}

void TDBRecordDataSet::RunWithErrorEvent(const TDataSetErrorEvent& handler,
                                         const std::function<void()>& work) {
  for (;;) {
    try {
      work();
      return;
    } catch (const EDatabaseError& error) {
      if (!handler) {
        throw;
      }
      TDataAction action = daFail;
      handler(*this, error, action);
      if (action == daFail) {
        throw;
      }
      if (action == daAbort) {
        throw EAbort();
      }
    }
  }
}

void TDBRecordDataSet::Edit() {
  if (state_ == dsEdit || state_ == dsInsert) {
    return;
  }
  CheckActive();
  if (CursorRecordCount() == 0) {
    Insert();
    return;
  }
  CheckBrowseMode();
  CheckCanModifyOrRaise();
  Fire(BeforeEdit);
  RunWithErrorEvent(OnEditError, [] {});
  state_ = dsEdit;
  modified_ = false;
  Fire(AfterEdit);
}

void TDBRecordDataSet::Insert() {
  CheckBrowseMode();
  CheckCanModifyOrRaise();
  Fire(BeforeInsert);
  Fire(BeforeScroll);
  InitRecord(*record_buffer_);
  state_ = dsInsert;
  try {
    Fire(OnNewRecord);
  } catch (...) {
    state_ = dsBrowse;
    Resync();
    throw;
  }
  modified_ = false;
  Fire(AfterInsert);
  Fire(AfterScroll);
}

void TDBRecordDataSet::Post() {
  if (state_ == dsSetKey) {
    state_ = dsBrowse;
    return;
  }
  if (state_ != dsEdit && state_ != dsInsert) {
    CheckActive();
    RaiseAccessError(TAccessMessage::NotEditing, {}, Name());
  }
  Fire(BeforePost);
  const bool inserting = state_ == dsInsert;
  RunWithErrorEvent(OnPostError, [&] { InternalPost(inserting); });
  state_ = dsBrowse;
  modified_ = false;
  Resync();
  Fire(AfterPost);
}

void TDBRecordDataSet::Cancel() {
  if (state_ == dsSetKey) {
    state_ = dsBrowse;
    return;
  }
  if (state_ != dsEdit && state_ != dsInsert) {
    return;
  }
  Fire(BeforeCancel);
  state_ = dsBrowse;
  modified_ = false;
  Resync();
  Fire(AfterCancel);
}

void TDBRecordDataSet::Delete() {
  CheckActive();
  if (state_ == dsInsert || state_ == dsSetKey) {
    Cancel();
    return;
  }
  if (CursorRecordCount() == 0 || !has_record_) {
    RaiseAccessError(TAccessMessage::DataSetEmpty, {}, Name());
  }
  CheckBrowseMode();
  CheckCanModifyOrRaise();
  Fire(BeforeDelete);
  Fire(BeforeScroll);
  RunWithErrorEvent(OnDeleteError, [&] { InternalDelete(); });
  state_ = dsBrowse;
  Resync();
  Fire(AfterDelete);
  Fire(AfterScroll);
}

void TDBRecordDataSet::CheckBrowseMode() {
  CheckActive();
  switch (state_) {
    case dsEdit:
    case dsInsert:
      if (modified_) {
        Post();
      } else {
        Cancel();
      }
      break;
    case dsSetKey:
      Post();
      break;
    default:
      break;
  }
}

void TDBRecordDataSet::SetKey() {
  CheckBrowseMode();
  InitRecord(*key_buffer_);
  state_ = dsSetKey;
}

TField* TDBRecordDataSet::FindField(const std::string& name) const {
  if (const auto cached = field_cache_.find(name); cached != field_cache_.end()) {
    return cached->second;
  }
  for (const auto& field : fields_) {
    if (platform::AnsiSameText(field->FieldName(), name)) {
      field_cache_.emplace(name, field.get());
      return field.get();
    }
  }
  return nullptr;
}

TField& TDBRecordDataSet::FieldByName(const std::string& name) const {
  TField* field = FindField(name);
  if (field == nullptr) {
    RaiseAccessError(TAccessMessage::FieldNotFound, name, Name());
  }
  return *field;
}

std::vector<TValue> TDBRecordDataSet::FieldValuesArray(const std::string& names) const {
  std::vector<TValue> values;
  for (const std::string& name : SplitNames(names)) {
    values.push_back(FieldByName(name).Value());
  }
  return values;
}

void TDBRecordDataSet::SetFieldValuesArray(const std::string& names,
                                           const std::vector<TValue>& values) {
  std::vector<TField*> fields;
  for (const std::string& name : SplitNames(names)) {
    fields.push_back(&FieldByName(name));
  }
  if (fields.size() != values.size()) {
    RaiseAccessError(TAccessMessage::ValueCountMismatch, {}, Name());
  }
  for (std::size_t i = 0; i < fields.size(); ++i) {
    fields[i]->SetValue(values[i]);
  }
}

TRecordBuffer* TDBRecordDataSet::CurrentRecordBuffer() const {
  switch (state_) {
    case dsBrowse:
      return has_record_ ? record_buffer_.get() : nullptr;
    case dsEdit:
    case dsInsert:
      return record_buffer_.get();
    case dsSetKey:
      return key_buffer_.get();
    case dsFilter:
      return filter_buffer_.get();
    case dsCalcFields:
      return calc_buffer_;
    default:
      return nullptr;
  }
}

TRecordBuffer& TDBRecordDataSet::WritableRecordBuffer() {
  CheckActive();
  // A value written in browse state would never be stored and would be lost at the next
  // re-read without a word; it is refused instead.
  TRecordBuffer* buffer = state_ == dsBrowse ? nullptr : CurrentRecordBuffer();
  if (buffer == nullptr) {
    RaiseAccessError(TAccessMessage::NotEditing, {}, Name());
  }
  return *buffer;
}

void TDBRecordDataSet::FieldChanged(TField&) {
  if (state_ == dsEdit || state_ == dsInsert) {
    modified_ = true;
  }
}

}  // namespace database::access
