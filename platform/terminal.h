#pragma once
// The terminal of a command-line tool: whether standard input and standard error are
// terminals, and TTerminalDialogs, the dialog implementation that asks on the terminal
// (standard error for the question, standard input for the answer). Texts are Windows-1252
// inside, UTF-8 on the terminal.

#include <string>

#include "platform/dialogs.h"

namespace platform {

bool StdinIsTerminal();
bool StderrIsTerminal();

class TTerminalDialogs final : public IDialogs {
 public:
  // `hide_input`: InputQuery and Login do not echo what is typed (passwords).
  explicit TTerminalDialogs(bool hide_input = true) : hide_input_(hide_input) {}

  // Shows the text and the buttons numbered from 1; reads a number. End of input: None.
  TDialogButton MessageBox(const TMessageBoxRequest& request) override;
  // Shows "caption - prompt"; reads one line. End of input: Cancel.
  bool InputQuery(const std::string& caption, const std::string& prompt,
                  std::string& value) override;
  bool Login(const std::string& database_name, std::string& password) override;

 private:
  bool hide_input_;
};

}  // namespace platform
