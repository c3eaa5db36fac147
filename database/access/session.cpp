#include "database/access/session.h"

#include <algorithm>

#include "database/access/access_error.h"
#include "database/access/database.h"
#include "database/access/db_data_set.h"
#include "platform/collation.h"

namespace database::access {
namespace {

constexpr const char* kDefaultSessionName = "Default";

// The session of `owner`, other than `except`, that has AutoSessionName set; or null.
TSession* AutoNamedSessionOf(const TComponent* owner, const TSession* except) {
  if (owner == nullptr) {
    return nullptr;
  }
  for (TComponent* component : owner->Components()) {
    auto* session = dynamic_cast<TSession*>(component);
    if (session != nullptr && session != except && session->AutoSessionName()) {
      return session;
    }
  }
  return nullptr;
}

}  // namespace

TSession::TSession(TComponent* owner) : TSession(owner, Sessions()) {}

TSession::TSession(TComponent* owner, TSessionList& list) : TComponent(owner), list_(list) {
  if (const TSession* other = AutoNamedSessionOf(owner, this)) {
    RaiseAccessError(TAccessMessage::AutoSessionNameAddSession, other->Name());
  }
  list_.Add(*this);
}

TSession::~TSession() {
  MarkDestroying();
  try {
    SetActive(false);
  } catch (const EDatabaseError&) {
    // Stopping only frees and disconnects; a destructor has nobody to report to.
  }
  temporaries_.clear();
  // Database objects created by others outlive this session: they join the default session.
  if (!list_.IsDefault(this)) {
    while (!databases_.empty()) {
      TDatabase* database = databases_.back();
      databases_.pop_back();
      database->SetSessionName({});
      list_.DefaultSession().AddDatabase(*database);
    }
  }
  if (auto_number_ >= 0) {
    list_.ReleaseAutoNumber(auto_number_);
  }
  list_.Remove(*this);
}

void TSession::CheckInactive() const {
  if (active_) {
    RaiseAccessError(TAccessMessage::SessionActive, {}, Name());
  }
}

void TSession::SetSessionName(const std::string& name) {
  if (auto_session_name_ && !assigning_auto_name_) {
    RaiseAccessError(TAccessMessage::AutoSessionNameSet, {}, Name());
  }
  CheckInactive();
  if (!name.empty() && list_.FindOther(name, this) != nullptr) {
    RaiseAccessError(TAccessMessage::DuplicateSessionName, name, Name());
  }
  session_name_ = name;
}

void TSession::SetActive(bool active) {
  if (Loading()) {
    stream_active_ = active;
    return;
  }
  if (active == active_) {
    return;
  }
  const std::scoped_lock lock(list_.SessionMutex());
  if (active) {
    Start();
  } else {
    Stop();
  }
}

void TSession::DoLoaded() {
  if (stream_active_) {
    stream_active_ = false;
    SetActive(true);
  }
}

void TSession::Start() {
  if (OnStartup) {
    OnStartup(*this);
  }
  if (session_name_.empty()) {
    RaiseAccessError(TAccessMessage::SessionNameMissing, {}, Name());
  }
  if (!list_.IsDefault(this)) {
    list_.DefaultSession().SetActive(true);
  }
  active_ = true;
}

void TSession::Stop() {
  // Closing a cursor may free other temporary database objects on the way: walk a snapshot
  // and skip what is gone.
  const std::vector<TDatabase*> snapshot = databases_;
  for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
    TDatabase* database = *it;
    if (std::find(databases_.begin(), databases_.end(), database) == databases_.end()) {
      continue;
    }
    auto* owner = dynamic_cast<TSession*>(database->Owner());
    if (database->Temporary() && !database->Destroying() && owner != nullptr) {
      owner->FreeTemporary(*database);
    } else {
      database->SetConnected(false);
    }
  }
  active_ = false;
}

void TSession::SetAutoSessionName(bool value) {
  if (value == auto_session_name_) {
    return;
  }
  if (value) {
    CheckInactive();
    if (Owner() != nullptr) {
      for (TComponent* component : Owner()->Components()) {
        if (component != this && dynamic_cast<TSession*>(component) != nullptr) {
          RaiseAccessError(TAccessMessage::AutoSessionNameTwoSessions, {}, Name());
        }
      }
    }
    {
      const std::scoped_lock lock(list_.SessionMutex());
      auto_number_ = list_.TakeAutoNumber();
    }
    auto_session_name_ = true;
    AssignAutoName();
  } else {
    const std::scoped_lock lock(list_.SessionMutex());
    if (auto_number_ >= 0) {
      list_.ReleaseAutoNumber(auto_number_);
      auto_number_ = -1;
    }
    auto_session_name_ = false;
  }
}

void TSession::AssignAutoName() {
  assigning_auto_name_ = true;
  try {
    SetSessionName(Name() + "_" + std::to_string(auto_number_ + 1));
  } catch (...) {
    assigning_auto_name_ = false;
    throw;
  }
  assigning_auto_name_ = false;
  if (Owner() == nullptr) {
    return;
  }
  for (TComponent* component : Owner()->Components()) {
    if (auto* data_set = dynamic_cast<TDBDataSet*>(component)) {
      if (!platform::AnsiSameText(data_set->SessionName(), session_name_)) {
        data_set->SetSessionName(session_name_);
      }
    } else if (auto* database = dynamic_cast<TDatabase*>(component)) {
      if (!platform::AnsiSameText(database->SessionName(), session_name_)) {
        database->SetSessionName(session_name_);
      }
    }
  }
}

