#pragma once
// The logic of the arctool command: list, extract and test archives with the archive
// component. Arguments arrive in UTF-8 and become ANSI texts for the engine; names go back to
// UTF-8 for printing. Exit codes: 0 everything worked, 1 some entries failed, 2 the archive
// could not be opened or the usage is wrong.

#include <iosfwd>
#include <string>
#include <vector>

namespace archive {

struct TArcToolTerminal {
  bool stdin_is_terminal = false;   // passwords may be asked for
  bool stderr_is_terminal = false;  // a progress line may be drawn
};

// `args` excludes the program name. Dialogs (the password prompt) go through the installed
// platform::Dialogs().
int RunArcTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const TArcToolTerminal& terminal);

}  // namespace archive
