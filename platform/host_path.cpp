#include "platform/host_path.h"

#include <cctype>

#include "platform/code_page.h"
#include "platform/windows_path.h"

namespace platform {

std::string HostPath(std::string_view ansi_path) {
  // A drive letter means a Windows-form path: it lies under the Windows root. Anything else is
  // a host path already (absolute or relative), written with either separator.
  if (ansi_path.size() >= 2 && ansi_path[1] == ':' &&
      std::isalpha(static_cast<unsigned char>(ansi_path[0])) != 0) {
    return ToHostPath(std::string(ansi_path));
  }
  std::string path = AnsiToUtf8(ansi_path);
  for (char& c : path) {
    if (c == '\\') {
      c = '/';
    }
  }
  return path;
}

}  // namespace platform
