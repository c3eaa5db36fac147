#include "crypto/comp_algo_zlib.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <vector>

#include "crypto/crypto_errors.h"
#include "platform/byte_order.h"

namespace crypto {

namespace {

constexpr std::size_t kLengthSize = 4;        // the int32 in front of every non-empty form
constexpr std::size_t kStreamBuffer = 65536;  // zlib output (encode) and input (decode) piece
constexpr std::size_t kMaxSourceSize = std::numeric_limits<std::int32_t>::max();

}  // namespace

class TCompAlgo_Zlib::TDeflater final {
 public:
  explicit TDeflater(int level) : level_(level) {
    if (deflateInit(&z_, level) != Z_OK) {
      RaiseCompressError("cannot start compression");
    }
  }
  TDeflater(const TDeflater&) = delete;
  TDeflater& operator=(const TDeflater&) = delete;
  ~TDeflater() { deflateEnd(&z_); }
  int Level() const { return level_; }
  // The stream as new, whatever the previous item left in it (also after a failure); the
  // caller's buffer fields are cleared with it.
  z_stream& Reset() {
    if (deflateReset(&z_) != Z_OK) {
      RaiseCompressError("cannot start compression");
    }
    z_.next_in = nullptr;
    z_.avail_in = 0;
    z_.next_out = nullptr;
    z_.avail_out = 0;
    return z_;
  }

 private:
  z_stream z_{};
  int level_;
};

class TCompAlgo_Zlib::TInflater final {
 public:
  TInflater() {
    if (inflateInit(&z_) != Z_OK) {
      RaiseCompressError("cannot start decompression");
    }
  }
  TInflater(const TInflater&) = delete;
  TInflater& operator=(const TInflater&) = delete;
  ~TInflater() { inflateEnd(&z_); }
  // The stream as new. The buffer fields are the caller's and survive a reset, so they are
  // cleared too: an item that failed half-way must not leave input behind for the next one.
  z_stream& Reset() {
    if (inflateReset(&z_) != Z_OK) {
      RaiseCompressError("cannot start decompression");
    }
    z_.next_in = nullptr;
    z_.avail_in = 0;
    z_.next_out = nullptr;
    z_.avail_out = 0;
    return z_;
  }

 private:
  z_stream z_{};
};

TCompAlgo_Zlib::TCompAlgo_Zlib() = default;
TCompAlgo_Zlib::~TCompAlgo_Zlib() = default;

int TCompAlgo_Zlib::ZlibLevel(int level) {
  switch (level) {
    case 0:
      return Z_BEST_COMPRESSION;
    case 1:
      return Z_DEFAULT_COMPRESSION;
    case 2:
    case 3:
      return Z_BEST_SPEED;
    default:
      return Z_NO_COMPRESSION;
  }
}

void TCompAlgo_Zlib::EncodeStream(TMemoryStream* source, TMemoryStream* target,
                                  std::int64_t /*size*/) {
  if (source == nullptr) {
    return;
  }
  if (target == nullptr) {
    target = source;
  }
  const std::span<const std::uint8_t> plain = source->Bytes();
  const std::size_t s = plain.size();
  if (s > kMaxSourceSize) {
    RaiseCompressError("data too large for the compressed form");
  }
  // Built aside, so that the target is untouched if anything fails and may be the source.
  std::vector<std::uint8_t> out;
  if (s > 0) {
    out.resize(kLengthSize);
    platform::StoreLE32(out, 0, static_cast<std::uint32_t>(s));
    const int zlib_level = ZlibLevel(level_);
    if (!deflater_ || deflater_->Level() != zlib_level) {
      deflater_.reset();
      deflater_ = std::make_unique<TDeflater>(zlib_level);
    }
    z_stream& z = deflater_->Reset();
    z.next_in = const_cast<Bytef*>(plain.data());
    z.avail_in = static_cast<uInt>(s);
    std::array<std::uint8_t, kStreamBuffer> piece;
    int rc = Z_OK;
    // Once the zlib stream is longer than the source, the stored form wins anyway.
    while (rc != Z_STREAM_END && out.size() - kLengthSize < s) {
      z.next_out = piece.data();
      z.avail_out = static_cast<uInt>(piece.size());
      rc = deflate(&z, Z_FINISH);
      if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
        RaiseCompressError("compression failed");
      }
      const std::size_t produced = piece.size() - z.avail_out;
      out.insert(out.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(produced));
      if (z.avail_out == 0) {
        DoEncodeProgress(static_cast<std::int64_t>(z.total_in), static_cast<std::int64_t>(s));
      }
    }
    if (out.size() - kLengthSize >= s) {
      out.resize(kLengthSize);
      platform::StoreLE32(out, 0, static_cast<std::uint32_t>(-static_cast<std::int64_t>(s)));
      out.insert(out.end(), plain.begin(), plain.end());
    }
  }
  target->Clear();
  target->Write(out.data(), out.size());
}

void TCompAlgo_Zlib::DecodeStream(TMemoryStream* source, TMemoryStream* target,
                                  std::int64_t /*size*/) {
  if (source == nullptr) {
    return;
  }
  if (target == nullptr) {
    target = source;
  }
  const std::span<const std::uint8_t> form = source->Bytes();
  if (form.empty()) {
    target->Clear();
    return;
  }
  if (form.size() < kLengthSize) {
    RaiseCompressError("compressed data is truncated");
  }
  const auto n = static_cast<std::int32_t>(platform::LoadLE32(form, 0));
  const std::span<const std::uint8_t> body = form.subspan(kLengthSize);
  std::vector<std::uint8_t> plain;
  if (n < 0) {
    // Stored. The body must be exactly as long as the header says; anything else is damage.
    if (static_cast<std::int64_t>(body.size()) != -static_cast<std::int64_t>(n)) {
      RaiseCompressError("stored data does not match its length");
    }
    plain.assign(body.begin(), body.end());
  } else {
    const auto wanted = static_cast<std::size_t>(n);
    if (!inflater_) {
      inflater_ = std::make_unique<TInflater>();
    }
    z_stream& z = inflater_->Reset();
    std::size_t fed = 0;
    // The output grows with what the data really yields, so a damaged length cannot make us
    // reserve memory the stream never fills.
    while (plain.size() < wanted) {
      if (z.avail_in == 0) {
        if (fed == body.size()) {
          RaiseCompressError("compressed data is truncated");
        }
        const std::size_t piece = std::min(kStreamBuffer, body.size() - fed);
        z.next_in = const_cast<Bytef*>(body.data() + fed);
        z.avail_in = static_cast<uInt>(piece);
        fed += piece;
        DoDecodeProgress(static_cast<std::int64_t>(fed + kLengthSize),
                         static_cast<std::int64_t>(form.size()));
      }
      const std::size_t have = plain.size();
      const std::size_t grow = std::min(wanted - have, kStreamBuffer);
      plain.resize(have + grow);
      z.next_out = plain.data() + have;
      z.avail_out = static_cast<uInt>(grow);
      const int rc = inflate(&z, Z_NO_FLUSH);
      plain.resize(have + grow - z.avail_out);
      if (rc == Z_STREAM_END) {
        if (plain.size() != wanted) {
          RaiseCompressError("compressed data is shorter than its length");
        }
        break;
      }
      if (rc == Z_BUF_ERROR && z.avail_in == 0) {
        continue;  // fetch more input, or find that there is none
      }
      if (rc != Z_OK) {
        RaiseCompressError(z.msg != nullptr ? z.msg : "compressed data is corrupt");
      }
    }
  }
  target->Clear();
  target->Write(plain.data(), plain.size());
  target->SetPosition(0);
}

}  // namespace crypto
