#include "archive/arc_tool.h"

#include <chrono>
#include <cstdio>
#include <ostream>

#include "archive/arc_exception.h"
#include "archive/local_header_format.h"
#include "archive/zip_archiver.h"
#include "platform/code_page.h"

namespace archive {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: arctool list ARCHIVE\n"
    "       arctool extract ARCHIVE -d DESTDIR [-p PASSWORD] [MASK]\n"
    "       arctool test ARCHIVE [-p PASSWORD]\n";

struct TArguments {
  std::string command;
  std::string archive;
  std::string dest_dir;
  bool has_dest_dir = false;
  std::string password;
  std::vector<std::string> positional;
};

bool Parse(const std::vector<std::string>& args, TArguments& parsed) {
  if (args.empty()) {
    return false;
  }
  parsed.command = args[0];
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-d" || a == "-p") {
      if (i + 1 >= args.size()) {
        return false;
      }
      (a == "-d" ? parsed.dest_dir : parsed.password) = platform::Utf8ToAnsi(args[++i]);
      parsed.has_dest_dir = parsed.has_dest_dir || a == "-d";
    } else if (a.size() > 1 && a[0] == '-') {
      return false;
    } else {
      parsed.positional.push_back(platform::Utf8ToAnsi(a));
    }
  }
  if (parsed.positional.empty()) {
    return false;
  }
  parsed.archive = parsed.positional.front();
  const std::size_t extra = parsed.positional.size() - 1;
  if (parsed.command == "list") {
    return extra == 0 && !parsed.has_dest_dir && parsed.password.empty();
  }
  if (parsed.command == "test") {
    return extra == 0 && !parsed.has_dest_dir;
  }
  if (parsed.command == "extract") {
    return extra <= 1 && parsed.has_dest_dir && !parsed.dest_dir.empty();
  }
  return false;
}

std::string MethodName(std::uint16_t method) {
  switch (method) {
    case 0:
      return "Stored";
    case 8:
      return "Deflated";
    case 9:
      return "Deflate64";
    case 12:
      return "BZip2";
    case 14:
      return "LZMA";
    case 93:
      return "Zstd";
    case 95:
      return "XZ";
    case 98:
      return "PPMd";
    case 99:
      return "AES";
    default:
      return "Method" + std::to_string(method);
  }
}

// Draws "NN% name" on one terminal line, at most ten times a second.
class TProgressLine final {
 public:
  TProgressLine(std::ostream& err, bool active) : err_(err), active_(active) {}
  ~TProgressLine() { Clear(); }
  TProgressLine(const TProgressLine&) = delete;
  TProgressLine& operator=(const TProgressLine&) = delete;

  void Show(double percent, const std::string& name) {
    if (!active_) {
      return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - last_ < std::chrono::milliseconds(100)) {
      return;
    }
    last_ = now;
    char head[16];
    std::snprintf(head, sizeof head, "%3d%% ", static_cast<int>(percent));
    std::string line = head + platform::AnsiToUtf8(name);
    if (line.size() > 70) {
      line = line.substr(0, 70);
    }
    err_ << '\r' << line << "\x1b[K" << std::flush;
    drawn_ = true;
  }
  void Clear() {
    if (drawn_) {
      err_ << "\r\x1b[K" << std::flush;
      drawn_ = false;
    }
  }

 private:
  std::ostream& err_;
  bool active_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point last_{};
};

int List(TZipArchiver& archiver, std::ostream& out) {
  for (std::size_t i = 0; i < archiver.EntryCount(); ++i) {
    const TDirItem& e = archiver.Entry(i);
    const TCentralHeader& h = e.CentralHeader;
    char line[160];
    std::snprintf(line, sizeof line, "%12llu %12llu %-9s %-3s %08X %04d-%02d-%02d %02d:%02d:%02d ",
                  static_cast<unsigned long long>(e.UncompressedSize()),
                  static_cast<unsigned long long>(e.CompressedSize()), MethodName(h.method).c_str(),
                  (h.flags & kFlagEncrypted) != 0 ? "enc" : "-", h.crc32, 1980 + (h.date >> 9),
                  (h.date >> 5) & 0x0F, h.date & 0x1F, h.time >> 11, (h.time >> 5) & 0x3F,
                  (h.time & 0x1F) * 2);
    out << line << platform::AnsiToUtf8(e.Name) << '\n';
  }
  return kExitOk;
}

int Process(TZipArchiver& archiver, const TArguments& args, std::ostream& err,
            const TArcToolTerminal& terminal) {
  std::size_t failed = 0;
  TProgressLine progress(err, terminal.stderr_is_terminal);
  const auto report = [&](const std::string& name, const std::string& message) {
    progress.Clear();
    err << "arctool: " << platform::AnsiToUtf8(name) << ": " << platform::AnsiToUtf8(message)
        << '\n';
    ++failed;
  };
  archiver.OnPassword = [&](TArcBaseArchiver&, const std::string& name, std::string& password,
                            bool& skip) {
    progress.Clear();
    if (!terminal.stdin_is_terminal || !TArcBaseArchiver::PasswordDialog(name, password)) {
      skip = true;
      report(name, "missing or wrong password");
    }
  };
  archiver.OnProcessFileFailure = [&](TArcBaseArchiver&, const std::string& name,
                                      TArcProcessOperation, int, int, const std::string& message,
                                      TArcAction& action) {
    report(name, message);
    action = TArcAction::fxaIgnore;
  };
  std::string current;
  archiver.OnFileProgress = [&](TArcBaseArchiver&, const std::string& name, double,
                                TArcProcessOperation, TArcProgressPhase, bool&) { current = name; };
  archiver.OnOverallProgress = [&](TArcBaseArchiver&, double percent, TArcProcessOperation,
                                   TArcProgressPhase phase, bool&) {
    if (phase == TArcProgressPhase::ppProcess) {
      progress.Show(percent, current);
    }
  };
  try {
    if (args.command == "extract") {
      archiver.SetBaseDir(args.dest_dir);
      archiver.Options().OverwriteMode = TArcOverwriteMode::omAlways;
      const std::string mask = args.positional.size() > 1 ? args.positional[1] : "*.*";
      archiver.ExtractFiles(mask, kDefaultSearchAttr, "");
    } else {
      archiver.TestFiles("*.*", kDefaultSearchAttr);
    }
  } catch (const platform::EError& e) {
    // A host error (a read past the end of a damaged archive, ...) ends the operation.
    report(archiver.FileName(), e.what());
  }
  return failed == 0 ? kExitOk : kExitFailed;
}

}  // namespace

int RunArcTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const TArcToolTerminal& terminal) {
  TArguments parsed;
  if (!Parse(args, parsed)) {
    err << kUsage;
    return kExitUsage;
  }
  TZipArchiver archiver;  // no name: messages carry no component prefix
  archiver.SetFileName(parsed.archive);
  archiver.SetPassword(parsed.password);
  try {
    // Read-only: a missing archive is an error here, never a new empty one.
    archiver.OpenArchive(kOpenModeReadOnly);
  } catch (const platform::EError& e) {
    err << "arctool: cannot open " << platform::AnsiToUtf8(parsed.archive) << ": "
        << platform::AnsiToUtf8(e.what()) << '\n';
    return kExitUsage;
  }
  if (parsed.command == "list") {
    return List(archiver, out);
  }
  return Process(archiver, parsed, err, terminal);
}

}  // namespace archive
