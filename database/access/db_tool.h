#pragma once
// The command-line database tool: create a database from a JSON schema, list tables, show a
// table's schema, dump records as JSON lines, insert JSON lines, and check a file for damage.
// tools/dbtool.cpp only hands it the arguments and the standard streams.

#include <iosfwd>
#include <string>
#include <vector>

namespace database::access {

// Exit codes: 0 everything worked, 1 some records failed or the file is damaged, 2 the input
// could not be opened or the usage is wrong. Errors go to `err`, one line each.
int RunDbTool(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
              std::ostream& err);

}  // namespace database::access
