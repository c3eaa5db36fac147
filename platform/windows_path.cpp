#include "platform/windows_path.h"

#include <pwd.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/error.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// Windows-1252 bytes 0x80-0x9F; the five unassigned bytes map to the C1 controls of the
// same value, as Windows itself converts them.
constexpr std::array<char16_t, 32> kHigh1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string Utf8From1252(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto byte = static_cast<std::uint8_t>(ch);
    if (byte >= 0x80 && byte < 0xA0) {
      AppendUtf8(out, kHigh1252[byte - 0x80]);
    } else {
      AppendUtf8(out, byte);
    }
  }
  return out;
}

// Returns false when `text` is not well-formed UTF-8 or holds a character that
// Windows-1252 cannot store.
bool Utf8To1252(const std::string& text, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    char32_t c = 0;
    std::size_t extra = 0;
    if (lead < 0x80) {
      c = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      c = lead & 0x1F;
      extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
      c = lead & 0x0F;
      extra = 2;
    } else {
      return false;  // four-byte sequences lie outside the code page anyway
    }
    if (i + extra >= text.size()) {
      return false;  // a sequence cut short at the end
    }
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto cont = static_cast<std::uint8_t>(text[i + k]);
      if ((cont & 0xC0) != 0x80) {
        return false;
      }
      c = (c << 6) | (cont & 0x3F);
    }
    i += extra + 1;
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out += static_cast<char>(c);
      continue;
    }
    bool found = false;
    for (std::size_t k = 0; k < kHigh1252.size(); ++k) {
      if (kHigh1252[k] == c) {
        out += static_cast<char>(0x80 + k);
        found = true;
        break;
      }
    }
    if (!found) {
      return false;
    }
  }
  return true;
}

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

std::string HomeFolder() {
  std::string home = Env("HOME");
  if (home.empty()) {
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
      home = pw->pw_dir;
    }
  }
  while (home.size() > 1 && home.back() == '/') {
    home.pop_back();
  }
  return home;
}

std::string UserName() {
  std::string user = Env("USER");
  if (user.empty()) {
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_name != nullptr) {
      user = pw->pw_name;
    }
  }
  std::string user_1252;
  if (user.empty() || !Utf8To1252(user, user_1252)) {
    return "user";
  }
  return user_1252;
}

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') {
    path.pop_back();
  }
  return path;
}

}  // namespace

std::string WindowsRoot() {
  if (const std::string prefix = Env("WINEPREFIX"); !prefix.empty()) {
    return WithoutTrailingSlash(prefix);
  }
  const std::string home = HomeFolder();
  if (const std::string wine = home + "/.wine"; !home.empty() && IsDirectory(wine)) {
    return wine;
  }
  std::string data = Env("XDG_DATA_HOME");
  if (data.empty()) {
    data = home + "/.local/share";
  }
  const std::string root = WithoutTrailingSlash(data) + "/quorvex_setup/windows";
  std::error_code ec;
  fs::create_directories(root + "/drive_c", ec);
  if (ec) {
    throw EPlatformError("Cannot create the Windows root " + root + ": " + ec.message());
  }
  return root;
}

std::string DriveRoot(char letter) {
  if (std::isalpha(static_cast<unsigned char>(letter)) == 0) {
    throw EPlatformError(std::string("Not a drive letter: ") + letter);
  }
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  const std::string root = WindowsRoot();
  const std::string device = root + "/dosdevices/" + lower + ":";
  std::error_code ec;
  if (fs::exists(device, ec)) {
    return device;
  }
  if (lower == 'c') {
    return root + "/drive_c";
  }
  if (lower == 'd') {
    return HomeFolder();
  }
  return device;
}

std::string ToHostPath(const std::string& windows_path) {
  if (windows_path.empty()) {
    return {};
  }
  std::string base;
  std::string rest;
  if (windows_path.size() >= 2 && windows_path[1] == ':' &&
      std::isalpha(static_cast<unsigned char>(windows_path[0])) != 0) {
    base = DriveRoot(windows_path[0]);
    rest = windows_path.substr(2);
    if (!rest.empty() && rest.front() != '\\') {
      rest.insert(rest.begin(), '\\');  // "D:Apps" is taken from the drive's root
    }
  } else if (windows_path.front() == '\\') {
    base = DriveRoot('C');
    rest = windows_path;
  } else {
    rest = windows_path;
  }
  std::string host = base + Utf8From1252(rest);
  for (char& ch : host) {
    if (ch == '\\') {
      ch = '/';
    }
  }
  return host;
}

std::string ToWindowsPath(const std::string& host_path, char letter) {
  const std::string root = DriveRoot(letter);
  const std::string path = WithoutTrailingSlash(host_path);
  std::string rest;
  if (path == root) {
    rest.clear();
  } else if (path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
             (path[root.size()] == '/' || root == "/")) {
    rest = path.substr(root == "/" ? 1 : root.size() + 1);
  } else {
    return {};
  }
  std::string rest_1252;
  if (!Utf8To1252(rest, rest_1252)) {
    return {};
  }
  for (char& ch : rest_1252) {
    if (ch == '/') {
      ch = '\\';
    }
  }
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  return std::string(1, upper) + ":\\" + rest_1252;
}

std::string SpecialFolderPath(TSpecialFolder folder) {
  const std::string start_menu = "\\Microsoft\\Windows\\Start Menu\\Programs";
  switch (folder) {
    case TSpecialFolder::Desktop:
      return "C:\\users\\" + UserName() + "\\Desktop";
    case TSpecialFolder::Programs:
      return "C:\\users\\" + UserName() + "\\AppData\\Roaming" + start_menu;
    case TSpecialFolder::CommonPrograms:
      return "C:\\ProgramData" + start_menu;
  }
  throw EPlatformError("Unknown special folder");
}

}  // namespace platform
