#include "archive/arc_base_archiver.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "archive/arc_dir_manager.h"
#include "archive/arc_exception.h"
#include "archive/arc_stream.h"
#include "archive/end_record_format.h"
#include "archive/entry_path.h"
#include "platform/dialogs.h"
#include "platform/file.h"
#include "platform/file_system.h"

namespace archive {
namespace {

platform::TFile OpenWithMode(const std::string& path, std::uint16_t mode) {
  const auto access =
      (mode & 0x3) != 0 ? platform::TFileAccess::ReadWrite : platform::TFileAccess::Read;
  const auto share =
      (mode & 0xF0) == 0x10 ? platform::TFileShare::Exclusive : platform::TFileShare::DenyNone;
  return platform::TFile::Open(path, access, share);
}

}  // namespace

TArcBaseArchiver::TArcBaseArchiver(std::string name) : name_(std::move(name)) {}

TArcBaseArchiver::~TArcBaseArchiver() {
  CloseArchive();
}

std::uint32_t TArcBaseArchiver::EndRecordSignature() const {
  return kEndRecordSignature;
}

void TArcBaseArchiver::SetCompressionLevel(TArcCompressionLevel level) {
  compression_level_ = level;
  static constexpr std::uint8_t kModes[] = {0, 1, 6, 9};
  compression_mode_ = kModes[static_cast<std::size_t>(level)];
}

void TArcBaseArchiver::SetCompressionMode(int mode) {
  if (mode < 0 || mode > 9) {
    RaiseArcError(arc_error::kInvalidCompressionMode, name_);
  }
  compression_mode_ = static_cast<std::uint8_t>(mode);
  compression_level_ = mode == 0   ? TArcCompressionLevel::clNone
                       : mode <= 3 ? TArcCompressionLevel::clFastest
                       : mode <= 6 ? TArcCompressionLevel::clNormal
                                   : TArcCompressionLevel::clMax;
}

std::string TArcBaseArchiver::CurrentVersion() const {
  // Formatted by hand: a locale with a decimal comma must still read "2.64 ".
  return "2.64 ";
}

void TArcBaseArchiver::SetSpanningMode(TArcSpanningMode mode) {
  if (open_) {
    throw EArcSettingError("Cannot set spanning mode on open archive");
  }
  spanning_mode_ = mode;
}

void TArcBaseArchiver::SetInMemory(bool value) {
  if (value == in_memory_) {
    return;
  }
  if (!open_) {
    in_memory_ = value;
    return;
  }
  if (!value) {
    if (file_name_.empty()) {
      RaiseArcError(arc_error::kMemoryArchiveNoFileName, name_);
    }
    // The memory archive becomes the file, then the file is opened in its place.
    std::vector<std::uint8_t> bytes(stream_->Size());
    stream_->ReadExact(0, bytes);
    platform::TFile file = platform::TFile::Open(file_name_, platform::TFileAccess::ReadWrite,
                                                 platform::TFileShare::Exclusive,
                                                 platform::TFileCreation::CreateAlways);
    file.WriteAt(0, bytes);
    file.Close();
  }
  CloseArchive();
  in_memory_ = value;
  OpenArchive();
}

void TArcBaseArchiver::OpenArchive() {
  if (!in_memory_ && ExtractEntryFileName(file_name_).empty()) {
    RaiseArcError(arc_error::kBlankFileName, name_);
  }
  std::uint16_t mode = kOpenModeCreate;
  if (!in_memory_ && platform::FileExists(file_name_)) {
    try {
      OpenWithMode(file_name_, kOpenModeReadWrite);  // a probe, closed again at once
      mode = kOpenModeReadWrite;
    } catch (const platform::EPlatformError&) {
      mode = kOpenModeReadOnly;
    }
  }
  OpenArchive(mode);
}

void TArcBaseArchiver::OpenArchive(std::uint16_t mode) {
  if (!in_memory_ && ExtractEntryFileName(file_name_).empty()) {
    RaiseArcError(arc_error::kBlankFileNameForMode, name_);
  }
  if (mode != kOpenModeCreate && !in_memory_ && !platform::FileExists(file_name_) &&
      spanning_mode_ != TArcSpanningMode::smSpanning && !IsRemovableDrivePath(file_name_)) {
    RaiseArcError(arc_error::kFileNotFound, {file_name_}, name_);
  }
  if (mode != kOpenModeCreate && in_memory_) {
    RaiseArcError(arc_error::kInMemoryCreateOnly, name_);
  }
  CloseArchive();
  open_mode_ = mode;
  if (mode == kOpenModeCreate || in_memory_) {
    CreateNewArchive();
  } else {
    // Multi-volume archives are not read: every archive is taken as a single file.
    spanning_mode_ = TArcSpanningMode::smNone;
    stream_ = std::make_unique<TArcFileStream>(OpenWithMode(file_name_, mode));
    dir_ = std::make_unique<TArcDirManager>(*stream_, options_.OEMFileNames);
    if (!corrupted_tolerance_ && !dir_->FindEndRecord()) {
      dir_.reset();
      ReleaseStream();
      RaiseArcError(arc_error::kArchiveDamaged, name_);
    }
    try {
      dir_->ReadDirectory(spanning_mode_ != TArcSpanningMode::smNone);
    } catch (...) {
      dir_.reset();  // the stream stays until the next open or close releases it
      throw;
    }
  }
  open_ = true;
  if (AfterOpen) {
    AfterOpen(*this);
  }
}

void TArcBaseArchiver::CreateNewArchive() {
  if (in_memory_) {
    stream_ = std::make_unique<TArcMemoryStream>();
  } else {
    stream_ = std::make_unique<TArcFileStream>(platform::TFile::Open(
        file_name_, platform::TFileAccess::ReadWrite, platform::TFileShare::Exclusive,
        platform::TFileCreation::CreateAlways));
  }
  dir_ = std::make_unique<TArcDirManager>(*stream_, options_.OEMFileNames);
  if (!sfx_stub_.empty() && platform::FileExists(sfx_stub_)) {
    platform::TFile stub = platform::TFile::Open(sfx_stub_, platform::TFileAccess::Read,
                                                 platform::TFileShare::DenyNone);
    std::vector<std::uint8_t> bytes(stub.Size());
    bytes.resize(stub.ReadAt(0, bytes));
    stream_->WriteAt(0, bytes);
  }
}

void TArcBaseArchiver::ReleaseStream() noexcept {
  stream_.reset();
}

void TArcBaseArchiver::CloseArchive() noexcept {
  if (open_) {
    try {
      if (stream_->Size() == 0) {
        TEndRecord record;
        record.signature = EndRecordSignature();
        const std::string& comment = dir_->ArchiveComment();
        record.comment_length = static_cast<std::uint16_t>(comment.size());
        const auto bytes = EncodeEndRecord(record);
        stream_->WriteAt(0, bytes);
        stream_->WriteAt(
            kEndRecordSize,
            std::span(reinterpret_cast<const std::uint8_t*>(comment.data()), comment.size()));
      }
    } catch (const std::exception&) {
      // Closing never fails: the archive is released whatever writing the record did.
    }
    open_ = false;
  }
  dir_.reset();
  ReleaseStream();
}

void TArcBaseArchiver::RequireOpen() const {
  if (!open_) {
    RaiseArcError(arc_error::kNotOpen, name_);
  }
}

std::size_t TArcBaseArchiver::EntryCount() const {
  RequireOpen();
  return dir_->Entries().Count();
}

const TDirItem& TArcBaseArchiver::Entry(std::size_t index) const {
  RequireOpen();
  return dir_->Entries().At(index);
}

const TArcDirManager& TArcBaseArchiver::DirManager() const {
  RequireOpen();
  return *dir_;
}

bool TArcBaseArchiver::PasswordDialog(const std::string& file_name, std::string& password) {
  return platform::Dialogs().InputQuery("Password for \"" + file_name + "\"",
                                        "Enter password: ", password);
}

void TArcBaseArchiver::DoOverallProgress(double progress, TArcProcessOperation operation,
                                         TArcProgressPhase phase, bool& cancel) {
  if (OnOverallProgress) {
    OnOverallProgress(*this, progress, operation, phase, cancel);
  }
}

void TArcBaseArchiver::DoFileProgress(const std::string& file_name, double progress,
                                      TArcProcessOperation operation, TArcProgressPhase phase,
                                      bool& cancel) {
  if (OnFileProgress) {
    std::string shown = file_name;
    std::replace(shown.begin(), shown.end(), '/', '\\');
    OnFileProgress(*this, shown, progress, operation, phase, cancel);
  }
}

void TArcBaseArchiver::DoConfirmOverwrite(const std::string& source_file_name,
                                          std::string& dest_file_name, bool& confirm) {
  if (OnConfirmOverwrite) {
    OnConfirmOverwrite(*this, source_file_name, dest_file_name, confirm);
    return;
  }
  platform::TMessageBoxRequest box;
  box.text = "Overwrite file \"" + dest_file_name + "\" with \"" + source_file_name + "\"";
  box.icon = platform::TDialogIcon::Question;
  box.buttons = {platform::TDialogButton::Yes, platform::TDialogButton::No,
                 platform::TDialogButton::NoToAll, platform::TDialogButton::YesToAll};
  switch (platform::Dialogs().MessageBox(box)) {
    case platform::TDialogButton::Yes:
      confirm = true;
      break;
    case platform::TDialogButton::YesToAll:
      confirm = true;
      options_.OverwriteMode = TArcOverwriteMode::omAlways;
      break;
    case platform::TDialogButton::NoToAll:
      confirm = false;
      options_.OverwriteMode = TArcOverwriteMode::omNever;
      break;
    default:
      confirm = false;
      break;
  }
}

void TArcBaseArchiver::DoConfirmProcessFile(const std::string& file_name,
                                            TArcProcessOperation operation, bool& confirm) {
  if (OnConfirmProcessFile) {
    OnConfirmProcessFile(*this, file_name, operation, confirm);
  }
}

void TArcBaseArchiver::DoPassword(const std::string& file_name, std::string& new_password,
                                  bool& skip_file) {
  if (OnPassword) {
    OnPassword(*this, file_name, new_password, skip_file);
    return;
  }
  if (!PasswordDialog(file_name, new_password)) {
    skip_file = true;
  }
}

void TArcBaseArchiver::DoProcessFileFailure(const std::string& file_name,
                                            TArcProcessOperation operation, int native_error,
                                            int error_code, const std::string& error_message,
                                            TArcAction& action) {
  if (OnProcessFileFailure) {
    action = TArcAction::fxaIgnore;
    OnProcessFileFailure(*this, file_name, operation, native_error, error_code, error_message,
                         action);
    return;
  }
  platform::TMessageBoxRequest box;
  box.text = error_message + ". File processing error, possibly disk is full";
  box.icon = platform::TDialogIcon::Warning;
  box.buttons = {platform::TDialogButton::Abort, platform::TDialogButton::Retry,
                 platform::TDialogButton::Ignore};
  switch (platform::Dialogs().MessageBox(box)) {
    case platform::TDialogButton::Retry:
      action = TArcAction::fxaRetry;
      break;
    case platform::TDialogButton::Ignore:
      action = TArcAction::fxaIgnore;
      break;
    default:
      action = TArcAction::fxaAbort;
      break;
  }
}

void TArcBaseArchiver::DoExtractFile(std::string& file_name, std::uint32_t& file_attr,
                                     const std::string& comment) {
  if (OnExtractFile) {
    OnExtractFile(*this, file_name, file_attr, comment);
  }
}

}  // namespace archive
