#pragma once
// Matching entry names against file masks ("*" any run, "?" any one character, letters equal
// regardless of case under the user's locale), as the entry search of the extraction uses it.

#include <string_view>

namespace archive {

// The mask test of the entry search: "*.*" stands for "*"; a mask with a final "." matches
// only names without an extension (or whose extension is just ".").
bool MatchesMask(std::string_view name, std::string_view mask);

// The plain wildcard test of `name` against `mask`.
bool WildcardMatch(std::string_view name, std::string_view mask);

// Characters equal, letters regardless of case (the locale-aware comparison of platform/).
bool SameMaskChar(char a, char b);

}  // namespace archive
