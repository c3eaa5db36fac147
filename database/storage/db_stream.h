#pragma once
// The media a database lives on: a disk file (TDBFileStream) or a caller's memory stream
// (TDBMemoryStream), both seen through TDBStream's positioned reads and writes. A memory
// database is named ":" plus hexadecimal digits; the digits are a handle that the caller
// obtained by registering its stream (TMemoryStreamRegistration), never a raw address.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/file.h"

namespace database::storage {

// Database offsets are int32: no stream grows past this size.
inline constexpr std::int64_t kMaxDatabaseSize = 0x7FFFFFFF;

class TDBStream {
 public:
  TDBStream() = default;
  TDBStream(const TDBStream&) = delete;
  TDBStream& operator=(const TDBStream&) = delete;
  virtual ~TDBStream() = default;

  // Reads up to buffer.size() bytes at `position`; returns the count delivered, fewer at the
  // end (none at a negative position). Bytes not delivered keep what the buffer held.
  virtual std::size_t ReadAt(std::int64_t position, std::span<std::uint8_t> buffer) = 0;
  // Writes all of `data` at `position`, growing the stream. Raises the database error when the
  // stream would grow past kMaxDatabaseSize; platform errors pass through.
  virtual void WriteAt(std::int64_t position, std::span<const std::uint8_t> data) = 0;
  virtual std::int64_t Size() const = 0;
};

// A disk file opened with an access and sharing mode. Flushed after creation and after Flush,
// not flushed after any write. Owns the file and the byte locks taken through it.
class TDBFileStream final : public TDBStream {
 public:
  // Raises platform::EFileError as the platform raises it. A negative start offset counts as 0.
  TDBFileStream(const std::string& path, platform::TFileAccess access, platform::TFileShare share,
                std::int32_t start_offset = 0);

  std::size_t ReadAt(std::int64_t position, std::span<std::uint8_t> buffer) override;
  void WriteAt(std::int64_t position, std::span<const std::uint8_t> data) override;
  std::int64_t Size() const override;

  void Flush();
  bool IsFlushed() const { return flushed_; }
  bool TryLockByte(std::int64_t position) { return file_.TryLockByte(position); }
  void UnlockByte(std::int64_t position) { file_.UnlockByte(position); }

 private:
  // An exclusive open keeps every other handle out, so nobody else can change the file: its
  // reads are then served from a bounded cache of pages, kept current by every write (which
  // still goes to the file at once), and its size is known without asking the host.
  static constexpr std::size_t kPageSize = 4096;
  static constexpr std::size_t kMaxCachedPages = 2048;  // 8 MiB
  struct TPage {
    std::array<std::uint8_t, kPageSize> bytes{};
    std::size_t valid = 0;  // bytes of the page that the file holds
  };
  TPage& CachedPage(std::int64_t page_no);

  platform::TFile file_;
  std::int32_t start_offset_ = 0;  // added to every position; 0 in this system
  bool flushed_ = true;
  bool cached_ = false;    // exclusive open: the page cache and the size below are in use
  std::int64_t size_ = 0;  // the file's size less the start offset, while cached_
  std::unordered_map<std::int64_t, std::unique_ptr<TPage>> pages_;  // by page number
};

// A database held in memory by its caller, who owns it and keeps it alive while a database
// opened on it is open.
class TDBMemoryStream final : public TDBStream {
 public:
  TDBMemoryStream() = default;
  explicit TDBMemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

  std::size_t ReadAt(std::int64_t position, std::span<std::uint8_t> buffer) override;
  void WriteAt(std::int64_t position, std::span<const std::uint8_t> data) override;
  std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  std::vector<std::uint8_t>& MutableBytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Registers a caller's memory stream under a fresh handle for as long as this object lives;
// Name() is the database name that opens it (":" and the handle in hexadecimal). The stream
// must outlive the registration.
class TMemoryStreamRegistration final {
 public:
  explicit TMemoryStreamRegistration(TDBMemoryStream& stream);
  ~TMemoryStreamRegistration();
  TMemoryStreamRegistration(const TMemoryStreamRegistration&) = delete;
  TMemoryStreamRegistration& operator=(const TMemoryStreamRegistration&) = delete;

  const std::string& Name() const { return name_; }
  std::uint64_t Handle() const { return handle_; }

 private:
  std::uint64_t handle_;
  std::string name_;
};

// The stream registered under `handle`, or null.
TDBMemoryStream* FindMemoryStream(std::uint64_t handle);

}  // namespace database::storage
