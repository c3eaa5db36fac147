// The operations over selected entries: the entry search with its masks and attributes, and
// the extract and test operations with their per-entry failure handling, under the
// process-wide archive lock.
#include <algorithm>
#include <mutex>

#include "archive/arc_base_archiver.h"
#include "archive/arc_dir_manager.h"
#include "archive/arc_exception.h"
#include "archive/arc_stream.h"
#include "archive/entry_path.h"
#include "archive/local_header_format.h"
#include "archive/mask_match.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/file_time.h"

namespace archive {
namespace {

// One lock for every archive component of the process, held while an operation runs over
// entries (events and dialogs included); re-entrant for the thread that holds it.
std::recursive_mutex& ArchiveLock() {
  static std::recursive_mutex lock;
  return lock;
}

constexpr std::uint32_t kAttrNeverExcluding = 0x1E;  // hidden, system, volume, directory

std::string WithBackslashes(std::string text) {
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

std::string StripTrailingSeparator(const std::string& name) {
  if (!name.empty() && (name.back() == '/' || name.back() == '\\')) {
    return name.substr(0, name.size() - 1);
  }
  return name;
}

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return text;
}

}  // namespace

bool TArcBaseArchiver::FindFirstEntry(const std::string& file_mask, TArcArchiveItem& item,
                                      std::int32_t search_attr, const std::string& exclusion_mask) {
  RequireOpen();
  std::string mask = file_mask;
  const std::string drive = ExtractEntryDrive(mask);
  if (!drive.empty() && options_.StorePath != TArcStorePathMode::spFullPathWithDrive) {
    mask.erase(0, drive.size());
  }
  std::replace(mask.begin(), mask.end(), '\\', '/');
  TInternalSearchRec& handle = item.Handle;
  handle = TInternalSearchRec{};
  handle.mask = mask;
  handle.has_wildcards = mask.find_first_of("*?") != std::string::npos;
  handle.search_attr = search_attr;
  handle.exclusion_mask = exclusion_mask;
  handle.index = -1;
  return SearchEntry(item);
}

bool TArcBaseArchiver::FindNextEntry(TArcArchiveItem& item) {
  RequireOpen();
  return SearchEntry(item);
}

bool TArcBaseArchiver::SearchEntry(TArcArchiveItem& item) {
  TInternalSearchRec& handle = item.Handle;
  const TArcDirArray& entries = dir_->Entries();
  const std::string mask_dir = LowerAscii(WithBackslashes(ExtractEntryPath(handle.mask)));
  for (std::size_t i = static_cast<std::size_t>(handle.index + 1); i < entries.Count(); ++i) {
    const TDirItem& entry = entries.At(i);
    // A directory entry keeps its final separator here: its directory part is the directory
    // itself and its file-name part is empty; only the whole-name test goes without it.
    if (!options_.Recurse &&
        LowerAscii(WithBackslashes(ExtractEntryPath(entry.Name))) != mask_dir) {
      continue;
    }
    const std::string bare = StripTrailingSeparator(entry.Name);
    if (!MatchesMask(bare, handle.mask) &&
        !MatchesMask(ExtractEntryFileName(entry.Name), handle.mask)) {
      continue;
    }
    const std::uint32_t attributes = entry.CentralHeader.external_attributes;
    if ((attributes & kAttrNeverExcluding & ~static_cast<std::uint32_t>(handle.search_attr)) != 0) {
      continue;
    }
    const TCentralHeader& h = entry.CentralHeader;
    item.FileName = ExtractEntryFileName(entry.Name);
    item.StoredPath = WithBackslashes(ExtractEntryPath(entry.Name));
    item.CompressedSize = entry.CompressedSize();
    item.UncompressedSize = entry.UncompressedSize();
    item.CompressionRate =
        item.UncompressedSize == 0
            ? 100.0
            : std::max(0.0, (1.0 - static_cast<double>(item.CompressedSize) /
                                       static_cast<double>(item.UncompressedSize)) *
                                100.0);
    item.Encrypted = (h.flags & kFlagEncrypted) != 0;
    item.LastModFileTime = h.time;
    item.LastModFileDate = h.date;
    item.CRC = h.crc32;
    item.ExternalFileAttributes = h.external_attributes;
    item.Comment = entry.Comment;
    handle.index = static_cast<std::int32_t>(i);
    return true;
  }
  handle.index = static_cast<std::int32_t>(entries.Count());
  return false;
}

void TArcBaseArchiver::ExtractFiles(const std::string& file_mask, std::int32_t search_attr,
                                    const std::string& exclusion_mask) {
  ProcessMatchingEntries(file_mask, search_attr, exclusion_mask, TArcProcessOperation::poExtract);
}

void TArcBaseArchiver::TestFiles(const std::string& file_mask, std::int32_t search_attr) {
  ProcessMatchingEntries(file_mask, search_attr, {}, TArcProcessOperation::poTest);
}

void TArcBaseArchiver::ProcessMatchingEntries(const std::string& file_mask,
                                              std::int32_t search_attr,
                                              const std::string& exclusion_mask,
                                              TArcProcessOperation operation) {
  RequireOpen();
  if (update_count_ > 0) {
    RaiseArcError(arc_error::kUpdatePending, name_);
  }
  TArcDirArray& entries = dir_->Entries();
  for (std::size_t i = 0; i < entries.Count(); ++i) {
    entries.At(i).Selected = false;
  }
  TArcArchiveItem item;
  for (bool found = FindFirstEntry(file_mask, item, search_attr, exclusion_mask); found;
       found = FindNextEntry(item)) {
    entries.At(static_cast<std::size_t>(item.Handle.index)).Selected = true;
  }
  ProcessMarkedEntries(operation);
}

void TArcBaseArchiver::ProcessMarkedEntries(TArcProcessOperation operation) {
  std::scoped_lock lock(ArchiveLock());
  TArcDirArray& entries = dir_->Entries();
  done_count_ = 0;
  selected_count_ = 0;
  for (std::size_t i = 0; i < entries.Count(); ++i) {
    selected_count_ += entries.At(i).Selected ? 1 : 0;
  }
  progress_cancel_ = false;
  progress_enabled_ = true;
  DoOverallProgress(0, operation, TArcProgressPhase::ppStart, progress_cancel_);
  if (progress_cancel_) {
    return;  // cancelled before any entry: the operation has no end to report
  }
  for (std::size_t i = 0; i < entries.Count() && !progress_cancel_; ++i) {
    if (!entries.At(i).Selected) {
      continue;
    }
    entries.At(i).Operation = operation;
    action_ = TArcAction::fxaRetry;
    while (action_ == TArcAction::fxaRetry) {
      action_ = TArcAction::fxaIgnore;
      const std::string working_name = WithBackslashes(entries.At(i).Name);
      try {
        ProcessEntry(i, operation, working_name);
      } catch (const EArcException& e) {
        DoProcessFileFailure(working_name, operation, e.NativeError(), e.ErrorCode(), e.what(),
                             action_);
      }
    }
    if (action_ == TArcAction::fxaAbort) {
      break;
    }
  }
  bool cancel = false;
  DoOverallProgress(100, operation, TArcProgressPhase::ppEnd, cancel);
  progress_cancel_ = progress_cancel_ || cancel;
}

void TArcBaseArchiver::ProcessEntry(std::size_t index, TArcProcessOperation operation,
                                    const std::string& working_name) {
  bool confirm = true;
  DoConfirmProcessFile(working_name, operation, confirm);
  if (!confirm) {
    return;
  }
  bool cancel = false;
  DoFileProgress(working_name, 0, operation, TArcProgressPhase::ppStart, cancel);
  if (cancel) {
    progress_cancel_ = true;
    return;
  }
  if (operation == TArcProcessOperation::poExtract) {
    ExtractOneEntry(index, working_name);
  } else if (!dir_->Entries().At(index).IsDirectory()) {
    TArcNullOutput nothing;
    ExtractEntryToStream(index, nothing);
  }
  cancel = false;
  DoFileProgress(working_name, 100, operation, TArcProgressPhase::ppEnd, cancel);
  if (cancel) {
    progress_cancel_ = true;
  }
  if (!progress_cancel_) {
    ++done_count_;
  }
}

void TArcBaseArchiver::ExtractOneEntry(std::size_t index, std::string working_name) {
  const TDirItem& entry = dir_->Entries().At(index);
  std::string destination = base_dir_;
  if (!destination.empty() && destination.back() != '\\' && destination.back() != '/') {
    destination += '\\';
  }
  std::uint32_t attributes = entry.CentralHeader.external_attributes;
  DoExtractFile(working_name, attributes, entry.Comment);
  // A name with a drive, a UNC or root prefix, or ".." segments that climb out, would write
  // outside the destination: such an entry fails instead of going there.
  if (!StaysInsideDestination(working_name)) {
    RaiseArcError(arc_error::kOutsideDestination, {working_name}, name_);
  }
  if (!options_.CreateDirs) {
    working_name = ExtractEntryFileName(working_name);
  } else {
    const std::string directory = destination + ExtractEntryPath(working_name);
    if (!directory.empty() && !platform::DirectoryExists(directory) &&
        !platform::ForceDirectories(directory)) {
      RaiseArcError(arc_error::kCannotCreateDirectory, {directory}, name_);
    }
  }
  if (entry.IsDirectory()) {
    return;
  }
  std::string target = destination + working_name;
  if (platform::FileExists(target)) {
    const std::uint32_t existing = platform::FileGetAttr(target).value_or(0);
    if (!options_.ReplaceReadOnly && (existing & platform::kFileAttrReadOnly) != 0) {
      return;
    }
    const auto entry_time = static_cast<std::int32_t>(
        (std::uint32_t{entry.CentralHeader.date} << 16) | entry.CentralHeader.time);
    const auto target_time =
        static_cast<std::int32_t>(platform::FileGetDosDateTime(target).value_or(0));
    switch (options_.OverwriteMode) {
      case TArcOverwriteMode::omPrompt: {
        bool confirm = true;
        DoConfirmOverwrite(working_name, target, confirm);
        if (!confirm) {
          return;
        }
        break;
      }
      case TArcOverwriteMode::omAlways:
        break;
      case TArcOverwriteMode::omNever:
        return;
      case TArcOverwriteMode::omIfNewer:
        if (target_time >= entry_time) {
          return;
        }
        break;
      case TArcOverwriteMode::omIfOlder:
        if (entry_time >= target_time) {
          return;
        }
        break;
    }
  }
  if (platform::FileExists(target)) {
    platform::FileSetAttr(target, 0);
    platform::DeleteFile(target);
  }
  platform::TFile file;
  try {
    file = platform::TFile::Open(target, platform::TFileAccess::ReadWrite,
                                 platform::TFileShare::Exclusive,
                                 platform::TFileCreation::CreateAlways);
  } catch (const platform::EPlatformError&) {
    RaiseArcError(arc_error::kCannotCreateFile, {target}, name_);
  }
  // Whatever the decoding does, the target is closed, and removed unless it is complete.
  bool complete = false;
  const auto finish = [&]() noexcept {
    platform::FileSetDosDateTime(target, entry.CentralHeader.date, entry.CentralHeader.time);
    if (options_.FlushBuffers && IsRemovableDrivePath(target)) {
      try {
        file.Flush();
      } catch (const platform::EPlatformError&) {
        // A failed flush leaves the data to the system cache, as on fixed disks.
      }
    }
    file.Close();
    if (!complete || skip_file_ || progress_cancel_) {
      platform::DeleteFile(target);
    } else if (options_.SetAttributes) {
      platform::FileSetAttr(target, attributes);
    }
  };
  try {
    TArcFileOutput output(file);
    ExtractEntryToStream(index, output);
    complete = true;
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

}  // namespace archive
