#include "database/storage/file_header_format.h"

#include "database/storage/database_error.h"
#include "database/storage/fixed_text.h"

namespace database::storage {

TFileHeader DecodeFileHeader(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kFileHeaderSize) {
    RaiseDamaged("file header too short");
  }
  TFileHeader header;
  header.signature = ReadFixedText(bytes.subspan(0, kSignatureSize));
  header.version = ReadFixedText(bytes.subspan(kVersionOffset, kVersionSize));
  return header;
}

void EncodeFileHeader(const TFileHeader& header, std::span<std::uint8_t> out) {
  WriteFixedText(out.subspan(0, kSignatureSize), header.signature);
  WriteFixedText(out.subspan(kVersionOffset, kVersionSize), header.version);
}

bool HasDatabaseSignature(const TFileHeader& header) {
  return header.signature == std::string(kSignature.begin(), kSignature.end());
}

}  // namespace database::storage
