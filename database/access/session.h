#pragma once
// Sessions: named groups of database objects. A session finds or creates the database object
// that a cursor names, counts the cursors that use it and frees temporary database objects
// nobody uses. It also supplies the file-lock retry rule of its databases. The process-wide
// session list holds every session and the default session "Default", which serves every
// cursor and database object whose session name is empty or "Default".

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "database/access/component.h"
#include "database/storage/db_file_io.h"

namespace database::access {

class TDatabase;
class TSessionList;

// Invariants: every database object in Databases() has this session as its Session(); the
// temporary database objects it created are owned here until freed; the session lock depth
// is > 0 exactly while this session holds the process-wide session mutex through
// LockSession. Registers with the session list for its whole life; the list must outlive it.
class TSession final : public TComponent {
 public:
  // Raises "Cannot add a session to the form or data-module while session '%s' has
  // AutoSessionName enabled" when `owner` already owns such a session.
  explicit TSession(TComponent* owner);
  ~TSession() override;

  const std::string& SessionName() const { return session_name_; }
  // Raises, session named: "Cannot modify SessionName while AutoSessionName is enabled",
  // "Cannot perform this operation on an active session", "Duplicate session name '%s'".
  void SetSessionName(const std::string& name);
  bool Active() const { return active_; }
  // Start raises "Session name missing" (session named) and leaves the session stopped.
  void SetActive(bool active);
  bool AutoSessionName() const { return auto_session_name_; }
  void SetAutoSessionName(bool value);
  bool KeepConnections() const { return keep_connections_; }
  void SetKeepConnections(bool value) { keep_connections_ = value; }
  bool SQLHourGlass() const { return sql_hour_glass_; }
  void SetSQLHourGlass(bool value) { sql_hour_glass_ = value; }
  // Failed file-lock attempts tolerated (0: wait without limit); negative values store 0.
  int LockRetryCount() const { return lock_retry_count_; }
  void SetLockRetryCount(int value) { lock_retry_count_ = value < 0 ? 0 : value; }
  // Milliseconds to wait after each failed attempt; negative values store 0.
  int LockWaitTime() const { return lock_wait_time_; }
  void SetLockWaitTime(int value) { lock_wait_time_ = value < 0 ? 0 : value; }

  void SetName(const std::string& name) override;

  std::function<void(TSession& sender)> OnStartup;

  // The first database object whose DatabaseName equals `name` (letter case ignored); one
  // with an empty name only when it is temporary and `name` is empty. Null when none.
  TDatabase* FindDatabase(const std::string& name) const;
  // Finds or creates (temporary, with `medium`) the database object `name`, connects it and,
  // when `counted`, counts a use. A database object created here is freed again when any step
  // raises; the error passes on.
  TDatabase& OpenDatabase(const std::string& name, storage::TDBMediumType medium, bool counted);
  // Counts a use down; at 0, unless KeepConnection is set, frees a temporary database object
  // and disconnects any other.
  void CloseDatabase(TDatabase& database);
  const std::vector<TDatabase*>& Databases() const { return databases_; }

  // Used by TDatabase when it joins or leaves this session.
  void AddDatabase(TDatabase& database);
  void RemoveDatabase(TDatabase& database);
  // Frees `database` when this session created it (temporary); otherwise does nothing.
  void FreeTemporary(TDatabase& database);

  // The session lock: the first take enters the process-wide session mutex and starts the
  // session; nested takes count. Raises what starting raises, holding nothing then.
  void LockSession();
  void UnlockSession();

  storage::TLockRetryRule LockRetryRule() const { return {lock_retry_count_, lock_wait_time_}; }

 protected:
  void DoLoaded() override;

 private:
  friend class TSessionList;
  // The default session of `list`, before the list is reachable through Sessions().
  TSession(TComponent* owner, TSessionList& list);
  void Start();
  void Stop();
  void AssignAutoName();
  void CheckInactive() const;

  TSessionList& list_;  // outlives every session
  std::string session_name_;
  bool active_ = false;
  bool auto_session_name_ = false;
  bool keep_connections_ = false;
  bool sql_hour_glass_ = true;
  int lock_retry_count_ = 20;
  int lock_wait_time_ = 100;
  std::vector<TDatabase*> databases_;                    // not owned; order added
  std::vector<std::unique_ptr<TDatabase>> temporaries_;  // owned: created by OpenDatabase
  int auto_number_ = -1;                                 // -1: none taken
  int lock_depth_ = 0;                                   // nesting of LockSession
  bool stream_active_ = false;                           // Active read as True while loading
  bool assigning_auto_name_ = false;
};

// Holds a session's lock for its lifetime.
class TSessionLockGuard final {
 public:
  explicit TSessionLockGuard(TSession& session) : session_(session) { session_.LockSession(); }
  ~TSessionLockGuard() { session_.UnlockSession(); }
  TSessionLockGuard(const TSessionLockGuard&) = delete;
  TSessionLockGuard& operator=(const TSessionLockGuard&) = delete;

 private:
  TSession& session_;
};

// The process-wide list of sessions, with the default session and the session mutex.
// Created on first use and freed at program exit, after every other session is gone.
class TSessionList final {
 public:
  TSessionList();
  ~TSessionList();
  TSessionList(const TSessionList&) = delete;
  TSessionList& operator=(const TSessionList&) = delete;

  // The default session for an empty name; otherwise the first session whose SessionName
  // equals `name` (letter case ignored), or null.
  TSession* FindSession(const std::string& name);
  // As FindSession; raises "Invalid session name %s" when none matches.
  TSession& FindSessionOrFail(const std::string& name);
  TSession& DefaultSession() { return *default_raw_; }
  bool IsDefault(const TSession* session) const { return session == default_raw_; }
  std::size_t Count();

  // The mutual-exclusion object behind the session lock and session start and stop.
  std::recursive_mutex& SessionMutex() { return session_mutex_; }
  int TakeAutoNumber();
  void ReleaseAutoNumber(int number);
  void Add(TSession& session);
  void Remove(TSession& session);
  // A session other than `except` whose SessionName equals `name` (case ignored), or null.
  TSession* FindOther(const std::string& name, const TSession* except);

 private:
  std::recursive_mutex list_lock_;  // guards sessions_ and auto_numbers_
  std::recursive_mutex session_mutex_;
  std::vector<TSession*> sessions_;  // not owned except the default session; order added
  std::vector<bool> auto_numbers_;   // entry n: number n in use
  std::unique_ptr<TSession> default_session_;
  TSession* default_raw_ = nullptr;  // the default session, also while it is being freed
};

TSessionList& Sessions();
// The default session "Default".
TSession& Session();

}  // namespace database::access
