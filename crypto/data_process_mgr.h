#pragma once
// The managers through which the database compresses and enciphers its bytes. The database's
// file reader owns one TCompressMgr and one TEncryptMgr; each forwards the work to the one
// algorithm object it owns, chosen by name from its registry (algo_registry.h).
//
// Errors with the database's own texts (EDataProcessError): an unregistered name raises
// "Compression algorithm module '<name>' not found" / "Encryption algorithm module '<name>'
// not found" from SelectAlgo and keeps the current algorithm; any other operation before an
// algorithm was selected raises "General error".

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "crypto/data_process_algo.h"
#include "crypto/encrypt_algo.h"

namespace crypto {

// Owns the current algorithm (none at first) and the two progress handlers, which it connects
// to every algorithm it selects.
class TDataProcessMgr {
 public:
  TDataProcessMgr() = default;
  TDataProcessMgr(const TDataProcessMgr&) = delete;
  TDataProcessMgr& operator=(const TDataProcessMgr&) = delete;
  virtual ~TDataProcessMgr() = default;

  // The registry position of `name` (letter case ignored); raises the not-found error.
  virtual std::size_t FindAlgo(std::string_view name) const = 0;
  // Makes the class registered as `name` current. Selecting the class already in use keeps
  // its object (and, for encryption, its key); another class replaces the object.
  virtual void SelectAlgo(std::string_view name) = 0;
  // Forward to the current algorithm (see TCompAlgo_Zlib and TEncryptAlgo for the forms).
  virtual void EncodeStream(TMemoryStream* source, TMemoryStream* target, std::int64_t size);
  virtual void DecodeStream(TMemoryStream* source, TMemoryStream* target, std::int64_t size);

  // Progress of encoding / decoding, in whole percent; passed on to the current algorithm and
  // to every one selected later. Empty: no notification.
  void SetOnEncodeProgress(TProgressEvent handler);
  void SetOnDecodeProgress(TProgressEvent handler);

  bool HasAlgo() const { return algo_ != nullptr; }
  // The current algorithm, or null. Owned by the manager until another is selected.
  TDataProcessAlgo* Algo() const { return algo_.get(); }

 protected:
  // Installs `algo` as the current algorithm, hooked to the progress handlers.
  void SetAlgo(std::unique_ptr<TDataProcessAlgo> algo);
  // The current algorithm; raises "General error" when there is none.
  TDataProcessAlgo& RequireAlgo() const;

 private:
  std::unique_ptr<TDataProcessAlgo> algo_;
  TProgressEvent on_encode_progress_;
  TProgressEvent on_decode_progress_;
};

class TCompressMgr final : public TDataProcessMgr {
 public:
  std::size_t FindAlgo(std::string_view name) const override;
  void SelectAlgo(std::string_view name) override;
};

// Every encode or decode ends with EndData, so each item (a field buffer, a BLOB, a search
// key) is enciphered from the cipher's initial vector and equal items give equal bytes.
class TEncryptMgr final : public TDataProcessMgr {
 public:
  std::size_t FindAlgo(std::string_view name) const override;
  void SelectAlgo(std::string_view name) override;
  void EncodeStream(TMemoryStream* source, TMemoryStream* target, std::int64_t size) override;
  void DecodeStream(TMemoryStream* source, TMemoryStream* target, std::int64_t size) override;

  // `length` bytes from source to target (which may be the same buffer), then EndData.
  // Raises EEncryptException (code 3) before the algorithm was keyed.
  virtual void EncodeBuffer(const void* source, void* target, std::size_t length);
  virtual void DecodeBuffer(const void* source, void* target, std::size_t length);

  // Raises EEncryptException (code 4) for a mode above 4.
  void SetMode(std::uint8_t mode);
  void InitKey(std::string_view password);
  void EndData();

 private:
  TEncryptAlgo& RequireEncryptAlgo() const;
};

}  // namespace crypto
