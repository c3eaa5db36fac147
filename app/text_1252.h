#pragma once
// Conversion between the Windows-1252 texts of the engines and the wizard's logic and the
// QString of the widgets. QString::fromLatin1 is not it: bytes 0x80-0x9F differ.

#include <QChar>
#include <QString>
#include <string>
#include <string_view>

namespace app {

// Every byte has a character; the five bytes the code page leaves unassigned become the C1
// controls of the same value, as Windows converts them.
QString FromWindows1252(std::string_view text);

// A character the code page cannot store becomes "?", as Windows converts it.
std::string ToWindows1252(const QString& text);

// True when `c` has a Windows-1252 byte; a surrogate half never has one.
bool IsWindows1252(QChar c);

}  // namespace app
