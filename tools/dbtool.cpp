// dbtool: create, inspect, dump, insert into and check database files. The commands live in
// database/access/db_tool.cpp.

#include <iostream>
#include <string>
#include <vector>

#include "database/access/db_tool.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return database::access::RunDbTool(args, std::cin, std::cout, std::cerr);
}
