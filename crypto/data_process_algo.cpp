#include "crypto/data_process_algo.h"

#include <cmath>

namespace crypto {

int ProgressPercent(std::int64_t done, std::int64_t total) {
  if (total == 0) {
    return 0;
  }
  return static_cast<int>(
      std::nearbyint(static_cast<double>(done) / static_cast<double>(total) * 100.0));
}

void TDataProcessAlgo::DoEncodeProgress(std::int64_t done, std::int64_t total) const {
  if (on_encode_progress_) {
    on_encode_progress_(ProgressPercent(done, total));
  }
}

void TDataProcessAlgo::DoDecodeProgress(std::int64_t done, std::int64_t total) const {
  if (on_decode_progress_) {
    on_decode_progress_(ProgressPercent(done, total));
  }
}

}  // namespace crypto
