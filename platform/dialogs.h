#pragma once
// The one interface through which engines and the wizard ask the operator something: message
// boxes with a set of buttons, a text input, the database login. The wizard installs a Qt
// implementation at start-up, the command-line tools a terminal one, tests a scripted one.
// When nothing is installed, every question is answered as if the operator closed the
// window (the dismissing answer), so a headless caller never blocks.

#include <string>
#include <vector>

namespace platform {

enum class TDialogIcon { None, Information, Warning, Error, Question };

enum class TDialogButton { None, Ok, Cancel, Yes, No, Abort, Retry, Ignore, YesToAll, NoToAll };

struct TMessageBoxRequest {
  std::string caption;  // empty: the application's title
  std::string text;     // Windows-1252 bytes
  TDialogIcon icon = TDialogIcon::None;
  std::vector<TDialogButton> buttons;  // in display order
  TDialogButton default_button = TDialogButton::None;
};

class IDialogs {
 public:
  virtual ~IDialogs() = default;

  // Returns the button pressed, or TDialogButton::None when the box was closed otherwise.
  virtual TDialogButton MessageBox(const TMessageBoxRequest& request) = 0;

  // A one-line text input. `value` holds the initial text and receives the typed one.
  // Returns true on OK; false on Cancel or close, leaving `value` unchanged.
  virtual bool InputQuery(const std::string& caption, const std::string& prompt,
                          std::string& value) = 0;

  // The database login: shows `database_name` read-only and asks for a password. Returns true
  // with `password` filled on OK; false on Cancel or close.
  virtual bool Login(const std::string& database_name, std::string& password) = 0;
};

// The installed implementation; never null (a dismissing one when none is installed).
IDialogs& Dialogs();

// Installs `dialogs` (not owned; must outlive its installation) and returns the one it
// replaces; nullptr restores the dismissing default.
IDialogs* SetDialogs(IDialogs* dialogs);

// Installs a dialog implementation for the lifetime of the guard, restoring the previous one.
class TDialogsGuard final {
 public:
  explicit TDialogsGuard(IDialogs& dialogs) : previous_(SetDialogs(&dialogs)) {}
  ~TDialogsGuard() { SetDialogs(previous_); }
  TDialogsGuard(const TDialogsGuard&) = delete;
  TDialogsGuard& operator=(const TDialogsGuard&) = delete;

 private:
  IDialogs* previous_;  // not owned
};

}  // namespace platform
