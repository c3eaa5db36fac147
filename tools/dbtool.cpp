// dbtool: create, inspect, dump, insert into and check database files. The commands live in
// database/access/db_tool.cpp.

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "database/access/db_tool.h"
#include "platform/dialogs.h"
#include "platform/terminal.h"

int main(int argc, char** argv) {
  // The login dialog asks on the terminal when standard input is one. Otherwise the default
  // dialogs dismiss it, so a missing password ends the command instead of waiting for input.
  platform::TTerminalDialogs dialogs;
  std::optional<platform::TDialogsGuard> guard;
  if (platform::StdinIsTerminal()) {
    guard.emplace(dialogs);
  }
  const std::vector<std::string> args(argv + 1, argv + argc);
  return database::access::RunDbTool(args, std::cin, std::cout, std::cerr);
}
