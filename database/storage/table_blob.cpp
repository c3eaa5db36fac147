// The BLOB half of the table reader: writing a BLOB value into a new area at the end of the
// file while a record is appended, rewriting it in place, at the end, or grown in place while
// a record is modified, and the optional read-back check.

#include <algorithm>
#include <string>

#include "crypto/hash_crc32.h"
#include "database/storage/blob_format.h"
#include "database/storage/database_error.h"
#include "database/storage/db_file_io.h"
#include "database/storage/field_types.h"
#include "database/storage/file_header_format.h"
#include "database/storage/optim_blob_stream.h"
#include "database/storage/record_format.h"
#include "database/storage/table_io.h"

namespace database::storage {
namespace {

// With working codecs and storage the first write verifies; a few more cover a transient
// fault, and a persistent one raises instead of looping for ever.
constexpr int kMaxBlobWriteAttempts = 3;

std::int32_t EncodedSize(const crypto::TMemoryStream& encoded) {
  if (encoded.Size() >= static_cast<std::size_t>(kMaxDatabaseSize)) {
    RaiseDatabaseError(TDbMessage::DatabaseFull);
  }
  return static_cast<std::int32_t>(encoded.Size());
}

}  // namespace

void TTableIO::CheckBlobArea(int field_no, const crypto::TMemoryStream& value,
                             crypto::TMemoryStream& encoded, std::int64_t position) {
  const std::int32_t size = EncodedSize(encoded);
  const bool encrypt = IsEncryptedField(field_no);
  const bool compress = IsCompressedField(field_no);
  const std::uint32_t expected = crypto::BufferCrc32(value.Bytes().data(), value.Size());
  crypto::TMemoryStream plain_copy(value.Bytes());
  for (int attempt = 1;; ++attempt) {
    crypto::TMemoryStream read_back;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size), 0);
    bytes.resize(file_io_.ReadAt(position, bytes));
    read_back.Assign(bytes);
    crypto::TMemoryStream decoded;
    try {
      file_io_.DecodeStream(read_back, decoded, compress, encrypt);
    } catch (const platform::EError&) {
      // A decoding failure only means the check failed: the next attempt writes again.
    }
    if (crypto::BufferCrc32(decoded.Bytes().data(), decoded.Size()) == expected) {
      return;
    }
    if (attempt >= kMaxBlobWriteAttempts) {
      RaiseDatabaseError(TDbMessage::BlobCheckFailed, std::to_string(attempt));
    }
    file_io_.EncodeStream(plain_copy, encoded, compress, encrypt);
    if (EncodedSize(encoded) != size) {
      RaiseDatabaseError(TDbMessage::BlobCheckFailed, std::to_string(attempt));
    }
    file_io_.WriteAt(position, encoded.Bytes());
  }
}

void TTableIO::WriteBlobArea(int field_no, const crypto::TMemoryStream& value,
                             crypto::TMemoryStream& encoded, std::int64_t position,
                             std::int32_t area_size) {
  // The encoded bytes and their zero padding go out as one run.
  std::vector<std::uint8_t> area(static_cast<std::size_t>(area_size), 0);
  std::copy(encoded.Bytes().begin(), encoded.Bytes().end(), area.begin());
  file_io_.WriteAt(position, area);
  if (file_io_.CRC32Check()) {
    CheckBlobArea(field_no, value, encoded, position);
  }
}

void TTableIO::WriteNewBlob(int field_no, TOptimBlobStream& value, std::span<std::uint8_t> image,
                            std::int64_t& position, std::vector<std::uint8_t>& tail,
                            std::vector<TPendingBlobCheck>& checks) {
  crypto::TMemoryStream plain(value.Bytes());
  crypto::TMemoryStream encoded;
  file_io_.EncodeStream(plain, encoded, IsCompressedField(field_no), IsEncryptedField(field_no));
  const std::int32_t size = EncodedSize(encoded);
  if (position + AreaSizeFor(size) > kMaxDatabaseSize) {
    RaiseDatabaseError(TDbMessage::DatabaseFull);
  }
  TBlobHeader header;
  header.blob_offset = static_cast<std::int32_t>(position);
  header.blob_size = size;
  header.area_size = AreaSizeFor(size);
  EncodeBlobHeader(header, FieldBytes(image, field_offsets_[static_cast<std::size_t>(field_no)],
                                      kBlobFieldWidth));
  tail.insert(tail.end(), encoded.Bytes().begin(), encoded.Bytes().end());
  tail.resize(tail.size() + static_cast<std::size_t>(header.area_size - size), 0);
  if (file_io_.CRC32Check()) {
    checks.push_back(TPendingBlobCheck{field_no, std::move(plain), std::move(encoded), position});
  }
  position += header.area_size;
}

void TTableIO::RewriteBlob(int field_no, TOptimBlobStream& value, std::span<std::uint8_t> image) {
  crypto::TMemoryStream plain(value.Bytes());
  crypto::TMemoryStream encoded;
  file_io_.EncodeStream(plain, encoded, IsCompressedField(field_no), IsEncryptedField(field_no));
  const std::int32_t size = EncodedSize(encoded);
  const auto header_bytes =
      FieldBytes(image, field_offsets_[static_cast<std::size_t>(field_no)], kBlobFieldWidth);
  const TBlobHeader old_header = DecodeBlobHeader(header_bytes);
  const std::int64_t end = file_io_.FileSize();
  // An old area is reused only when it lies wholly inside the file past the fixed parts: a
  // damaged header must never turn a rewrite into an overwrite of other structures.
  const bool old_area_sound = old_header.blob_offset >= kFirstFreeOffset &&
                              old_header.area_size > 0 &&
                              old_header.area_size % kBlobGranule == 0 &&
                              std::int64_t{old_header.blob_offset} + old_header.area_size <= end;
  TBlobHeader header = old_header;
  header.blob_size = size;
  if (old_area_sound && size < old_header.area_size) {
    header.area_size = old_header.area_size;
  } else if (old_area_sound && std::int64_t{old_header.blob_offset} + old_header.area_size == end) {
    header.area_size = AreaSizeFor(size);
  } else {
    header.blob_offset = static_cast<std::int32_t>(std::min<std::int64_t>(end, kMaxDatabaseSize));
    header.area_size = AreaSizeFor(size);
  }
  if (std::int64_t{header.blob_offset} + header.area_size > kMaxDatabaseSize) {
    RaiseDatabaseError(TDbMessage::DatabaseFull);
  }
  // Written up to the next multiple of 64 above the value, never past the area in place.
  WriteBlobArea(field_no, plain, encoded, header.blob_offset, AreaSizeFor(size));
  EncodeBlobHeader(header, header_bytes);
}

}  // namespace database::storage
