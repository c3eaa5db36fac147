#pragma once
// An open host file with positioned reads and writes, Windows-like access and sharing modes,
// and the one-byte lock that database files use between processes. Owns its descriptor and
// the locks taken through it; closing (or destroying) releases both.
//
// Sharing is emulated with open-file-description locks on a byte range past 2 GiB, which no
// database or package reaches: a share-exclusive open holds a write lock there, any other
// open a read lock, so an exclusive open and any second open exclude each other, across
// processes and between handles of one process, as Windows share modes do.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/error.h"

namespace platform {

enum class TFileAccess { Read, ReadWrite };
enum class TFileShare { DenyNone, Exclusive };
enum class TFileCreation { OpenExisting, CreateAlways };

// Raised when an open fails; `Reason` tells why, for callers whose messages differ by cause.
class EFileError : public EPlatformError {
 public:
  enum class TReason { NotFound, AccessDenied, SharingViolation, Other };
  EFileError(const std::string& message, TReason reason)
      : EPlatformError(message), reason_(reason) {}
  TReason Reason() const { return reason_; }

 private:
  TReason reason_;
};

class TFile final {
 public:
  TFile() = default;
  ~TFile();
  TFile(TFile&& other) noexcept;
  TFile& operator=(TFile&& other) noexcept;
  TFile(const TFile&) = delete;
  TFile& operator=(const TFile&) = delete;

  // Opens `path` (engine path, see host_path.h). Raises EFileError on failure.
  static TFile Open(const std::string& path, TFileAccess access, TFileShare share,
                    TFileCreation creation = TFileCreation::OpenExisting);

  bool IsOpen() const { return fd_ >= 0; }
  void Close();

  // Reads up to buffer.size() bytes at `offset`; returns the count read (short at the end of
  // the file). Raises EPlatformError on an I/O error.
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const;
  // Writes all of `data` at `offset`, growing the file as needed. Raises on failure.
  void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data);
  std::uint64_t Size() const;
  void Truncate(std::uint64_t size);
  // Pushes written data to the disk.
  void Flush();

  // Non-blocking exclusive lock of the single byte at `offset`; false when another handle
  // (in this or another process) holds it.
  bool TryLockByte(std::uint64_t offset);
  void UnlockByte(std::uint64_t offset);

 private:
  explicit TFile(int fd) : fd_(fd) {}
  int fd_ = -1;
};

}  // namespace platform
