#include "database/storage/process_block_format.h"

#include "database/storage/database_error.h"
#include "database/storage/fixed_text.h"

namespace database::storage {

TDataProcessBlock DecodeDataProcessBlock(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kDataProcessBlockSize) {
    RaiseDamaged("data-processing block too short");
  }
  TDataProcessBlock block;
  block.compressed = bytes[kCompressedOffset];
  block.compress_algo_name = ReadFixedText(bytes.subspan(kCompressAlgoNameOffset, kAlgoNameSize));
  block.encrypted = bytes[kEncryptedOffset];
  block.encrypt_mode = bytes[kEncryptModeOffset];
  block.encrypt_algo_name = ReadFixedText(bytes.subspan(kEncryptAlgoNameOffset, kAlgoNameSize));
  block.crc32_check = bytes[kCRC32CheckOffset];
  block.password_check = ReadFixedText(bytes.subspan(kPasswordCheckOffset, kPasswordCheckSize));
  return block;
}

void EncodeDataProcessBlock(const TDataProcessBlock& block, std::span<std::uint8_t> out) {
  out[kCompressedOffset] = block.compressed;
  WriteFixedText(out.subspan(kCompressAlgoNameOffset, kAlgoNameSize), block.compress_algo_name);
  out[kEncryptedOffset] = block.encrypted;
  out[kEncryptModeOffset] = block.encrypt_mode;
  WriteFixedText(out.subspan(kEncryptAlgoNameOffset, kAlgoNameSize), block.encrypt_algo_name);
  out[kCRC32CheckOffset] = block.crc32_check;
  WriteFixedText(out.subspan(kPasswordCheckOffset, kPasswordCheckSize), block.password_check);
}

}  // namespace database::storage
