#pragma once
// Conversions between the single-byte code pages the product's files use and the host's
// UTF-8. Inside the engines a text is a std::string of Windows-1252 (ANSI) bytes; archive
// names may come in code page 850 (OEM); host file names and terminals are UTF-8.

#include <string>
#include <string_view>

namespace platform {

// Code page 850 bytes to Windows-1252 bytes; characters 1252 lacks become '?'.
std::string OemToAnsi(std::string_view oem);

// Windows-1252 bytes to UTF-8. Every byte maps (the five unassigned ones to U+FFFD).
std::string AnsiToUtf8(std::string_view ansi);

// UTF-8 to Windows-1252 bytes; characters 1252 lacks, and malformed sequences, become '?'.
std::string Utf8ToAnsi(std::string_view utf8);

}  // namespace platform
