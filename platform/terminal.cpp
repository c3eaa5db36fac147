#include "platform/terminal.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "platform/code_page.h"

namespace platform {
namespace {

const char* ButtonText(TDialogButton button) {
  switch (button) {
    case TDialogButton::Ok:
      return "OK";
    case TDialogButton::Cancel:
      return "Cancel";
    case TDialogButton::Yes:
      return "Yes";
    case TDialogButton::No:
      return "No";
    case TDialogButton::Abort:
      return "Abort";
    case TDialogButton::Retry:
      return "Retry";
    case TDialogButton::Ignore:
      return "Ignore";
    case TDialogButton::YesToAll:
      return "Yes to All";
    case TDialogButton::NoToAll:
      return "No to All";
    case TDialogButton::None:
      break;
  }
  return "";
}

// Echo off on a terminal standard input for the life of the guard.
class TEchoOffGuard final {
 public:
  explicit TEchoOffGuard(bool active) {
    active_ = active && ::isatty(STDIN_FILENO) == 1 && ::tcgetattr(STDIN_FILENO, &saved_) == 0;
    if (active_) {
      termios quiet = saved_;
      quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
      ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
  }
  ~TEchoOffGuard() {
    if (active_) {
      ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
      std::cerr << '\n';
    }
  }
  TEchoOffGuard(const TEchoOffGuard&) = delete;
  TEchoOffGuard& operator=(const TEchoOffGuard&) = delete;

 private:
  termios saved_{};
  bool active_ = false;
};

bool ReadLine(std::string& line, bool hide) {
  TEchoOffGuard guard(hide);
  return static_cast<bool>(std::getline(std::cin, line));
}

}  // namespace

bool StdinIsTerminal() {
  return ::isatty(STDIN_FILENO) == 1;
}
bool StderrIsTerminal() {
  return ::isatty(STDERR_FILENO) == 1;
}

TDialogButton TTerminalDialogs::MessageBox(const TMessageBoxRequest& request) {
  std::cerr << AnsiToUtf8(request.text) << '\n';
  for (std::size_t i = 0; i < request.buttons.size(); ++i) {
    std::cerr << "  " << i + 1 << ") " << ButtonText(request.buttons[i]) << '\n';
  }
  while (true) {
    std::cerr << "Choice: " << std::flush;
    std::string line;
    if (!ReadLine(line, false)) {
      return TDialogButton::None;
    }
    try {
      const std::size_t choice = std::stoul(line);
      if (choice >= 1 && choice <= request.buttons.size()) {
        return request.buttons[choice - 1];
      }
    } catch (const std::exception&) {
      // not a number: ask again
    }
  }
}

bool TTerminalDialogs::InputQuery(const std::string& caption, const std::string& prompt,
                                  std::string& value) {
  std::cerr << AnsiToUtf8(caption) << " - " << AnsiToUtf8(prompt) << std::flush;
  std::string line;
  if (!ReadLine(line, hide_input_)) {
    return false;
  }
  value = Utf8ToAnsi(line);
  return true;
}

bool TTerminalDialogs::Login(const std::string& database_name, std::string& password) {
  return InputQuery(database_name, "Password: ", password);
}

}  // namespace platform
