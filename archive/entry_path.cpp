#include "archive/entry_path.h"

#include <cctype>

namespace archive {
namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

std::size_t AfterLastDelimiter(std::string_view path) {
  const std::size_t last = path.find_last_of("\\/:");
  return last == std::string_view::npos ? 0 : last + 1;
}

}  // namespace

std::string ExtractEntryFileName(std::string_view path) {
  return std::string(path.substr(AfterLastDelimiter(path)));
}

std::string ExtractEntryPath(std::string_view path) {
  return std::string(path.substr(0, AfterLastDelimiter(path)));
}

std::string ExtractEntryDrive(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
    return std::string(path.substr(0, 2));
  }
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    // "\\server\share": up to the separator after the share name.
    std::size_t separators = 0;
    for (std::size_t i = 2; i < path.size(); ++i) {
      if (IsSeparator(path[i]) && ++separators == 2) {
        return std::string(path.substr(0, i));
      }
    }
    return std::string(path);
  }
  return {};
}

bool IsRemovableDrivePath(std::string_view path) {
  const std::string drive = ExtractEntryDrive(path);
  if (drive.size() != 2 || drive[1] != ':') {
    return false;
  }
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(drive[0])));
  return letter == 'A' || letter == 'B';
}

bool StaysInsideDestination(std::string_view name) {
  if (name.find(':') != std::string_view::npos) {
    return false;
  }
  if (!name.empty() && IsSeparator(name.front())) {
    return false;
  }
  long depth = 0;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = start;
    while (end < name.size() && !IsSeparator(name[end])) {
      ++end;
    }
    const std::string_view segment = name.substr(start, end - start);
    if (segment == "..") {
      if (--depth < 0) {
        return false;
      }
    } else if (!segment.empty() && segment != ".") {
      ++depth;
    }
    start = end + 1;
  }
  return true;
}

}  // namespace archive
