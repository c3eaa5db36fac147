#pragma once
// The one error kind of the database storage and access layers, its silent-abort companion,
// and the table of their message texts. Every database message is raised through
// RaiseDatabaseError so that the texts live in one place and the component-name prefix is
// applied the same way everywhere.

#include <string>
#include <string_view>

#include "platform/error.h"

namespace database::storage {

// A database error: the text is meant for the operator as it stands.
class EDatabaseError : public platform::EError {
 public:
  explicit EDatabaseError(const std::string& message) : EError(message) {}
};

// Ends an operation without any message (the operator cancelled the login dialog). It is not
// an EDatabaseError, so handlers that report database errors never show it.
class EAbort final : public platform::EError {
 public:
  EAbort() : EError("Operation aborted") {}
};

// The message texts. `%s` and `%d` stand for the one argument of RaiseDatabaseError.
enum class TDbMessage {
  CannotOpenFile,           // "Cannot open file %s"
  NotValidDatabase,         // "Database file '%s' is not a valid database"
  VersionNotCompatible,     // "Version 1.00 is not compatible"
  VersionTooHigh,           // "Version of database file is too High"
  InvalidDatabaseName,      // "Invalid database name '%s'"
  WaitForUnlockTimeOut,     // "Wait for unlock time out"
  TableNotFound,            // "Table '%s' not found"
  GeneralError,             // "General error"
  InvalidUniqueFieldValue,  // "Invalid unique field value '%s'"
  DamagedFile,              // "Database file is damaged: %s"
  BlobCheckFailed,          // "BLOB data could not be verified after %s writes"
  ReadOnlyDatabase,         // "Cannot modify a read-only database"
  CannotCreateDatabase,     // "Cannot create database: %s"
  DatabaseFull,             // "Database file cannot grow beyond 2 GiB"
};

// The message with `argument` in place of its placeholder (the message as it stands when it
// has none).
std::string DatabaseMessage(TDbMessage message, std::string_view argument = {});

// Prefixes `component_name` and ": " when the name is not empty.
std::string PrefixedMessage(std::string_view component_name, const std::string& message);

[[noreturn]] void RaiseDatabaseError(TDbMessage message, std::string_view argument = {},
                                     std::string_view component_name = {});

// Shorthand for a damaged file: "Database file is damaged: <what>".
[[noreturn]] void RaiseDamaged(std::string_view what);

}  // namespace database::storage