void TSession::SetName(const std::string& name) {
  TComponent::SetName(name);
  if (auto_session_name_) {
    AssignAutoName();
  }
}

TDatabase* TSession::FindDatabase(const std::string& name) const {
  for (TDatabase* database : databases_) {
    if (database->DatabaseName().empty()) {
      if (database->Temporary() && name.empty()) {
        return database;
      }
    } else if (platform::AnsiSameText(database->DatabaseName(), name)) {
      return database;
    }
  }
  return nullptr;
}

TDatabase& TSession::OpenDatabase(const std::string& name, storage::TDBMediumType medium,
                                  bool counted) {
  const TSessionLockGuard lock(*this);
  TDatabase* database = FindDatabase(name);
  TDatabase* created = nullptr;
  try {
    if (database == nullptr) {
      temporaries_.push_back(std::make_unique<TDatabase>(this));
      created = temporaries_.back().get();
      created->SetTemporary(true);
      created->SetMediumType(medium);
      created->SetDatabaseName(name);
      created->SetKeepConnection(keep_connections_);
      database = created;
    }
    database->SetConnected(true);
    if (counted) {
      database->AddRef();
    }
  } catch (...) {
    if (created != nullptr) {
      FreeTemporary(*created);
    }
    throw;
  }
  return *database;
}

void TSession::CloseDatabase(TDatabase& database) {
  database.Release();
  if (database.RefCount() != 0 || database.KeepConnection()) {
    return;
  }
  if (!database.Temporary()) {
    database.SetConnected(false);
  } else if (!database.Destroying() && !database.Disconnecting()) {
    if (auto* owner = dynamic_cast<TSession*>(database.Owner())) {
      owner->FreeTemporary(database);
    }
  }
}

void TSession::AddDatabase(TDatabase& database) {
  if (std::find(databases_.begin(), databases_.end(), &database) == databases_.end()) {
    databases_.push_back(&database);
  }
}

void TSession::RemoveDatabase(TDatabase& database) {
  std::erase(databases_, &database);
}

void TSession::FreeTemporary(TDatabase& database) {
  const auto it = std::find_if(temporaries_.begin(), temporaries_.end(),
                               [&](const auto& owned) { return owned.get() == &database; });
  if (it == temporaries_.end()) {
    return;
  }
  std::unique_ptr<TDatabase> freed = std::move(*it);
  temporaries_.erase(it);
  freed.reset();
}

void TSession::LockSession() {
  if (lock_depth_ == 0) {
    list_.SessionMutex().lock();
    if (!active_) {
      try {
        SetActive(true);
      } catch (...) {
        list_.SessionMutex().unlock();
        throw;
      }
    }
  }
  ++lock_depth_;
}

void TSession::UnlockSession() {
  if (lock_depth_ == 0) {
    return;
  }
  --lock_depth_;
  if (lock_depth_ == 0) {
    list_.SessionMutex().unlock();
  }
}

TSessionList::TSessionList() {
  default_session_.reset(new TSession(nullptr, *this));
  default_raw_ = default_session_.get();
  default_session_->SetSessionName(kDefaultSessionName);
}

TSessionList::~TSessionList() {
  default_session_.reset();
}

TSession* TSessionList::FindSession(const std::string& name) {
  if (name.empty()) {
    return default_session_.get();
  }
  const std::scoped_lock lock(list_lock_);
  for (TSession* session : sessions_) {
    if (platform::AnsiSameText(session->SessionName(), name)) {
      return session;
    }
  }
  return nullptr;
}

TSession& TSessionList::FindSessionOrFail(const std::string& name) {
  TSession* session = FindSession(name);
  if (session == nullptr) {
    RaiseAccessError(TAccessMessage::InvalidSessionName, name);
  }
  return *session;
}

TSession* TSessionList::FindOther(const std::string& name, const TSession* except) {
  const std::scoped_lock lock(list_lock_);
  for (TSession* session : sessions_) {
    if (session != except && platform::AnsiSameText(session->SessionName(), name)) {
      return session;
    }
  }
  return nullptr;
}

std::size_t TSessionList::Count() {
  const std::scoped_lock lock(list_lock_);
  return sessions_.size();
}

int TSessionList::TakeAutoNumber() {
  const std::scoped_lock lock(list_lock_);
  for (std::size_t n = 0; n < auto_numbers_.size(); ++n) {
    if (!auto_numbers_[n]) {
      auto_numbers_[n] = true;
      return static_cast<int>(n);
    }
  }
  auto_numbers_.push_back(true);
  return static_cast<int>(auto_numbers_.size() - 1);
}

void TSessionList::ReleaseAutoNumber(int number) {
  const std::scoped_lock lock(list_lock_);
  if (number >= 0 && static_cast<std::size_t>(number) < auto_numbers_.size()) {
    auto_numbers_[static_cast<std::size_t>(number)] = false;
  }
}

void TSessionList::Add(TSession& session) {
  const std::scoped_lock lock(list_lock_);
  sessions_.push_back(&session);
}

void TSessionList::Remove(TSession& session) {
  const std::scoped_lock lock(list_lock_);
  std::erase(sessions_, &session);
}

TSessionList& Sessions() {
  static TSessionList list;
  return list;
}

TSession& Session() {
  return Sessions().DefaultSession();
}

}  // namespace database::access
