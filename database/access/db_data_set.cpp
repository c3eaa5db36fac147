#include "database/access/db_data_set.h"

#include "database/access/access_error.h"
#include "database/access/database.h"
#include "database/access/session.h"

namespace database::access {

TDBDataSet::TDBDataSet(TComponent* owner) : TComponent(owner) {
  if (owner == nullptr) {
    return;
  }
  for (TComponent* component : owner->Components()) {
    auto* session = dynamic_cast<TSession*>(component);
    if (session != nullptr && session->AutoSessionName()) {
      session_name_ = session->SessionName();
    }
  }
}

TDBDataSet::~TDBDataSet() = default;

void TDBDataSet::CheckInactive() const {
  if (Active()) {
    RaiseAccessError(TAccessMessage::DataSetOpen, {}, Name());
  }
}

void TDBDataSet::SetDatabaseName(const std::string& name) {
  CheckInactive();
  database_name_ = name;
}

void TDBDataSet::SetSessionName(const std::string& name) {
  CheckInactive();
  session_name_ = name;
}

TDatabase& TDBDataSet::ObtainDatabase(bool counted) {
  TSession& session = Sessions().FindSessionOrFail(session_name_);
  return session.OpenDatabase(database_name_, CursorMediumType(), counted);
}

void TDBDataSet::SetPassword(const std::string& password) {
  ObtainDatabase(false).SetPassword(password);
}

}  // namespace database::access
