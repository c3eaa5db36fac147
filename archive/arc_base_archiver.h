#pragma once
// The archive component: its settings, events, the open archive and the operations over its
// entries (reading side: open, directory, decoding, extraction, testing). The wizard holds one
// instance (TZipArchiver, named "Archiver"); arctool holds another.
//
// Invariants between public calls: IsOpen() implies a directory manager and an archive stream
// exist; the directory is read once, at the open. Errors the component detects are
// EArcException; host errors (platform::EPlatformError) pass through unchanged. Every event is
// a std::function, empty when no handler is assigned; its dispatcher applies the default.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archive/arc_dir_array.h"
#include "archive/arc_options.h"

namespace archive {

class TArcDirManager;
class TArcStream;
class TArcOutput;

enum class TArcProgressPhase : std::uint8_t { ppStart = 0, ppProcess = 1, ppEnd = 2 };
enum class TArcAction : std::uint8_t { fxaRetry = 0, fxaIgnore = 1, fxaAbort = 2 };

// File-open modes of OpenArchive(Mode).
constexpr std::uint16_t kOpenModeCreate = 0xFFFF;
constexpr std::uint16_t kOpenModeReadWrite = 0x22;  // read/write, others may only read
constexpr std::uint16_t kOpenModeReadOnly = 0x40;   // read only, others may do anything

// The state of an entry search between FindFirstEntry and FindNextEntry.
struct TInternalSearchRec {
  std::int32_t index = 0;  // the entry found last; the next search starts after it
  std::string mask;        // prepared: no drive part (by default), "/" separators
  bool has_wildcards = false;
  std::int32_t search_attr = 0;
  std::string exclusion_mask;  // stored, not applied
  bool mask_list_mode = false;
};

// What an entry search reports about the entry it found.
struct TArcArchiveItem {
  std::string FileName;    // file-name part of the entry name
  std::string StoredPath;  // path part, "\" separators
  std::uint64_t CompressedSize = 0;
  std::uint64_t UncompressedSize = 0;
  double CompressionRate = 0;  // percent; 100 for an empty entry, never negative
  bool Encrypted = false;
  std::uint16_t LastModFileTime = 0;
  std::uint16_t LastModFileDate = 0;
  std::uint32_t CRC = 0;
  std::uint32_t ExternalFileAttributes = 0;
  std::string Comment;
  TInternalSearchRec Handle;
};

class TArcBaseArchiver;

using TNotifyEvent = std::function<void(TArcBaseArchiver& sender)>;
using TArcProgressEvent =
    std::function<void(TArcBaseArchiver& sender, double progress, TArcProcessOperation operation,
                       TArcProgressPhase phase, bool& cancel)>;
using TArcFileProgressEvent =
    std::function<void(TArcBaseArchiver& sender, const std::string& file_name, double progress,
                       TArcProcessOperation operation, TArcProgressPhase phase, bool& cancel)>;
using TArcCopyTempFileProgressEvent = std::function<void(TArcBaseArchiver& sender, double progress,
                                                         TArcProgressPhase phase, bool& cancel)>;
using TArcConfirmOverwriteEvent =
    std::function<void(TArcBaseArchiver& sender, const std::string& source_file_name,
                       std::string& dest_file_name, bool& confirm)>;
using TArcConfirmProcessFileEvent =
    std::function<void(TArcBaseArchiver& sender, const std::string& file_name,
                       TArcProcessOperation operation, bool& confirm)>;
using TArcOnPasswordEvent =
    std::function<void(TArcBaseArchiver& sender, const std::string& file_name,
                       std::string& new_password, bool& skip_file)>;
using TArcProcessFileFailureEvent = std::function<void(
    TArcBaseArchiver& sender, const std::string& file_name, TArcProcessOperation operation,
    int native_error, int error_code, const std::string& error_message, TArcAction& action)>;
using TArcOnRequestBlankVolumeEvent = std::function<void(
    TArcBaseArchiver& sender, int volume_number, std::string& volume_file_name, bool& cancel)>;
using TArcOnRequestMiddleVolumeEvent = TArcOnRequestBlankVolumeEvent;
using TArcOnRequestFirstVolumeEvent =
    std::function<void(TArcBaseArchiver& sender, std::string& volume_file_name, bool& cancel)>;
using TArcOnRequestLastVolumeEvent = TArcOnRequestFirstVolumeEvent;
using TArcOnDiskFullEvent = std::function<void(TArcBaseArchiver& sender, int volume_number,
                                               const std::string& volume_file_name, bool& cancel)>;
using TArcOnStoreFileEvent =
    std::function<void(TArcBaseArchiver& sender, std::string& file_name, std::uint32_t& file_attr,
                       std::string& comment, const std::string& original_file_name)>;
using TArcOnExtractFileEvent =
    std::function<void(TArcBaseArchiver& sender, std::string& file_name, std::uint32_t& file_attr,
                       const std::string& comment)>;

class TArcBaseArchiver {
 public:
  explicit TArcBaseArchiver(std::string name = {});
  virtual ~TArcBaseArchiver();
  TArcBaseArchiver(const TArcBaseArchiver&) = delete;
  TArcBaseArchiver& operator=(const TArcBaseArchiver&) = delete;

