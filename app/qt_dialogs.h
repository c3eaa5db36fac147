#pragma once
// The Qt side of the operator dialogs: message boxes, the text input and the database login.
// The wizard installs one at start-up; engines and forms reach it through platform::Dialogs().
// Texts arrive as Windows-1252 bytes and are converted here, at the widget boundary.

#include <string>

#include "platform/dialogs.h"

class QWidget;

namespace app {

// The caption of a box that names none, and the application's title.
inline constexpr char kApplicationTitle[] = "Software ZELMORIC Installer";

class TQtDialogs final : public platform::IDialogs {
 public:
  platform::TDialogButton MessageBox(const platform::TMessageBoxRequest& request) override;
  bool InputQuery(const std::string& caption, const std::string& prompt,
                  std::string& value) override;
  bool Login(const std::string& database_name, std::string& password) override;
};

}  // namespace app
