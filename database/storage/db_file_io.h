#pragma once
// The file reader: owns an open database (a disk file or a caller's memory stream), checks
// that it is a database of this format and version, keeps its data-processing block and table
// directory, verifies passwords against the stored check text, takes the inter-process file
// lock, reads and rewrites table headers, and is the only gateway through which field data
// pass to the compression and encryption managers. The database object creates and drives it;
// every table reader does its file access through it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "crypto/data_process_mgr.h"
#include "crypto/memory_stream.h"
#include "database/storage/db_stream.h"
#include "database/storage/process_block_format.h"
#include "database/storage/table_directory_format.h"
#include "database/storage/table_header_format.h"

namespace database::storage {

// Stored nowhere; the ordinals follow the toolkit's enumeration.
enum TDBMediumType : std::uint8_t { mtDisk = 0, mtMemory = 1 };

// How long AcquireLock keeps trying: failed attempts tolerated before giving up (0: without
// limit) and the wait after each failed attempt. The session supplies them; until a caller
// says otherwise the session defaults apply.
struct TLockRetryRule {
  int retry_count = 20;
  int wait_ms = 100;
};

// Invariants between calls: a stream is held exactly while open; the block and directory
// copies are those read at the last Open (zero before). Owns the managers, the disk stream
// (never a memory stream) and the file lock while it is held.
class TDBFileIO final {
 public:
  using TProgressEvent = std::function<void(int percent)>;

  TDBFileIO(TDBMediumType medium = mtDisk, bool exclusive = false);
  ~TDBFileIO();
  TDBFileIO(const TDBFileIO&) = delete;
  TDBFileIO& operator=(const TDBFileIO&) = delete;

  // Opens the database (nothing when already open). Raises, in this order of checks: "Cannot
  // open file %s", "Database file '%s' is not a valid database", "Version 1.00 is not
  // compatible", "Version of database file is too High", "Invalid database name '%s'" (memory
  // names), platform::EFileError when the host refuses the open, the algorithm-not-found
  // errors, and "Database file is damaged" for a table directory that cannot be. When the
  // algorithm selection or the directory raises, the stream stays held.
  void Open(const std::string& file_name, TDBMediumType medium, std::int32_t start_offset,
            bool read_only, bool exclusive);
  // Forgets the stream (closing a disk file); nothing is flushed.
  void Close();
  bool IsOpen() const { return stream_ != nullptr; }
  bool IsFlushed() const;
  void Flush();

  const std::string& FileName() const { return file_name_; }
  TDBMediumType MediumType() const { return medium_; }
  bool Exclusive() const { return exclusive_; }
  bool ReadOnly() const { return read_only_; }
  bool FileIsReadOnly() const { return file_is_read_only_; }
  // Writes are refused: the read-only argument or the file's attribute.
  bool Writable() const { return !read_only_ && !file_is_read_only_; }

  bool Encrypted() const { return block_.encrypted != 0; }
  bool Compressed() const { return block_.compressed != 0; }
  bool CRC32Check() const { return block_.crc32_check != 0; }
  const TDataProcessBlock& ProcessBlock() const { return block_; }
  const TTableDirectory& Directory() const { return directory_; }

  // False when closed; True on an unencrypted database (nothing keyed); otherwise True only
  // when the password's check text equals the stored one, and then the cipher is keyed.
  bool VerifyPassword(std::string_view password);

  // The inter-process lock on byte 1 of a disk file, retried by the rule. Nested acquires
  // count: only the outermost takes and releases the byte. Raises "Wait for unlock time out".
  void AcquireLock();
  void ReleaseLock();
  void SetLockRetrySource(std::function<TLockRetryRule()> source) {
    lock_retry_source_ = std::move(source);
  }

