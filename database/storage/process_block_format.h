#pragma once
// The data-processing block (472 bytes at kDataProcessBlockOffset): whether the database
// compresses BLOBs and enciphers field data, with which registered algorithms and cipher
// mode, whether BLOB writes are read back, and the password check text. Read once when a
// database opens; written only when a database file is created.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace database::storage {

// Sizes and offsets inside the block (frozen).
inline constexpr std::size_t kDataProcessBlockSize = 472;
inline constexpr std::size_t kCompressedOffset = 0;
inline constexpr std::size_t kCompressAlgoNameOffset = 2;
inline constexpr std::size_t kAlgoNameSize = 33;
inline constexpr std::size_t kEncryptedOffset = kCompressAlgoNameOffset + kAlgoNameSize;
inline constexpr std::size_t kEncryptModeOffset = kEncryptedOffset + 1;
inline constexpr std::size_t kEncryptAlgoNameOffset = kEncryptModeOffset + 1;
inline constexpr std::size_t kCRC32CheckOffset = kEncryptAlgoNameOffset + kAlgoNameSize;
inline constexpr std::size_t kPasswordCheckOffset = kCRC32CheckOffset + 1 + 256;
inline constexpr std::size_t kPasswordCheckSize = 129;
static_assert(kEncryptedOffset == 35 && kCRC32CheckOffset == 70);
static_assert(kPasswordCheckOffset + kPasswordCheckSize + 16 == kDataProcessBlockSize);

struct TDataProcessBlock {
  std::uint8_t compressed = 0;  // non-zero: BLOB data are compressed
  std::string compress_algo_name;
  std::uint8_t encrypted = 0;  // non-zero: field data are enciphered
  std::uint8_t encrypt_mode = 0;
  std::string encrypt_algo_name;
  std::uint8_t crc32_check = 0;  // non-zero: every BLOB written is read back
  std::string password_check;    // the check text of the password, never the password
};

// Raises "Database file is damaged" when fewer than kDataProcessBlockSize bytes are given.
TDataProcessBlock DecodeDataProcessBlock(std::span<const std::uint8_t> bytes);
// Writes the interpreted fields into out[0, kDataProcessBlockSize); other bytes stay as
// they are.
void EncodeDataProcessBlock(const TDataProcessBlock& block, std::span<std::uint8_t> out);

}  // namespace database::storage
