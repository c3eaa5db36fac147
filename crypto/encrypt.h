#pragma once
// The cipher framework: the base of the block ciphers. It holds the key schedule and the
// chaining state, keys a cipher from a password, derives the initial vector, and enciphers or
// deciphers byte buffers of any length in one of five modes. The encryption algorithms of the
// managers own one cipher each; the database's stored bytes depend on every detail here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "crypto/hash.h"

namespace crypto {

// Values of Mode, as stored in the database header's encryption-mode byte (frozen).
enum class TCipherMode : std::uint8_t {
  CTS = 0,  // this framework's chaining: C = E(P ^ F), F := C ^ F (not ciphertext stealing)
  CBC = 1,  // cipher block chaining; a tail is XORed with E(F), F unchanged
  CFB = 2,  // 8-bit cipher feedback
  OFB = 3,  // 8-bit output feedback
  ECB = 4,  // each block alone; a final partial block stays plain
};

struct TCipherSizes {
  std::size_t block_size;     // bytes per block
  std::size_t key_size;       // largest key taken, in bytes; longer keys are cut silently
  std::size_t schedule_size;  // bytes of the expanded key
};

// Invariants between calls: IV and Feedback hold BlockSize bytes each; bit kFlagInitialized of
// Flags is set exactly when the cipher has been keyed since the last Wipe. Owns IV, the
// feedback register and the password hash; the cipher subclass owns the key schedule. All are
// wiped on destruction.
class TEncrypt {
 public:
  static constexpr std::uint32_t kFlagKeyedFromPassword = 1u << 0;
  static constexpr std::uint32_t kFlagInitialized = 1u << 9;

  TEncrypt(const TEncrypt&) = delete;
  TEncrypt& operator=(const TEncrypt&) = delete;
  virtual ~TEncrypt();

  // The cipher's class name, as error texts show it ("TEnc_Blowfish").
  virtual std::string_view ClassName() const = 0;

  // Enciphers / deciphers one block of BlockSize() bytes in place with the current schedule.
  virtual void EncryptBlock(std::uint8_t* block) const = 0;
  virtual void DecryptBlock(std::uint8_t* block) const = 0;
  // Deciphers `count` consecutive blocks in place, each on its own; a cipher may override it
  // to work on several blocks at once.
  virtual void DecryptBlocks(std::uint8_t* blocks, std::size_t count) const;

  // Keys the cipher from the first `length` bytes of `key` (cut to KeySize(), a negative
  // length counts as 0). `iv` (BlockSize() bytes) becomes the initial vector; without it the
  // initial vector is E(FF..FF) under the new key. Every cipher runs BeginInit, its key
  // schedule, then EndInit.
  virtual void Init(const void* key, std::ptrdiff_t length, const void* iv = nullptr) = 0;

  // Keys the cipher from a password: Init with the SHA-0 digest of the password's bytes (at
  // most KeySize() of them), then enciphers the digest kept in the hash object in place and
  // resets the feedback register. The database never passes an iv.
  void InitKey(std::string_view password, const void* iv = nullptr);

  // Transform `length` bytes from `source` into `target` in the current mode, continuing from
  // the feedback register. Source and target may be the same buffer (or not overlap at all).
  // Raise EEncryptException (code 3) before touching target when the cipher was never keyed.
  void EncodeBuffer(const void* source, void* target, std::size_t length);
  void DecodeBuffer(const void* source, void* target, std::size_t length);

  // Copies IV into Feedback, so that the next buffer operation starts a new item.
  void ResetFeedback();
  // Forgets the key: clears both flags, fills IV and Feedback with FF, zeroes the scratch
  // block and the schedule.
  void Wipe();

  std::uint8_t Mode() const { return mode_; }
  // Raises EEncryptException (code 4) for a value above 4 and keeps the current mode: the
  // product never writes such a value, and transforming nothing would hand back garbage.
  void SetMode(std::uint8_t mode);

  std::size_t BlockSize() const { return sizes_.block_size; }
  std::size_t KeySize() const { return sizes_.key_size; }
  std::size_t ScheduleSize() const { return sizes_.schedule_size; }
  std::uint32_t Flags() const { return flags_; }
  void SetFlag(std::uint32_t bit, bool on);
  std::span<const std::uint8_t> IV() const { return iv_; }
  std::span<const std::uint8_t> Feedback() const { return feedback_; }
  // The hash object InitKey used (a THash_SHA), or null before the first InitKey.
  const THash* Hash() const { return hash_.get(); }

 protected:
  explicit TEncrypt(const TCipherSizes& sizes);

  // First step of every Init: clears the initialized flag, wipes, and brings `length` into
  // 0..KeySize().
  void BeginInit(std::ptrdiff_t& length);
  // Last step of every Init: sets IV from `iv` or as E(FF..FF), copies it into Feedback and
  // marks the cipher initialized.
  void EndInit(const void* iv);

  // Zeroes the cipher's expanded key (held by the cipher itself, in its own word layout).
  // Called by Wipe; a cipher's constructor calls Wipe once its schedule exists.
  virtual void ClearSchedule() = 0;

 private:
  template <bool kEncode>
  void Transform(const std::uint8_t* source, std::uint8_t* target, std::size_t length);
  void CheckInitialized() const;

  TCipherSizes sizes_;
  std::uint8_t mode_ = 0;
  std::uint32_t flags_ = 0;
  std::unique_ptr<THash> hash_;  // created by the first InitKey
  // Bytes of ciphertext deciphered together by a decode in the chaining modes: a multiple of
  // every block size.
  static constexpr std::size_t kDecodeRun = 256;

  std::vector<std::uint8_t> scratch_;
  std::array<std::uint8_t, kDecodeRun> run_{};  // deciphered blocks of the current run
  std::vector<std::uint8_t> iv_;
  std::vector<std::uint8_t> feedback_;
};

}  // namespace crypto
