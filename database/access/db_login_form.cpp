#include "database/access/db_login_form.h"

#include "platform/dialogs.h"

namespace database::access {

bool LoginDialog(const std::string& database_name, std::string& password) {
  std::string entered;
  if (!platform::Dialogs().Login(database_name, entered)) {
    return false;
  }
  password = entered;
  return true;
}

}  // namespace database::access
