// arctool: lists, extracts and tests ZIP archives with the installer's archive component.
#include <iostream>
#include <string>
#include <vector>

#include "archive/arc_tool.h"
#include "platform/terminal.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  platform::TTerminalDialogs dialogs;
  platform::TDialogsGuard guard(dialogs);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return archive::RunArcTool(args, std::cout, std::cerr,
                             {platform::StdinIsTerminal(), platform::StderrIsTerminal()});
}
