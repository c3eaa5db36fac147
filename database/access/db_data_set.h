#pragma once
// The base of the cursors: binds a cursor to a database object by name through its session.
// The database object closes its registered cursors through CloseForDatabase when it
// disconnects.

#include <string>

#include "database/access/component.h"
#include "database/storage/db_file_io.h"

namespace database::access {

class TDatabase;

// Holds the database object obtained at open (counted) until close; the session owns or
// frees that object, and the database closes this cursor before it goes away.
class TDBDataSet : public TComponent {
 public:
  // Takes the session name of a session of `owner` that has AutoSessionName set.
  explicit TDBDataSet(TComponent* owner);
  ~TDBDataSet() override;

  const std::string& DatabaseName() const { return database_name_; }
  // Raises "Cannot perform this operation on an open dataset" (cursor named) while open.
  virtual void SetDatabaseName(const std::string& name);
  const std::string& SessionName() const { return session_name_; }
  // Raises "Cannot perform this operation on an open dataset" (cursor named) while open.
  void SetSessionName(const std::string& name);
  // The database object held while open; null otherwise.
  TDatabase* Database() const { return database_; }

  virtual bool Active() const = 0;
  // Closes the cursor for its database object, which is disconnecting.
  virtual void CloseForDatabase() = 0;
  // Medium given to a temporary database object created for this cursor.
  virtual storage::TDBMediumType CursorMediumType() const { return storage::mtDisk; }

  // Obtains the database object without counting a use and gives it the password. Raises
  // what connecting raises ("Cannot open file %s", "Invalid session name %s", ...).
  void SetPassword(const std::string& password);

 protected:
  // Finds the session ("Invalid session name %s") and asks it for the database object,
  // connected; counted or not.
  TDatabase& ObtainDatabase(bool counted);
  void CheckInactive() const;

  std::string database_name_;
  std::string session_name_;
  TDatabase* database_ = nullptr;  // see the class comment
};

}  // namespace database::access
