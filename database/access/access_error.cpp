#include "database/access/access_error.h"

#include <array>

#include "platform/error.h"

namespace database::access {
namespace {

struct TMessageText {
  TAccessMessage id;
  std::string_view text;
};

constexpr std::array kMessages = {
    TMessageText{TAccessMessage::DatabaseNameMissing, "Database name missing"},
    TMessageText{TAccessMessage::InvalidSessionName, "Invalid session name %s"},
    TMessageText{TAccessMessage::DatabaseOpen, "Cannot perform this operation on an open database"},
    TMessageText{TAccessMessage::DatabaseClosed,
                 "Cannot perform this operation on a closed database"},
    TMessageText{TAccessMessage::DuplicateDatabaseName, "Duplicate database name '%s'"},
    TMessageText{TAccessMessage::AccessDenied, "Access denied"},
    TMessageText{TAccessMessage::FieldNotFound, "Field '%s' not found"},
    TMessageText{TAccessMessage::DataSetOpen, "Cannot perform this operation on an open dataset"},
    TMessageText{TAccessMessage::DataSetClosed,
                 "Cannot perform this operation on a closed dataset"},
    TMessageText{TAccessMessage::DataSetReadOnly, "Cannot modify a read-only dataset"},
    TMessageText{TAccessMessage::NotEditing, "Dataset not in edit or insert mode"},
    TMessageText{TAccessMessage::DataSetEmpty, "Cannot perform this operation on an empty dataset"},
    TMessageText{TAccessMessage::NoRecords, "No records"},
    TMessageText{TAccessMessage::BookmarkNotFound, "Bookmark not found"},
    TMessageText{TAccessMessage::SessionNameMissing, "Session name missing"},
    TMessageText{TAccessMessage::SessionActive,
                 "Cannot perform this operation on an active session"},
    TMessageText{TAccessMessage::DuplicateSessionName, "Duplicate session name '%s'"},
    TMessageText{TAccessMessage::AutoSessionNameSet,
                 "Cannot modify SessionName while AutoSessionName is enabled"},
    TMessageText{TAccessMessage::AutoSessionNameTwoSessions,
                 "Cannot enable AutoSessionName property with more than one session on a form or "
                 "data-module"},
    TMessageText{TAccessMessage::AutoSessionNameAddSession,
                 "Cannot add a session to the form or data-module while session '%s' has "
                 "AutoSessionName enabled"},
    TMessageText{TAccessMessage::ValueCountMismatch, "Field count and value count differ"},
    TMessageText{TAccessMessage::InvalidFloat, "'%s' is not a valid floating point value"},
    TMessageText{TAccessMessage::InvalidInteger, "'%s' is not a valid integer value"},
    TMessageText{TAccessMessage::InvalidBoolean, "'%s' is not a valid boolean value"},
    TMessageText{TAccessMessage::InvalidDate, "'%s' is not a valid date"},
    TMessageText{TAccessMessage::InvalidTime, "'%s' is not a valid time"},
    TMessageText{TAccessMessage::InvalidDateTime, "'%s' is not a valid date and time"},
    TMessageText{TAccessMessage::ValueOutOfRange, "Value '%s' is out of range for this field"},
    TMessageText{TAccessMessage::InvalidConversion, "Cannot convert the value for field '%s'"},
};

}  // namespace

std::string AccessMessage(TAccessMessage message, std::string_view argument) {
  for (const TMessageText& entry : kMessages) {
    if (entry.id != message) {
      continue;
    }
    return platform::FormatMessage(entry.text, argument);
  }
  return std::string(argument);
}

void RaiseAccessError(TAccessMessage message, std::string_view argument,
                      std::string_view component_name) {
  throw EDatabaseError(storage::PrefixedMessage(component_name, AccessMessage(message, argument)));
}

}  // namespace database::access
