#include "platform/host_path.h"

#include "platform/code_page.h"

namespace platform {

std::string HostPath(std::string_view ansi_path) {
  std::string path = AnsiToUtf8(ansi_path);
  for (char& c : path) {
    if (c == '\\') {
      c = '/';
    }
  }
  return path;
}

}  // namespace platform
