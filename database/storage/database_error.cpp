#include "database/storage/database_error.h"

#include <array>
#include <cstddef>

#include "platform/error.h"

namespace database::storage {
namespace {

struct TMessageText {
  TDbMessage id;
  std::string_view text;
};

constexpr std::array kMessages = {
    TMessageText{TDbMessage::CannotOpenFile, "Cannot open file %s"},
    TMessageText{TDbMessage::NotValidDatabase, "Database file '%s' is not a valid database"},
    TMessageText{TDbMessage::VersionNotCompatible, "Version 1.00 is not compatible"},
    TMessageText{TDbMessage::VersionTooHigh, "Version of database file is too High"},
    TMessageText{TDbMessage::InvalidDatabaseName, "Invalid database name '%s'"},
    TMessageText{TDbMessage::WaitForUnlockTimeOut, "Wait for unlock time out"},
    TMessageText{TDbMessage::TableNotFound, "Table '%s' not found"},
    TMessageText{TDbMessage::GeneralError, "General error"},
    TMessageText{TDbMessage::InvalidUniqueFieldValue, "Invalid unique field value '%s'"},
    TMessageText{TDbMessage::DamagedFile, "Database file is damaged: %s"},
    TMessageText{TDbMessage::BlobCheckFailed, "BLOB data could not be verified after %s writes"},
    TMessageText{TDbMessage::ReadOnlyDatabase, "Cannot modify a read-only database"},
    TMessageText{TDbMessage::CannotCreateDatabase, "Cannot create database: %s"},
    TMessageText{TDbMessage::DatabaseFull, "Database file cannot grow beyond 2 GiB"},
};

}  // namespace

std::string DatabaseMessage(TDbMessage message, std::string_view argument) {
  for (const TMessageText& entry : kMessages) {
    if (entry.id != message) {
      continue;
    }
    return platform::FormatMessage(entry.text, argument);
  }
  return std::string(argument);
}

std::string PrefixedMessage(std::string_view component_name, const std::string& message) {
  if (component_name.empty()) {
    return message;
  }
  return std::string(component_name) + ": " + message;
}

void RaiseDatabaseError(TDbMessage message, std::string_view argument,
                        std::string_view component_name) {
  throw EDatabaseError(PrefixedMessage(component_name, DatabaseMessage(message, argument)));
}

void RaiseDamaged(std::string_view what) {
  RaiseDatabaseError(TDbMessage::DamagedFile, what);
}

}  // namespace database::storage
