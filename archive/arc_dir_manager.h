#pragma once
// Reads the directory of an open archive: the end of central directory record (searched for
// backwards from the end of the file), the Zip64 end records, the central directory with its
// names and extra blocks, the stub scan that finds data placed in front of the archive and
// corrects offsets, and the rebuild from local headers when no end record is found.
// One exists while an archive is open; the component owns it.

#include <cstdint>
#include <optional>
#include <string>

#include "archive/arc_dir_array.h"
#include "archive/arc_stream.h"
#include "archive/end_record_format.h"
#include "archive/zip64_format.h"

namespace archive {

class TArcDirManager final {
 public:
  // `stream` is not owned and must outlive the manager (the component owns both).
  // `oem_file_names`: entry names are converted from code page 850 to 1252.
  TArcDirManager(TArcStream& stream, bool oem_file_names);
  TArcDirManager(const TArcDirManager&) = delete;
  TArcDirManager& operator=(const TArcDirManager&) = delete;

  // Looks for the end record; on success keeps a copy and the archive comment and returns the
  // record's file position.
  std::optional<std::uint64_t> FindEndRecord();

  // Reads the whole directory (above). Raises EArcException 35 (no local header in a file
  // without end record), 40 (Zip64 end record missing), 44 (no end record and
  // `multi_volume`); a record cut short by the end of the file raises the stream read error.
  void ReadDirectory(bool multi_volume);

  TArcDirArray& Entries() { return entries_; }
  const TArcDirArray& Entries() const { return entries_; }
  TArcDirArray& SavedEntries() { return saved_entries_; }
  const TEndRecord& EndRecord() const { return end_record_; }
  const TZip64Locator& Zip64Locator() const { return zip64_locator_; }
  const TZip64EndRecord& Zip64EndRecord() const { return zip64_end_record_; }
  bool IsZip64() const { return zip64_; }
  std::uint64_t StubSize() const { return stub_size_; }
  std::uint64_t DirectoryStart() const { return directory_start_; }
  const std::string& ArchiveComment() const { return archive_comment_; }
  // The number of the last disk; 0 for a single-file archive.
  std::uint32_t LastDisk() const { return last_disk_; }

  // Converts stored name bytes as the directory does: up to the first NUL, OEM to ANSI when
  // asked, "\" to "/".
  static std::string ConvertName(TBytes stored, bool oem_file_names);

 private:
  void ReadZip64Records(std::uint64_t& position);
  void ReadEntries(std::uint64_t position, std::uint64_t count);
  void StubScan(std::uint64_t end_record_position);
  void RebuildFromLocalHeaders();

  TArcStream& stream_;
  bool oem_file_names_;
  TEndRecord end_record_;
  TZip64Locator zip64_locator_;
  TZip64EndRecord zip64_end_record_;
  bool zip64_ = false;
  std::uint64_t stub_size_ = 0;        // file position of the first local header
  std::uint64_t directory_start_ = 0;  // file position of the first central header
  std::uint32_t last_disk_ = 0;
  std::string archive_comment_;
  TArcDirArray entries_;
  TArcDirArray saved_entries_;  // writing side only
};

}  // namespace archive
