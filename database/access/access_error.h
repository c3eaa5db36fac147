#pragma once
// The message table of the access layer (database objects, sessions, cursors and fields) and
// the one helper that raises them. The error kind is the storage engine's database error, so
// that callers catch one class for both layers; the component-name prefix is applied here.

#include <string>
#include <string_view>

#include "database/storage/database_error.h"

namespace database::access {

using storage::EAbort;
using storage::EDatabaseError;

// `%s` stands for the one argument of RaiseAccessError.
enum class TAccessMessage {
  DatabaseNameMissing,         // "Database name missing"
  InvalidSessionName,          // "Invalid session name %s"
  DatabaseOpen,                // "Cannot perform this operation on an open database"
  DatabaseClosed,              // "Cannot perform this operation on a closed database"
  DuplicateDatabaseName,       // "Duplicate database name '%s'"
  AccessDenied,                // "Access denied"
  FieldNotFound,               // "Field '%s' not found"
  DataSetOpen,                 // "Cannot perform this operation on an open dataset"
  DataSetClosed,               // "Cannot perform this operation on a closed dataset"
  DataSetReadOnly,             // "Cannot modify a read-only dataset"
  NotEditing,                  // "Dataset not in edit or insert mode"
  DataSetEmpty,                // "Cannot perform this operation on an empty dataset"
  NoRecords,                   // "No records"
  BookmarkNotFound,            // "Bookmark not found"
  SessionNameMissing,          // "Session name missing"
  SessionActive,               // "Cannot perform this operation on an active session"
  DuplicateSessionName,        // "Duplicate session name '%s'"
  AutoSessionNameSet,          // "Cannot modify SessionName while AutoSessionName is enabled"
  AutoSessionNameTwoSessions,  // "Cannot enable AutoSessionName property with more than ..."
  AutoSessionNameAddSession,   // "Cannot add a session to the form or data-module while ..."
  ValueCountMismatch,          // "Field count and value count differ"
  InvalidFloat,                // "'%s' is not a valid floating point value"
  InvalidInteger,              // "'%s' is not a valid integer value"
  InvalidBoolean,              // "'%s' is not a valid boolean value"
  InvalidDate,                 // "'%s' is not a valid date"
  InvalidTime,                 // "'%s' is not a valid time"
  InvalidDateTime,             // "'%s' is not a valid date and time"
  ValueOutOfRange,             // "Value '%s' is out of range for this field"
  InvalidConversion,           // "Cannot convert the value for field '%s'"
};

std::string AccessMessage(TAccessMessage message, std::string_view argument = {});

// Raises the database error with the message, prefixed by `component_name` and ": " when the
// name is not empty.
[[noreturn]] void RaiseAccessError(TAccessMessage message, std::string_view argument = {},
                                   std::string_view component_name = {});

}  // namespace database::access
