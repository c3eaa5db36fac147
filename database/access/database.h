#pragma once
// The database object: one database file (or named memory stream) as the cursors see it. It
// opens the file through the file reader, decides whether its users may read the encrypted
// data (the password), keeps one table reader per table of the file and the list of cursors
// registered with it, and can flush the file on a timer. Cursors obtain it through their
// session, by name.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "database/access/component.h"
#include "database/access/timer.h"
#include "database/storage/db_file_io.h"
#include "database/storage/stored_defs.h"
#include "database/storage/table_io.h"

namespace database::access {

class TSession;
class TDBDataSet;

using storage::mtDisk;
using storage::mtMemory;
using storage::TDBMediumType;

// Invariants: connected exactly while the file reader exists and has the file open; then
// there is one table reader per table name, in file order, and CanAccess tells whether the
// password opens the data; disconnected, CanAccess, RefCount and the password are cleared.
// Owns the file reader, the table readers and the flush timer; points at its session, which
// outlives it (a session re-binds or frees its database objects before it goes).
class TDatabase final : public TComponent {
 public:
  using TNotifyEvent = std::function<void(TDatabase& sender)>;
  using TOnProgressEvent = std::function<void(TDatabase& sender, int percent)>;

  // Binds to `owner` when it is a session, otherwise to the default session (or to a session
  // of the same owner that has AutoSessionName set).
  explicit TDatabase(TComponent* owner);
  ~TDatabase() override;

  const std::string& DatabaseName() const { return database_name_; }
  // Raises "Cannot perform this operation on an open database" (database named), then
  // "Duplicate database name '%s'".
  void SetDatabaseName(const std::string& name);
  const std::string& FileName() const { return file_name_; }
  void SetFileName(const std::string& name);
  TDBMediumType MediumType() const { return medium_type_; }
  void SetMediumType(TDBMediumType medium);
  bool Connected() const { return file_io_ != nullptr && connected_; }
  void SetConnected(bool connected);
  bool Exclusive() const { return exclusive_; }
  void SetExclusive(bool exclusive);
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool read_only);
  bool KeepConnection() const { return keep_connection_; }
  void SetKeepConnection(bool keep);
  const std::string& SessionName() const { return session_name_; }
  // A name that matches no session leaves the old binding (no error).
  void SetSessionName(const std::string& name);
  bool AutoFlush() const { return auto_flush_; }
  void SetAutoFlush(bool auto_flush);
  int AutoFlushInterval() const { return auto_flush_interval_; }
  void SetAutoFlushInterval(int interval_ms);

  TNotifyEvent BeforeConnect;
  TNotifyEvent AfterConnect;
  TNotifyEvent BeforeDisconnect;
  TNotifyEvent AfterDisconnect;
  TOnProgressEvent OnCompressProgress;
  TOnProgressEvent OnUncompressProgress;
  TOnProgressEvent OnEncryptProgress;
  TOnProgressEvent OnDecryptProgress;

  TSession& Session() const { return *session_; }
  bool Temporary() const { return temporary_; }
  void SetTemporary(bool temporary) { temporary_ = temporary; }
  int RefCount() const { return ref_count_; }
  void AddRef() { ++ref_count_; }
  // Counts a use down, never below 0.
  void Release() {
    if (ref_count_ > 0) {
      --ref_count_;
    }
  }
  bool Disconnecting() const { return disconnecting_; }
  bool CanAccess() const { return can_access_; }
  const std::string& Password() const { return password_; }
  bool PasswordSet() const { return password_set_; }

  // Stores the password and, when connected, checks it (CanAccess). Never raises for a wrong
  // password.
  void SetPassword(const std::string& password);
  // Nothing when CanAccess; else checks the stored password again or asks through the login
  // dialog. Raises "Access denied", or EAbort when the dialog is cancelled.
  void CheckCanAccess();

  // The table reader of `table_name` (case ignored, first match in table order), or null.
  storage::TTableIO* FindTableIO(const std::string& table_name);
  // The file's table names in file order; empty while disconnected.
  std::vector<std::string> TableNames() const;
  const storage::TTableDefs& TableDefs() const { return table_defs_; }

  void RegisterClient(TComponent* client);
  void UnregisterClient(TComponent* client);
  const std::vector<TDBDataSet*>& Clients() const { return clients_; }

  // The open file's header flags; raise "Cannot perform this operation on a closed
  // database" (database named) while disconnected.
  bool Encrypted() const;
  bool Compressed() const;
  bool CRC32Check() const;

  // The file reader while connected; null otherwise.
  storage::TDBFileIO* FileIO() const { return connected_ ? file_io_.get() : nullptr; }
  // The name of the file to open: FileName, or DatabaseName when FileName is empty.
  const std::string& FileNameToOpen() const {
    return file_name_.empty() ? database_name_ : file_name_;
  }
  // The flush timer; the event loop fires it every AutoFlushInterval while it is enabled.
  TTimer& FlushTimer() { return flush_timer_; }

  // Moves the database to the session its SessionName names. `required`: a missing session
  // raises "Invalid session name %s" and the session is started; otherwise a missing session
  // keeps the old binding. A duplicate name in the new session clears DatabaseName and
  // raises.
  void BindToSession(bool required);
  // Runs the duplicate-name check of `name` in the current session.
  void CheckDuplicateName(const std::string& name);

 protected:
  void DoLoaded() override;

 private:
  void Connect();
  void Disconnect();
  void CheckInactive() const;
  void CheckConnected() const;
  void FlushTimerTick();
  void WireProgress();

  std::string database_name_;
  std::string file_name_;
  TDBMediumType medium_type_ = mtDisk;
  bool exclusive_ = false;
  bool read_only_ = false;
  bool keep_connection_ = false;
  std::string session_name_;
  bool auto_flush_ = false;
  int auto_flush_interval_ = 60000;  // milliseconds

  TSession* session_;  // not owned; see the class comment
  bool temporary_ = false;
  int ref_count_ = 0;
  bool can_access_ = false;
  std::string password_;
  bool password_set_ = false;
  bool connected_ = false;
  bool disconnecting_ = false;
  bool stream_connected_ = false;  // Connected read as True while loading

  std::unique_ptr<storage::TDBFileIO> file_io_;
  std::vector<std::unique_ptr<storage::TTableIO>> table_ios_;  // file order
  storage::TTableDefs table_defs_;
  std::vector<TDBDataSet*> clients_;  // not owned; registration order
  TTimer flush_timer_;
};

}  // namespace database::access