  // --- Settings ---------------------------------------------------------------------------
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  const std::string& FileName() const { return file_name_; }
  void SetFileName(std::string path) { file_name_ = std::move(path); }
  const std::string& Password() const { return password_; }
  void SetPassword(std::string password) { password_ = std::move(password); }
  const std::string& BaseDir() const { return base_dir_; }
  void SetBaseDir(std::string path) { base_dir_ = std::move(path); }
  const std::string& TempDir() const { return temp_dir_; }
  void SetTempDir(std::string path) { temp_dir_ = std::move(path); }
  TArcOptions& Options() { return options_; }
  const TArcOptions& Options() const { return options_; }
  bool ExtractCorruptedFiles() const { return extract_corrupted_files_; }
  void SetExtractCorruptedFiles(bool value) { extract_corrupted_files_ = value; }
  TArcCompressionLevel CompressionLevel() const { return compression_level_; }
  void SetCompressionLevel(TArcCompressionLevel level);
  std::uint8_t CompressionMode() const { return compression_mode_; }
  // Raises EArcException 5 for a value above 9.
  void SetCompressionMode(int mode);
  // "2.64 " whatever is assigned, on any locale.
  std::string CurrentVersion() const;
  void SetCurrentVersion(const std::string&) {}
  TArcSpanningMode SpanningMode() const { return spanning_mode_; }
  // Raises EArcSettingError "Cannot set spanning mode on open archive" while open.
  void SetSpanningMode(TArcSpanningMode mode);
  TArcSpanningOptions& SpanningOptions() { return spanning_options_; }
  const std::string& SFXStub() const { return sfx_stub_; }
  void SetSFXStub(std::string path) { sfx_stub_ = std::move(path); }
  std::vector<std::string>& FileMasks() { return file_masks_; }
  std::vector<std::string>& ExclusionMasks() { return exclusion_masks_; }
  std::vector<std::string>& NoCompressionMasks() { return no_compression_masks_; }
  bool InMemory() const { return in_memory_; }
  // While open: closes and reopens; turning it off first writes the memory archive to
  // FileName (EArcException 29 when FileName is empty).
  void SetInMemory(bool value);

  // --- Open and close ---------------------------------------------------------------------
  // Chooses the mode (create for a missing file or in memory, read/write when a probe open
  // succeeds, read-only otherwise) and opens. Raises EArcException 9 for a FileName without a
  // file-name part.
  void OpenArchive();
  // Raises EArcException 10, 12 ("File "%s" not found"), 28; and 35, 40, 44, 48 from reading
  // the directory. A host error opening the file passes through.
  void OpenArchive(std::uint16_t mode);
  // Closes; an empty archive stream gets its 22-byte end record first. Never raises.
  void CloseArchive() noexcept;
  bool IsOpen() const { return open_; }

  // --- Directory --------------------------------------------------------------------------
  // Raise EArcException 13 when no archive is open.
  std::size_t EntryCount() const;
  const TDirItem& Entry(std::size_t index) const;  // index errors: EArcException 3
  const TArcDirManager& DirManager() const;

  // --- Entry operations -------------------------------------------------------------------
  // Raises EArcException 13 (not open) and 26 (update pending). Entry failures go to the
  // failure event, never to the caller; host errors pass through after the lock is released.
  void ExtractFiles(const std::string& file_mask, std::int32_t search_attr,
                    const std::string& exclusion_mask);
  // As ExtractFiles, but decodes each entry into nothing and checks its size and CRC-32.
  void TestFiles(const std::string& file_mask, std::int32_t search_attr);
  bool FindFirstEntry(const std::string& file_mask, TArcArchiveItem& item, std::int32_t search_attr,
                      const std::string& exclusion_mask);
  bool FindNextEntry(TArcArchiveItem& item);
  // Decodes entry `index` into `output`. Raises EArcException 16 for a bad index, 8 when the
  // entry fails its tests (unless cancelled, skipped or ExtractCorruptedFiles), 55 for
  // Deflate64.
  void ExtractEntryToStream(std::size_t index, TArcOutput& output);
  // Decodes the entry whose local header starts at `local_header_offset`; true when the data
  // decoded and its size and (unless skipped) CRC-32 matched.
  bool DecodeEntry(const TDirItem& entry, std::uint64_t local_header_offset, TArcOutput& output);

  // The default password dialog: an input box "Password for "<name>"" with "Enter password: "
  // holding `password`. True with `password` replaced on OK.
  static bool PasswordDialog(const std::string& file_name, std::string& password);

