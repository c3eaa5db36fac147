#include "crypto/data_process_mgr.h"

#include "crypto/algo_registry.h"
#include "crypto/crypto_errors.h"

namespace crypto {

namespace {

// Runs EndData when an encryption operation ends, also when it raises, so that the next item
// starts from the initial vector whatever happened to this one.
class TEndDataGuard final {
 public:
  explicit TEndDataGuard(TEncryptAlgo& algo) : algo_(algo) {}
  TEndDataGuard(const TEndDataGuard&) = delete;
  TEndDataGuard& operator=(const TEndDataGuard&) = delete;
  ~TEndDataGuard() { algo_.EndData(); }

 private:
  TEncryptAlgo& algo_;  // owned by the manager, which outlives the guard
};

}  // namespace

void TDataProcessMgr::EncodeStream(TMemoryStream* source, TMemoryStream* target,
                                   std::int64_t size) {
  RequireAlgo().EncodeStream(source, target, size);
}

void TDataProcessMgr::DecodeStream(TMemoryStream* source, TMemoryStream* target,
                                   std::int64_t size) {
  RequireAlgo().DecodeStream(source, target, size);
}

void TDataProcessMgr::SetOnEncodeProgress(TProgressEvent handler) {
  on_encode_progress_ = std::move(handler);
  if (algo_) {
    algo_->SetOnEncodeProgress(on_encode_progress_);
  }
}

void TDataProcessMgr::SetOnDecodeProgress(TProgressEvent handler) {
  on_decode_progress_ = std::move(handler);
  if (algo_) {
    algo_->SetOnDecodeProgress(on_decode_progress_);
  }
}

void TDataProcessMgr::SetAlgo(std::unique_ptr<TDataProcessAlgo> algo) {
  algo->SetOnEncodeProgress(on_encode_progress_);
  algo->SetOnDecodeProgress(on_decode_progress_);
  algo_ = std::move(algo);
}

TDataProcessAlgo& TDataProcessMgr::RequireAlgo() const {
  if (!algo_) {
    RaiseGeneralError();
  }
  return *algo_;
}

std::size_t TCompressMgr::FindAlgo(std::string_view name) const {
  const std::optional<std::size_t> index = FindCompressAlgo(name);
  if (!index) {
    RaiseCompressAlgoNotFound(name);
  }
  return *index;
}

void TCompressMgr::SelectAlgo(std::string_view name) {
  const TCompressAlgoClass& algo_class = CompressAlgoClassAt(FindAlgo(name));
  if (Algo() == nullptr || Algo()->ClassName() != algo_class.class_name) {
    SetAlgo(algo_class.create());
  }
}

std::size_t TEncryptMgr::FindAlgo(std::string_view name) const {
  const std::optional<std::size_t> index = FindEncryptAlgo(name);
  if (!index) {
    RaiseEncryptAlgoNotFound(name);
  }
  return *index;
}

void TEncryptMgr::SelectAlgo(std::string_view name) {
  const TEncryptAlgoClass& algo_class = EncryptAlgoClassAt(FindAlgo(name));
  if (Algo() == nullptr || Algo()->ClassName() != algo_class.class_name) {
    SetAlgo(algo_class.create());
  }
}

TEncryptAlgo& TEncryptMgr::RequireEncryptAlgo() const {
  // Only encryption algorithms are ever installed by SelectAlgo above.
  return static_cast<TEncryptAlgo&>(RequireAlgo());
}

void TEncryptMgr::EncodeStream(TMemoryStream* source, TMemoryStream* target, std::int64_t size) {
  TEncryptAlgo& algo = RequireEncryptAlgo();
  const TEndDataGuard end_data(algo);
  algo.EncodeStream(source, target, size);
}

void TEncryptMgr::DecodeStream(TMemoryStream* source, TMemoryStream* target, std::int64_t size) {
  TEncryptAlgo& algo = RequireEncryptAlgo();
  const TEndDataGuard end_data(algo);
  algo.DecodeStream(source, target, size);
}

void TEncryptMgr::EncodeBuffer(const void* source, void* target, std::size_t length) {
  TEncryptAlgo& algo = RequireEncryptAlgo();
  const TEndDataGuard end_data(algo);
  algo.EncodeBuffer(source, target, length);
}

void TEncryptMgr::DecodeBuffer(const void* source, void* target, std::size_t length) {
  TEncryptAlgo& algo = RequireEncryptAlgo();
  const TEndDataGuard end_data(algo);
  algo.DecodeBuffer(source, target, length);
}

void TEncryptMgr::SetMode(std::uint8_t mode) {
  RequireEncryptAlgo().SetMode(mode);
}

void TEncryptMgr::InitKey(std::string_view password) {
  RequireEncryptAlgo().InitKey(password);
}

void TEncryptMgr::EndData() {
  RequireEncryptAlgo().EndData();
}

}  // namespace crypto
