#pragma once
// Encryption algorithms: TEncryptAlgo walks a stream through its buffer operations in chunks of
// 4096 bytes; TEncAlgo_Base does the buffer operations with a cipher object it owns; the three
// registered algorithms differ only in the cipher class.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "crypto/data_process_algo.h"
#include "crypto/encrypt.h"

namespace crypto {

class TEncryptAlgo : public TDataProcessAlgo {
 public:
  // Chunk of the stream walk: a multiple of every block size (8 and 16), so walking a stream
  // gives the same bytes as one buffer operation over the whole item.
  static constexpr std::size_t kChunkSize = 4096;

  virtual void SetMode(std::uint8_t /*mode*/) {}
  virtual std::uint8_t GetMode() const { return 0; }
  virtual void InitKey(std::string_view password) = 0;
  // Ends an item: the next buffer operation starts from the initial vector again.
  virtual void EndData() {}
  virtual void EncodeBuffer(const void* source, void* target, std::size_t length) = 0;
  virtual void DecodeBuffer(const void* source, void* target, std::size_t length) = 0;

  // The stream walk. Nothing happens without a source; without a target the source is
  // transformed in place. A negative size means the whole source from position 0; otherwise
  // `size` bytes are read from the source's position and written at the target's position.
  // Progress: 0 first, then once per chunk, then 0 at the end (also when an error leaves).
  // A failure of the buffer operation on the first chunk leaves the target untouched.
  void EncodeStream(TMemoryStream* source, TMemoryStream* target, std::int64_t size) override;
  void DecodeStream(TMemoryStream* source, TMemoryStream* target, std::int64_t size) override;

 private:
  template <bool kEncode>
  void Walk(TMemoryStream* source, TMemoryStream* target, std::int64_t size);
  template <bool kEncode, class TReport>
  void WalkChunks(TMemoryStream& source, TMemoryStream& target, std::int64_t size,
                  const TReport& report);
};

// Owns one cipher, created with the object from CipherClass and freed with it; its key lives
// as long as the algorithm stays selected.
class TEncAlgo_Base : public TEncryptAlgo {
 public:
  void SetMode(std::uint8_t mode) override { cipher_->SetMode(mode); }
  std::uint8_t GetMode() const override { return cipher_->Mode(); }
  // Keys the cipher from the password with no initial vector given.
  void InitKey(std::string_view password) override { cipher_->InitKey(password); }
  void EndData() override { cipher_->ResetFeedback(); }
  void EncodeBuffer(const void* source, void* target, std::size_t length) override {
    cipher_->EncodeBuffer(source, target, length);
  }
  void DecodeBuffer(const void* source, void* target, std::size_t length) override {
    cipher_->DecodeBuffer(source, target, length);
  }

  TEncrypt& Cipher() { return *cipher_; }

 protected:
  explicit TEncAlgo_Base(std::unique_ptr<TEncrypt> cipher) : cipher_(std::move(cipher)) {}

 private:
  std::unique_ptr<TEncrypt> cipher_;
};

class TEncAlgo_Blowfish final : public TEncAlgo_Base {
 public:
  TEncAlgo_Blowfish();
  std::string_view ClassName() const override { return "TEncAlgo_Blowfish"; }
};

class TEncAlgo_Twofish final : public TEncAlgo_Base {
 public:
  TEncAlgo_Twofish();
  std::string_view ClassName() const override { return "TEncAlgo_Twofish"; }
};

class TEncAlgo_Gost final : public TEncAlgo_Base {
 public:
  TEncAlgo_Gost();
  std::string_view ClassName() const override { return "TEncAlgo_Gost"; }
};

}  // namespace crypto
