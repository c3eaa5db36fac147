#pragma once
// Checking a database file for damage: signature and version, the counts within their ranges,
// every offset inside the file, each table's record tab chain, each index chain against the
// record tab and in key order, and each BLOB header inside the file with decodable data. Each
// finding is one line naming what is wrong and where. Used by the command-line tool.

#include <string>
#include <vector>

namespace database::storage {

class TDBFileIO;

struct TCheckReport {
  std::vector<std::string> findings;  // empty: the database is sound
};

// Checks the database open in `file_io` (whose password, if any, has been verified, so that
// encrypted data can be decoded). Never raises for damage: every problem is a finding.
TCheckReport CheckDatabase(TDBFileIO& file_io);

}  // namespace database::storage
