#pragma once
// The command-line database tool: create a database from a JSON schema, list tables, show a
// table's schema, dump records as JSON lines, insert JSON lines, and check a file for damage.
// Dump and insert go through a table cursor on the default session, exactly as the wizard
// reads and writes its tables (password and login dialog, read-only rules, index order);
// create, tables, schema and check work on the file through the storage engine.
// tools/dbtool.cpp only hands it the arguments, the standard streams and the dialogs.

#include <iosfwd>
#include <string>
#include <vector>

namespace database::access {

// Exit codes: 0 everything worked, 1 some records failed or the file is damaged, 2 the input
// could not be opened or the usage is wrong. Errors go to `err`, one line each. A password
// that dump or insert needs and was not given is asked for through platform::Dialogs(); a
// dismissed login ends the command as "Access denied".
int RunDbTool(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
              std::ostream& err);

}  // namespace database::access
