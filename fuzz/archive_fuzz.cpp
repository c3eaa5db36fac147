// libFuzzer target of the archive reader: the input is an archive on disk (a per-process
// temporary file), opened read-only, its directory listed and searched, and every entry
// tested with a fixed password, writing nothing. An EArcException (or the stream's read error
// for a record that the file cuts short) is the expected answer to a hostile archive; anything
// else escaping, a sanitizer report or a hang is a finding.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "archive/arc_exception.h"
#include "archive/zip_archiver.h"
#include "platform/error.h"

namespace {

const std::string& ArchivePath() {
  static const std::string path = (std::filesystem::temp_directory_path() /
                                   ("qv_archive_fuzz_" + std::to_string(getpid()) + ".zip"))
                                      .string();
  return path;
}

void RunArchive() {
  archive::TZipArchiver archiver("Archiver");
  archiver.SetFileName(ArchivePath());
  archiver.SetPassword("quaspel");
  // One password per entry: a wrong one skips the entry instead of asking again.
  archiver.OnPassword = [](archive::TArcBaseArchiver&, const std::string&, std::string&,
                           bool& skip_file) { skip_file = true; };
  archiver.OnProcessFileFailure = [](archive::TArcBaseArchiver&, const std::string&,
                                     archive::TArcProcessOperation, int, int, const std::string&,
                                     archive::TArcAction& action) {
    action = archive::TArcAction::fxaIgnore;
  };
  try {
    archiver.OpenArchive(archive::kOpenModeReadOnly);
    const std::size_t count = archiver.EntryCount();
    for (std::size_t i = 0; i < count; ++i) {
      const archive::TDirItem& entry = archiver.Entry(i);
      (void)entry.UncompressedSize();
      (void)entry.IsDirectory();
    }
    archive::TArcArchiveItem item;
    for (bool found = archiver.FindFirstEntry("*.*", item, 10431, ""); found;
         found = archiver.FindNextEntry(item)) {
    }
    archiver.TestFiles("*.*", 10431);
  } catch (const archive::EArcException&) {
  } catch (const platform::EPlatformError&) {
    // A record cut short by the end of the file: "Stream read error", as the host reports it.
  }
  archiver.CloseArchive();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream out(ArchivePath(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  RunArchive();
  return 0;
}