  // --- Events -----------------------------------------------------------------------------
  TArcProgressEvent OnOverallProgress;
  TArcFileProgressEvent OnFileProgress;
  TArcCopyTempFileProgressEvent OnCopyTempFileProgress;
  TArcConfirmOverwriteEvent OnConfirmOverwrite;
  TArcConfirmProcessFileEvent OnConfirmProcessFile;
  TNotifyEvent AfterOpen;
  TArcOnPasswordEvent OnPassword;
  TArcProcessFileFailureEvent OnProcessFileFailure;
  TArcOnRequestBlankVolumeEvent OnRequestBlankVolume;
  TArcOnRequestFirstVolumeEvent OnRequestFirstVolume;
  TArcOnRequestLastVolumeEvent OnRequestLastVolume;
  TArcOnRequestMiddleVolumeEvent OnRequestMiddleVolume;
  TArcOnDiskFullEvent OnDiskFull;
  TArcOnStoreFileEvent OnStoreFile;
  TArcOnExtractFileEvent OnExtractFile;

 protected:
  // The compression method new entries get (writing side).
  virtual std::uint16_t CompressionMethod() const { return 0; }
  // The end record signature the directory search looks for.
  virtual std::uint32_t EndRecordSignature() const;

  // Dispatchers: fire the event when a handler is assigned, otherwise apply the default.
  virtual void DoOverallProgress(double progress, TArcProcessOperation operation,
                                 TArcProgressPhase phase, bool& cancel);
  virtual void DoFileProgress(const std::string& file_name, double progress,
                              TArcProcessOperation operation, TArcProgressPhase phase,
                              bool& cancel);
  virtual void DoConfirmOverwrite(const std::string& source_file_name, std::string& dest_file_name,
                                  bool& confirm);
  virtual void DoConfirmProcessFile(const std::string& file_name, TArcProcessOperation operation,
                                    bool& confirm);
  virtual void DoPassword(const std::string& file_name, std::string& new_password, bool& skip_file);
  virtual void DoProcessFileFailure(const std::string& file_name, TArcProcessOperation operation,
                                    int native_error, int error_code,
                                    const std::string& error_message, TArcAction& action);
  virtual void DoExtractFile(std::string& file_name, std::uint32_t& file_attr,
                             const std::string& comment);

 private:
  void RequireOpen() const;
  void CreateNewArchive();
  void ReleaseStream() noexcept;
  bool SearchEntry(TArcArchiveItem& item);
  // Marks the entries the mask, attributes and exclusion mask select (and only those), then
  // runs `operation` over them.
  void ProcessMatchingEntries(const std::string& file_mask, std::int32_t search_attr,
                              const std::string& exclusion_mask, TArcProcessOperation operation);
  void ProcessMarkedEntries(TArcProcessOperation operation);
  void ProcessEntry(std::size_t index, TArcProcessOperation operation,
                    const std::string& working_name);
  void ExtractOneEntry(std::size_t index, std::string working_name);
  bool DecodeStoredOrDeflated(const TDirItem& entry, std::uint64_t data_start,
                              std::uint64_t compressed_size, std::uint64_t total,
                              std::uint16_t local_flags, std::uint16_t local_time,
                              std::uint32_t local_crc, TArcOutput& output, std::uint64_t& written,
                              std::uint32_t& crc);
  void FireChunkProgress(const TDirItem& entry, std::uint64_t consumed, std::uint64_t total);

  std::string name_;
  std::string file_name_;
  std::string password_;
  std::string base_dir_;
  std::string temp_dir_;
  TArcOptions options_;
  bool extract_corrupted_files_ = false;
  TArcCompressionLevel compression_level_ = TArcCompressionLevel::clFastest;
  std::uint8_t compression_mode_ = 1;
  TArcSpanningMode spanning_mode_ = TArcSpanningMode::smNone;
  TArcSpanningOptions spanning_options_;
  std::string sfx_stub_;
  std::vector<std::string> file_masks_;
  std::vector<std::string> exclusion_masks_;
  std::vector<std::string> no_compression_masks_;
  bool in_memory_ = false;

  bool open_ = false;
  int update_count_ = 0;  // BeginUpdate depth of the writing side
  std::uint16_t open_mode_ = 0;
  std::unique_ptr<TArcStream> stream_;
  std::unique_ptr<TArcDirManager> dir_;
  bool corrupted_tolerance_ = true;
  bool suppress_password_event_ = false;
  bool skip_file_ = false;
  bool progress_cancel_ = false;
  bool progress_enabled_ = false;
  std::size_t selected_count_ = 0;
  std::size_t done_count_ = 0;
  TArcAction action_ = TArcAction::fxaIgnore;
  TInternalSearchRec search_;
};

}  // namespace archive
