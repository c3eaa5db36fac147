#include "database/storage/db_file_io.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

#include "crypto/crypto_errors.h"
#include "crypto/hash.h"
#include "crypto/hash_sha.h"
#include "database/storage/blob_format.h"
#include "database/storage/database_error.h"
#include "database/storage/file_header_format.h"
#include "database/storage/fixed_text.h"
#include "platform/file_system.h"

namespace database::storage {
namespace {

// The byte whose lock serialises storage operations between processes (frozen: every
// program sharing a database file locks this byte).
constexpr std::int64_t kLockByte = 1;

// ":" then one or more hexadecimal digits; the digits' value, or nothing.
std::optional<std::uint64_t> ParseMemoryName(const std::string& name) {
  if (name.size() < 2 || name[0] != ':' || name.size() > 17) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  for (std::size_t i = 1; i < name.size(); ++i) {
    const char c = name[i];
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else {
      return std::nullopt;
    }
    value = value * 16 + static_cast<std::uint64_t>(digit);
  }
  return value;
}

}  // namespace

TDBFileIO::TDBFileIO(TDBMediumType medium, bool exclusive)
    : medium_(medium), exclusive_(exclusive) {}

TDBFileIO::~TDBFileIO() {
  if (lock_depth_ > 0 && disk_stream_ && !exclusive_) {
    disk_stream_->UnlockByte(kLockByte);
  }
  Close();
}

void TDBFileIO::CheckHeader(TDBStream& stream, const std::string& file_name) {
  std::array<std::uint8_t, kFileHeaderSize> bytes{};
  if (stream.ReadAt(kFileHeaderOffset, bytes) < bytes.size() ||
      !HasDatabaseSignature(DecodeFileHeader(bytes))) {
    RaiseDatabaseError(TDbMessage::NotValidDatabase, file_name);
  }
  // Byte order of the texts: "2.00" and "2.1" sort after "2.0" and are refused; "1.5" opens.
  const std::string version = DecodeFileHeader(bytes).version;
  if (version == "1.00") {
    RaiseDatabaseError(TDbMessage::VersionNotCompatible);
  }
  if (version > std::string(kCurrentVersion)) {
    RaiseDatabaseError(TDbMessage::VersionTooHigh);
  }
}

void TDBFileIO::Open(const std::string& file_name, TDBMediumType medium, std::int32_t start_offset,
                     bool read_only, bool exclusive) {
  if (IsOpen()) {
    return;
  }
  medium_ = medium;
  exclusive_ = exclusive;
  read_only_ = read_only;
  start_offset_ = std::max(start_offset, 0);
  file_is_read_only_ = false;
  if (medium == mtDisk) {
    if (!platform::FileExists(file_name)) {
      RaiseDatabaseError(TDbMessage::CannotOpenFile, file_name);
    }
    // The signature and the version are each checked on a short-lived shared opening, so
    // that a file in use by others can still be recognised.
    {
      TDBFileStream probe(file_name, platform::TFileAccess::Read, platform::TFileShare::DenyNone,
                          start_offset_);
      std::array<std::uint8_t, kFileHeaderSize> bytes{};
      if (probe.ReadAt(0, bytes) < bytes.size() || !HasDatabaseSignature(DecodeFileHeader(bytes))) {
        RaiseDatabaseError(TDbMessage::NotValidDatabase, file_name);
      }
    }
    {
      TDBFileStream probe(file_name, platform::TFileAccess::Read, platform::TFileShare::DenyNone,
                          start_offset_);
      CheckHeader(probe, file_name);
    }
    const auto attributes = platform::FileGetAttr(file_name);
    file_is_read_only_ = attributes && (*attributes & platform::kFileAttrReadOnly) != 0;
    const auto access = (file_is_read_only_ || read_only) ? platform::TFileAccess::Read
                                                          : platform::TFileAccess::ReadWrite;
    const auto share = exclusive ? platform::TFileShare::Exclusive : platform::TFileShare::DenyNone;
    disk_stream_ = std::make_unique<TDBFileStream>(file_name, access, share, start_offset_);
    stream_ = disk_stream_.get();
  } else {
    const auto handle = ParseMemoryName(file_name);
    TDBMemoryStream* memory = handle ? FindMemoryStream(*handle) : nullptr;
    if (memory == nullptr) {
      RaiseDatabaseError(TDbMessage::InvalidDatabaseName, file_name);
    }
    CheckHeader(*memory, file_name);
    stream_ = memory;
  }
  file_name_ = file_name;

  block_bytes_.fill(0);
  stream_->ReadAt(kDataProcessBlockOffset, block_bytes_);
  block_ = DecodeDataProcessBlock(block_bytes_);
  try {
    if (Compressed()) {
      compress_mgr_.SelectAlgo(block_.compress_algo_name);
    }
    if (Encrypted()) {
      encrypt_mgr_.SelectAlgo(block_.encrypt_algo_name);
      encrypt_mgr_.SetMode(block_.encrypt_mode);
    }
  } catch (const crypto::EDataProcessError& error) {
    throw EDatabaseError(error.what());
  } catch (const crypto::EEncryptException& error) {
    // A mode byte outside 0..4: the file cannot be read as it says.
    RaiseDamaged(error.what());
  }
  directory_bytes_.fill(0);
  stream_->ReadAt(kTableDirectoryOffset, directory_bytes_);
  directory_ = DecodeTableDirectory(directory_bytes_);
}

void TDBFileIO::Close() {
  if (lock_depth_ > 0 && disk_stream_ && !exclusive_) {
    disk_stream_->UnlockByte(kLockByte);
  }
  lock_depth_ = 0;
  disk_stream_.reset();
  stream_ = nullptr;
}

bool TDBFileIO::IsFlushed() const {
  return disk_stream_ ? disk_stream_->IsFlushed() : true;
}

void TDBFileIO::Flush() {
  if (disk_stream_ && stream_ == disk_stream_.get()) {
    disk_stream_->Flush();
  }
}

bool TDBFileIO::VerifyPassword(std::string_view password) {
  if (!IsOpen()) {
    return false;
  }
  if (!Encrypted()) {
    return true;
  }
  if (crypto::HashText<crypto::THash_SHA>(password) != block_.password_check) {
    return false;
  }
  UnderGateway([&] { encrypt_mgr_.InitKey(password); });
  return true;
}

void TDBFileIO::AcquireLock() {
  if (!IsOpen() || medium_ != mtDisk) {
    return;
  }
  if (lock_depth_ > 0) {
    ++lock_depth_;
    return;
  }
  if (exclusive_) {
    // The exclusive open already keeps every other handle, of this process or another, away
    // from the file: nobody can contend for the byte, so it is held without asking the host.
    lock_depth_ = 1;
    return;
  }
  const TLockRetryRule rule = lock_retry_source_ ? lock_retry_source_() : TLockRetryRule{};
  const int retry_count = std::max(rule.retry_count, 0);
  const int wait_ms = std::max(rule.wait_ms, 0);
  int failures = 0;
  while (!disk_stream_->TryLockByte(kLockByte)) {
    ++failures;
    if (retry_count != 0 && failures > retry_count) {
      RaiseDatabaseError(TDbMessage::WaitForUnlockTimeOut);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(wait_ms));
  }
  lock_depth_ = 1;
}

void TDBFileIO::ReleaseLock() {
  if (!IsOpen() || medium_ != mtDisk || lock_depth_ == 0) {
    return;
  }
  if (--lock_depth_ == 0 && !exclusive_) {
    disk_stream_->UnlockByte(kLockByte);
  }
}

void TDBFileIO::ListTableNames(std::vector<std::string>& names) {
  names.clear();
  std::array<std::uint8_t, kTableHeaderSize> header{};
  for (std::int32_t i = 0; i < TableCount(); ++i) {
    header.fill(0);
    ReadTableHeader(i, header);
    names.push_back(ReadFixedText(std::span<const std::uint8_t>(header).subspan(0, kNameSize)));
  }
}

std::int32_t TDBFileIO::TableHeaderOffset(std::int32_t table_no) const {
  if (table_no < 0 || table_no >= TableCount()) {
    RaiseDamaged("table number " + std::to_string(table_no) + " outside the directory");
  }
  const std::int32_t offset = directory_.header_offsets[static_cast<std::size_t>(table_no)];
  if (offset < kFirstFreeOffset ||
      std::int64_t{offset} + static_cast<std::int64_t>(kTableHeaderSize) > FileSize()) {
    RaiseDamaged("header of table " + std::to_string(table_no) + " at " + std::to_string(offset) +
                 " outside the file");
  }
  return offset;
}

void TDBFileIO::ReadTableHeader(std::int32_t table_no,
                                std::span<std::uint8_t, kTableHeaderSize> buffer) {
  ReadAt(TableHeaderOffset(table_no), buffer);
}

void TDBFileIO::WriteTableHeader(std::int32_t table_no,
                                 std::span<const std::uint8_t, kTableHeaderSize> buffer) {
  WriteAt(TableHeaderOffset(table_no), buffer);
}

TDBStream& TDBFileIO::Stream() const {
  if (stream_ == nullptr) {
    RaiseDatabaseError(TDbMessage::GeneralError);
  }
  return *stream_;
}

std::size_t TDBFileIO::ReadAt(std::int64_t position, std::span<std::uint8_t> buffer) {
  return Stream().ReadAt(position, buffer);
}

void TDBFileIO::WriteAt(std::int64_t position, std::span<const std::uint8_t> data) {
  TDBStream& stream = Stream();
  if (!Writable()) {
    RaiseDatabaseError(TDbMessage::ReadOnlyDatabase);
  }
  stream.WriteAt(position, data);
}

std::int64_t TDBFileIO::FileSize() const {
  return Stream().Size();
}

template <class TWork>
void TDBFileIO::UnderGateway(TWork&& work) {
  const std::scoped_lock lock(gateway_);
  try {
    work();
  } catch (const crypto::EDataProcessError& error) {
    throw EDatabaseError(error.what());
  } catch (const crypto::ECompressError& error) {
    RaiseDamaged(error.what());
  }
}

void TDBFileIO::EncodeStream(crypto::TMemoryStream& source, crypto::TMemoryStream& target,
                             bool compress, bool encrypt) {
  UnderGateway([&] {
    source.SetPosition(0);
    target.Clear();
    if (!compress && !encrypt) {
      target.Write(source.Bytes());
      return;
    }
    if (compress) {
      compress_mgr_.EncodeStream(&source, &target, static_cast<std::int64_t>(source.Size()));
    }
    if (encrypt) {
      if (compress) {
        crypto::TMemoryStream compressed;
        compressed.Swap(target);
        target.Clear();
        encrypt_mgr_.EncodeStream(&compressed, &target, -1);
      } else {
        encrypt_mgr_.EncodeStream(&source, &target, -1);
      }
    }
  });
}

void TDBFileIO::DecodeStream(crypto::TMemoryStream& source, crypto::TMemoryStream& target,
                             bool compressed, bool encrypted) {
  UnderGateway([&] {
    source.SetPosition(0);
    target.Clear();
    if (!compressed && !encrypted) {
      target.Write(source.Bytes());
      return;
    }
    if (encrypted) {
      encrypt_mgr_.DecodeStream(&source, &target, -1);
    }
    if (compressed) {
      if (encrypted) {
        crypto::TMemoryStream deciphered;
        deciphered.Swap(target);
        deciphered.SetPosition(0);
        target.Clear();
        compress_mgr_.DecodeStream(&deciphered, &target, -1);
      } else {
        compress_mgr_.DecodeStream(&source, &target, -1);
      }
    }
  });
}

void TDBFileIO::EncodeBuffer(const std::uint8_t* source, std::uint8_t* target, bool encrypt,
                             std::size_t length) {
  UnderGateway([&] {
    if (encrypt) {
      encrypt_mgr_.EncodeBuffer(source, target, length);
    } else if (length > 0 && source != target) {
      std::copy_n(source, length, target);
    }
  });
}

void TDBFileIO::DecodeBuffer(const std::uint8_t* source, std::uint8_t* target, bool encrypted,
                             std::size_t length) {
  UnderGateway([&] {
    if (encrypted) {
      encrypt_mgr_.DecodeBuffer(source, target, length);
    } else if (length > 0 && source != target) {
      std::copy_n(source, length, target);
    }
  });
}

void TDBFileIO::ReadFieldData(crypto::TMemoryStream& target, std::int64_t position,
                              std::int32_t width, bool blob_form, bool encrypted, bool compressed) {
  std::vector<std::uint8_t> field(static_cast<std::size_t>(std::max(width, 0)), 0);
  ReadAt(position, field);
  crypto::TMemoryStream stored;
  if (blob_form) {
    const TBlobHeader header = DecodeBlobHeader(field);
    // A header pointing (partly) outside the file delivers only the bytes the file holds.
    const std::int64_t available = FileSize() - header.blob_offset;
    const std::int64_t count =
        header.blob_offset < 0
            ? 0
            : std::clamp<std::int64_t>(header.blob_size, 0, std::max<std::int64_t>(available, 0));
    std::vector<std::uint8_t> data(static_cast<std::size_t>(count), 0);
    data.resize(ReadAt(header.blob_offset, data));
    stored.Assign(data);
  } else {
    stored.Assign(field);
  }
  DecodeStream(stored, target, compressed, encrypted);
}

void TDBFileIO::SetOnCompressProgress(TProgressEvent handler) {
  compress_mgr_.SetOnEncodeProgress(std::move(handler));
}
void TDBFileIO::SetOnUncompressProgress(TProgressEvent handler) {
  compress_mgr_.SetOnDecodeProgress(std::move(handler));
}
void TDBFileIO::SetOnEncryptProgress(TProgressEvent handler) {
  encrypt_mgr_.SetOnEncodeProgress(std::move(handler));
}
void TDBFileIO::SetOnDecryptProgress(TProgressEvent handler) {
  encrypt_mgr_.SetOnDecodeProgress(std::move(handler));
}

}  // namespace database::storage
