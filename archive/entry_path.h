#pragma once
// Path texts of entries and masks: the file-name and path parts of a name, the drive part of
// a mask, and the test that keeps extraction inside its destination folder. Texts are ANSI;
// "\" and "/" are both separators.

#include <string>
#include <string_view>

namespace archive {

// The part after the last "\", "/" or ":"; empty when the text ends with one of them.
std::string ExtractEntryFileName(std::string_view path);
// Everything up to and including the last "\", "/" or ":".
std::string ExtractEntryPath(std::string_view path);
// "X:" for a drive-letter path, "\\server\share" for a UNC path, otherwise empty.
std::string ExtractEntryDrive(std::string_view path);
// A path on drive A: or B:, the floppy drives that are always removable.
bool IsRemovableDrivePath(std::string_view path);

// True when `name`, joined to a destination folder, names a place inside that folder: it has
// no drive letter or other ":", no leading separator (so no UNC prefix either), and its ".."
// segments never climb above the folder. "a\..\b" stays inside; "..\b" and "a\..\..\b" do not.
bool StaysInsideDestination(std::string_view name);

}  // namespace archive
