#pragma once
// The one locale-aware text comparison of the system. Names of tables, fields, indexes,
// sessions and databases, text index keys, archive masks and filter texts all compare
// through it, and its order is the order of text index chains stored on disk, so nothing
// else may compare texts for ordering.
//
// The collator follows the user's locale (LC_ALL, LC_COLLATE, LANG; the root locale when
// none is set), with punctuation such as hyphens and apostrophes shifted to weigh as little
// as possible; tertiary strength, secondary when case is ignored.

#include <string_view>

namespace platform {

// Compares two Windows-1252 texts; returns <0, 0 or >0.
int AnsiCompareText(std::string_view a, std::string_view b, bool ignore_case);

// Case-insensitive equality under the same collator.
inline bool AnsiSameText(std::string_view a, std::string_view b) {
  return AnsiCompareText(a, b, true) == 0;
}

}  // namespace platform
