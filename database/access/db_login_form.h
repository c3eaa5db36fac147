#pragma once
// The database login dialog: its texts and layout, from which the wizard builds the Qt form,
// and the call that shows it through the dialog interface (platform/dialogs.h). The database
// object asks for a password through it when a cursor opens an encrypted database that was
// given none.

#include <string>
#include <string_view>

namespace database::access {

// Positions are (left, top, width, height) in pixels. Widths that depend on the client area
// are given as what is taken off the parent's client width.
struct TDBLoginForm {
  static constexpr std::string_view kCaption = "Database Login";
  static constexpr int kWidth = 281;  // the window, centred on the screen, not scaled
  static constexpr int kHeight = 154;

  // BackPanel: inner bevel raised, outer bevel lowered, no caption.
  static constexpr int kPanelLeft = 8;
  static constexpr int kPanelTop = 8;
  static constexpr int kPanelWidthInset = 16;  // client width - 16
  static constexpr int kPanelHeight = 75;

  static constexpr std::string_view kDatabaseLabel = "Database:";  // DatabaseLabel
  static constexpr int kDatabaseLabelLeft = 12;
  static constexpr int kDatabaseLabelTop = 15;
  static constexpr std::string_view kPasswordLabel = "Password:";  // PasswordLabel
  static constexpr int kPasswordLabelLeft = 12;
  static constexpr int kPasswordLabelTop = 45;

  // DatabaseEdit: read-only, button-face colour, no tab stop, shows the file name.
  static constexpr int kEditLeft = 86;
  static constexpr int kDatabaseEditTop = 12;
  static constexpr int kEditWidthInset = 98;  // panel client width - 98
  static constexpr int kEditHeight = 21;
  // PasswordEdit: first in the tab order, empty, characters masked.
  static constexpr int kPasswordEditTop = 42;
  static constexpr char kPasswordChar = '*';

  static constexpr std::string_view kOkCaption = "&OK";  // OkButton, default, OK result
  static constexpr int kOkLeft = 109;
  static constexpr int kOkTop = 94;
  static constexpr std::string_view kCancelCaption = "&Cancel";  // CancelButton, Cancel result
  static constexpr int kCancelLeft = 191;
  static constexpr int kCancelTop = 94;
};

// Shows the login dialog for `database_name`. True with `password` filled when the operator
// confirms; false when the dialog is cancelled or closed.
bool LoginDialog(const std::string& database_name, std::string& password);

}  // namespace database::access
