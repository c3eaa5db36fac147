#pragma once
// The algorithm objects behind the managers: the root TDataProcessAlgo (stream operations and
// progress notifications) and TCompressAlgo, the base of compression algorithms. Encryption
// algorithms are in encrypt_algo.h. A manager owns at most one algorithm object at a time.

#include <cstdint>
#include <functional>
#include <string_view>

#include "crypto/memory_stream.h"

namespace crypto {

// Receives a whole percentage 0..100. The file reader binds its database (the sender) in the
// closure.
using TProgressEvent = std::function<void(int percent)>;

// The percentage done / total * 100, rounded to the nearest whole number (halves to even);
// 0 when total is 0.
int ProgressPercent(std::int64_t done, std::int64_t total);

class TDataProcessAlgo {
 public:
  TDataProcessAlgo() = default;
  TDataProcessAlgo(const TDataProcessAlgo&) = delete;
  TDataProcessAlgo& operator=(const TDataProcessAlgo&) = delete;
  virtual ~TDataProcessAlgo() = default;

  // The algorithm's class name ("TCompAlgo_Zlib"); a manager keeps its object when the class
  // selected again is the same.
  virtual std::string_view ClassName() const = 0;

  // Transform `size` bytes of `source` into `target` (see the subclasses for how size,
  // positions and an absent target are read).
  virtual void EncodeStream(TMemoryStream* source, TMemoryStream* target, std::int64_t size) = 0;
  virtual void DecodeStream(TMemoryStream* source, TMemoryStream* target, std::int64_t size) = 0;

  void SetOnEncodeProgress(TProgressEvent handler) { on_encode_progress_ = std::move(handler); }
  void SetOnDecodeProgress(TProgressEvent handler) { on_decode_progress_ = std::move(handler); }

 protected:
  // Report ProgressPercent(done, total) to the handler, when one is assigned.
  void DoEncodeProgress(std::int64_t done, std::int64_t total) const;
  void DoDecodeProgress(std::int64_t done, std::int64_t total) const;

 private:
  TProgressEvent on_encode_progress_;
  TProgressEvent on_decode_progress_;
};

class TCompressAlgo : public TDataProcessAlgo {
 public:
  virtual void SetLevel(int /*level*/) {}
  virtual int GetLevel() const { return 0; }
};

}  // namespace crypto
