#include "database/access/database.h"

#include <algorithm>
#include <exception>

#include "database/access/access_error.h"
#include "database/access/db_data_set.h"
#include "database/access/db_login_form.h"
#include "database/access/db_record_data_set.h"
#include "database/access/session.h"
#include "platform/collation.h"

namespace database::access {
namespace {

// The session that `owner` is, or a session of `owner` with AutoSessionName set, or the
// default session.
TSession& InitialSession(TComponent* owner) {
  if (auto* session = dynamic_cast<TSession*>(owner)) {
    return *session;
  }
  if (owner != nullptr) {
    for (TComponent* component : owner->Components()) {
      auto* session = dynamic_cast<TSession*>(component);
      if (session != nullptr && session->AutoSessionName()) {
        return *session;
      }
    }
  }
  return Session();
}

}  // namespace

TDatabase::TDatabase(TComponent* owner) : TComponent(owner), session_(&InitialSession(owner)) {
  session_name_ = session_->SessionName();
  session_->AddDatabase(*this);
  flush_timer_.SetEnabled(false);
  flush_timer_.SetInterval(auto_flush_interval_);
  flush_timer_.OnTimer = [this] { FlushTimerTick(); };
}

TDatabase::~TDatabase() {
  MarkDestroying();
  session_->RemoveDatabase(*this);
  try {
    SetConnected(false);
  } catch (const platform::EError&) {
    // A disconnect handler raised; the file reader is closed all the same below.
  }
  table_ios_.clear();
  file_io_.reset();
  flush_timer_.SetEnabled(false);
}

void TDatabase::CheckInactive() const {
  if (file_io_ != nullptr) {
    RaiseAccessError(TAccessMessage::DatabaseOpen, {}, Name());
  }
}

void TDatabase::CheckConnected() const {
  if (!Connected()) {
    RaiseAccessError(TAccessMessage::DatabaseClosed, {}, Name());
  }
}

void TDatabase::SetDatabaseName(const std::string& name) {
  if (name == database_name_) {
    return;
  }
  CheckInactive();
  CheckDuplicateName(name);
  database_name_ = name;
}

void TDatabase::SetFileName(const std::string& name) {
  CheckInactive();
  file_name_ = name;
}

void TDatabase::SetMediumType(TDBMediumType medium) {
  if (medium == medium_type_) {
    return;
  }
  CheckInactive();
  medium_type_ = medium;
  for (TDBDataSet* client : std::vector<TDBDataSet*>(clients_)) {
    if (auto* cursor = dynamic_cast<TDBRecordDataSet*>(client)) {
      cursor->SetMediumType(medium);
    }
  }
}

void TDatabase::SetExclusive(bool exclusive) {
  CheckInactive();
  exclusive_ = exclusive;
}

void TDatabase::SetReadOnly(bool read_only) {
  CheckInactive();
  read_only_ = read_only;
}

void TDatabase::SetKeepConnection(bool keep) {
  if (keep == keep_connection_) {
    return;
  }
  keep_connection_ = keep;
  if (!keep && ref_count_ == 0) {
    SetConnected(false);
  }
}

void TDatabase::SetSessionName(const std::string& name) {
  if (Loading()) {
    session_name_ = name;
    return;
  }
  CheckInactive();
  if (name == session_name_) {
    return;
  }
  session_name_ = name;
  BindToSession(false);
}

void TDatabase::SetAutoFlush(bool auto_flush) {
  if (auto_flush == auto_flush_) {
    return;
  }
  auto_flush_ = auto_flush;
  if (auto_flush_) {
    flush_timer_.SetInterval(auto_flush_interval_);
  }
  flush_timer_.SetEnabled(auto_flush_);
}

void TDatabase::SetAutoFlushInterval(int interval_ms) {
  if (interval_ms == auto_flush_interval_) {
    return;
  }
  auto_flush_interval_ = interval_ms;
  if (flush_timer_.Enabled()) {
    flush_timer_.SetInterval(interval_ms);
  }
}

void TDatabase::FlushTimerTick() {
  if (Connected() && !file_io_->IsFlushed()) {
    file_io_->Flush();
  }
}

void TDatabase::SetConnected(bool connected) {
  if (Loading()) {
    if (connected) {
      stream_connected_ = true;
    }
    return;
  }
  if (connected == Connected()) {
    return;
  }
  if (connected) {
    Connect();
  } else {
    Disconnect();
  }
}

void TDatabase::DoLoaded() {
  if (stream_connected_) {
    stream_connected_ = false;
    SetConnected(true);
  }
}

void TDatabase::BindToSession(bool required) {
  TSession* target = required ? &Sessions().FindSessionOrFail(session_name_)
                              : Sessions().FindSession(session_name_);
  if (target == nullptr) {
    return;
  }
  if (target != session_) {
    session_->RemoveDatabase(*this);
    session_ = target;
    session_->AddDatabase(*this);
    try {
      CheckDuplicateName(database_name_);
    } catch (const EDatabaseError&) {
      database_name_.clear();
      throw;
    }
  }
  if (required) {
    session_->SetActive(true);
  }
}

void TDatabase::CheckDuplicateName(const std::string& name) {
  if (name.empty()) {
    return;
  }
  TDatabase* other = session_->FindDatabase(name);
  if (other == nullptr || other == this) {
    return;
  }
  if (!other->Temporary() || other->RefCount() != 0) {
    RaiseAccessError(TAccessMessage::DuplicateDatabaseName, name);
  }
  // A temporary database object nobody uses gives way to this one.
  if (auto* owner = dynamic_cast<TSession*>(other->Owner())) {
    owner->FreeTemporary(*other);
  }
}

void TDatabase::WireProgress() {
  file_io_->SetOnCompressProgress([this](int percent) {
    if (OnCompressProgress) {
      OnCompressProgress(*this, percent);
    }
  });
  file_io_->SetOnUncompressProgress([this](int percent) {
    if (OnUncompressProgress) {
      OnUncompressProgress(*this, percent);
    }
  });
  file_io_->SetOnEncryptProgress([this](int percent) {
    if (OnEncryptProgress) {
      OnEncryptProgress(*this, percent);
    }
  });
  file_io_->SetOnDecryptProgress([this](int percent) {
    if (OnDecryptProgress) {
      OnDecryptProgress(*this, percent);
    }
  });
}

void TDatabase::Connect() {
  if (BeforeConnect) {
    BeforeConnect(*this);
  }
  if (database_name_.empty() && !temporary_) {
    RaiseAccessError(TAccessMessage::DatabaseNameMissing, {}, Name());
  }
  BindToSession(true);
  if (file_io_ == nullptr) {
    file_io_ = std::make_unique<storage::TDBFileIO>(medium_type_, exclusive_);
  }
  // The lock rule is read from the session at each lock, so that changes apply at once.
  file_io_->SetLockRetrySource([this] { return session_->LockRetryRule(); });
  WireProgress();
  try {
    file_io_->Open(FileNameToOpen(), medium_type_, 0, read_only_, exclusive_);
  } catch (...) {
    file_io_->Close();
    file_io_.reset();
    throw;
  }
  connected_ = true;
  can_access_ = !file_io_->Encrypted();
  if (file_io_->Encrypted() && password_set_) {
    can_access_ = file_io_->VerifyPassword(password_);
  }
  std::vector<std::string> names;
  file_io_->ListTableNames(names);
  table_defs_.Clear();
  for (std::size_t i = 0; i < names.size(); ++i) {
    table_defs_.Add(storage::TTableDef{names[i], static_cast<std::int32_t>(i)});
  }
  table_ios_.clear();
  for (const std::string& name : names) {
    auto table_io = std::make_unique<storage::TTableIO>(*file_io_);
    table_io->SetTableName(name);
    table_ios_.push_back(std::move(table_io));
  }
  if (AfterConnect) {
    AfterConnect(*this);
  }
}

void TDatabase::Disconnect() {
  if (BeforeDisconnect) {
    BeforeDisconnect(*this);
  }
  disconnecting_ = true;
  // The file closes first; the reader object itself goes with the table readers, after the
  // cursors that point at both have closed.
  file_io_->Close();
  connected_ = false;
  // Every cursor is closed, also after a close handler raised: none may keep pointing at
  // the table readers freed below. The first such error is raised once the disconnect is done.
  std::exception_ptr close_error;
  while (!clients_.empty()) {
    TDBDataSet* client = clients_.back();
    try {
      client->CloseForDatabase();
    } catch (...) {
      if (!close_error) {
        close_error = std::current_exception();
      }
    }
    std::erase(clients_, client);
  }
  disconnecting_ = false;
  ref_count_ = 0;
  can_access_ = false;
  password_.clear();
  password_set_ = false;
  table_ios_.clear();
  table_defs_.Clear();
  file_io_.reset();
  if (close_error) {
    std::rethrow_exception(close_error);
  }
  if (AfterDisconnect) {
    AfterDisconnect(*this);
  }
}

void TDatabase::SetPassword(const std::string& password) {
  password_ = password;
  password_set_ = true;
  if (Connected()) {
    can_access_ = file_io_->VerifyPassword(password);
  }
}

void TDatabase::CheckCanAccess() {
  if (can_access_) {
    return;
  }
  if (password_set_) {
    SetPassword(password_);
  } else {
    std::string password;
    if (!LoginDialog(FileNameToOpen(), password)) {
      throw EAbort();
    }
    SetPassword(password);
  }
  if (!can_access_) {
    RaiseAccessError(TAccessMessage::AccessDenied);
  }
}

storage::TTableIO* TDatabase::FindTableIO(const std::string& table_name) {
  for (const auto& table_io : table_ios_) {
    if (platform::AnsiSameText(table_io->TableName(), table_name)) {
      return table_io.get();
    }
  }
  return nullptr;
}

std::vector<std::string> TDatabase::TableNames() const {
  std::vector<std::string> names;
  if (Connected()) {
    file_io_->ListTableNames(names);
  }
  return names;
}

void TDatabase::RegisterClient(TComponent* client) {
  auto* cursor = dynamic_cast<TDBDataSet*>(client);
  if (cursor != nullptr && std::find(clients_.begin(), clients_.end(), cursor) == clients_.end()) {
    clients_.push_back(cursor);
  }
}

void TDatabase::UnregisterClient(TComponent* client) {
  auto* cursor = dynamic_cast<TDBDataSet*>(client);
  if (cursor != nullptr) {
    std::erase(clients_, cursor);
  }
}

bool TDatabase::Encrypted() const {
  CheckConnected();
  return file_io_->Encrypted();
}

bool TDatabase::Compressed() const {
  CheckConnected();
  return file_io_->Compressed();
}

bool TDatabase::CRC32Check() const {
  CheckConnected();
  return file_io_->CRC32Check();
}

}  // namespace database::access
