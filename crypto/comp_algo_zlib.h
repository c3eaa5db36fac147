#pragma once
// The "ZLIB" compression algorithm: a whole stream compressed with zlib behind its length, or
// stored unchanged behind its negated length when compression does not shrink it. The
// database stores BLOBs in this framing; the framing and the level mapping are frozen.
//
// Compressed form, integers little-endian:
//   empty source -> empty output;
//   int32 n > 0, then a zlib stream (RFC 1950) of the n source bytes;
//   int32 -n, then the n source bytes unchanged.

#include <cstdint>
#include <memory>
#include <string_view>

#include "crypto/data_process_algo.h"

namespace crypto {

// Keeps one deflate and one inflate stream for its lifetime and resets them between items, so
// that a BLOB costs no zlib set-up; a reset stream produces exactly the bytes of a new one.
// Owns both streams (created at first use).
class TCompAlgo_Zlib final : public TCompressAlgo {
 public:
  TCompAlgo_Zlib();
  ~TCompAlgo_Zlib() override;

  std::string_view ClassName() const override { return "TCompAlgo_Zlib"; }

  // Compresses the whole source (from position 0; `size` is not used) into `target`, which is
  // cleared first. An absent source does nothing; an absent target means the source.
  // Raises ECompressError for a source of 2 GiB or more, which the framing cannot hold.
  void EncodeStream(TMemoryStream* source, TMemoryStream* target, std::int64_t size) override;
  // Restores the whole source (from position 0; `size` is not used) into `target`, position 0.
  // Raises ECompressError for a form that is truncated, corrupt or inconsistent with its
  // length; the target is then left as it was.
  void DecodeStream(TMemoryStream* source, TMemoryStream* target, std::int64_t size) override;

  void SetLevel(int level) override { level_ = static_cast<std::uint8_t>(level); }
  int GetLevel() const override { return level_; }

  // The zlib level for an algorithm level: 0 -> 9 (best), 1 -> zlib's default (-1),
  // 2 and 3 -> 1 (fastest), anything else -> 0 (stored blocks).
  static int ZlibLevel(int level);

 private:
  class TDeflater;
  class TInflater;

  std::uint8_t level_ = 1;               // only ever 1 in stored databases: zlib's default level
  std::unique_ptr<TDeflater> deflater_;  // keyed to the zlib level it was started with
  std::unique_ptr<TInflater> inflater_;
};

}  // namespace crypto