  // Clears `names` and adds each table's name in table-number order (duplicates included).
  void ListTableNames(std::vector<std::string>& names);
  std::int32_t TableCount() const { return directory_.table_count; }
  // The whole header of table `table_no` at the offset the directory holds. Raises "Database
  // file is damaged" for a table number or header offset outside the directory or the file.
  void ReadTableHeader(std::int32_t table_no, std::span<std::uint8_t, kTableHeaderSize> buffer);
  void WriteTableHeader(std::int32_t table_no,
                        std::span<const std::uint8_t, kTableHeaderSize> buffer);
  // Absolute offset of table `table_no`'s header, checked as for ReadTableHeader.
  std::int32_t TableHeaderOffset(std::int32_t table_no) const;

  // Positioned access to the open stream. ReadAt delivers fewer bytes at the end of the file
  // and leaves the rest of the buffer as it was. WriteAt raises "Cannot modify a read-only
  // database" when the database is not writable.
  std::size_t ReadAt(std::int64_t position, std::span<std::uint8_t> buffer);
  void WriteAt(std::int64_t position, std::span<const std::uint8_t> data);
  std::int64_t FileSize() const;

  // The gateway, serialised by the critical section. Encode: encrypt(compress(data)); decode:
  // decompress(decrypt(data)). Buffer forms only encipher. Manager errors become the
  // database error with the same text; a damaged compressed form raises "Database file is
  // damaged"; EEncryptException passes unchanged. `target` must not be `source`.
  void EncodeStream(crypto::TMemoryStream& source, crypto::TMemoryStream& target, bool compress,
                    bool encrypt);
  void DecodeStream(crypto::TMemoryStream& source, crypto::TMemoryStream& target, bool compressed,
                    bool encrypted);
  void EncodeBuffer(const std::uint8_t* source, std::uint8_t* target, bool encrypt,
                    std::size_t length);
  void DecodeBuffer(const std::uint8_t* source, std::uint8_t* target, bool encrypted,
                    std::size_t length);

  // The decoded stored bytes of one field: `width` bytes at `position`, or, in the BLOB form,
  // the BLOB header there and the encoded bytes it points to (as many of them as the file
  // holds). Takes no file lock.
  void ReadFieldData(crypto::TMemoryStream& target, std::int64_t position, std::int32_t width,
                     bool blob_form, bool encrypted, bool compressed);

  // Progress of the managers' algorithms, in whole percent; empty handlers are skipped.
  void SetOnCompressProgress(TProgressEvent handler);
  void SetOnUncompressProgress(TProgressEvent handler);
  void SetOnEncryptProgress(TProgressEvent handler);
  void SetOnDecryptProgress(TProgressEvent handler);

 private:
  void CheckHeader(TDBStream& stream, const std::string& file_name);
  TDBStream& Stream() const;
  template <class TWork>
  void UnderGateway(TWork&& work);

  std::string file_name_;
  TDBMediumType medium_;
  bool exclusive_;
  std::unique_ptr<TDBFileStream> disk_stream_;  // owned, for mtDisk
  TDBStream* stream_ = nullptr;  // the open stream: disk_stream_ or a caller's memory stream
  std::int32_t start_offset_ = 0;
  bool read_only_ = false;
  bool file_is_read_only_ = false;
  crypto::TCompressMgr compress_mgr_;
  crypto::TEncryptMgr encrypt_mgr_;
  std::array<std::uint8_t, kDataProcessBlockSize> block_bytes_{};    // as read
  std::array<std::uint8_t, kTableDirectorySize> directory_bytes_{};  // as read
  TDataProcessBlock block_;
  TTableDirectory directory_;
  std::recursive_mutex gateway_;  // serialises the four encode/decode operations
  int lock_depth_ = 0;            // nested AcquireLock calls; the byte is held while > 0
  std::function<TLockRetryRule()> lock_retry_source_;
};

// Holds the file lock of a file reader for its lifetime.
class TFileLockGuard final {
 public:
  explicit TFileLockGuard(TDBFileIO& file_io) : file_io_(file_io) { file_io_.AcquireLock(); }
  ~TFileLockGuard() { file_io_.ReleaseLock(); }
  TFileLockGuard(const TFileLockGuard&) = delete;
  TFileLockGuard& operator=(const TFileLockGuard&) = delete;

 private:
  TDBFileIO& file_io_;
};

}  // namespace database::storage
