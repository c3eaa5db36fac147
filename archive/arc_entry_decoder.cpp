// Decoding one entry of the open archive: the local header, traditional PKWARE decryption
// with the password event, chunked inflate through zlib, and the size and CRC-32 tests.
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <optional>

#include "archive/arc_base_archiver.h"
#include "archive/arc_dir_manager.h"
#include "archive/arc_exception.h"
#include "archive/arc_stream.h"
#include "archive/local_header_format.h"
#include "archive/pkware_decrypter.h"
#include "platform/file_system.h"

namespace archive {
namespace {

constexpr std::size_t kBaseSize = 1048576;  // largest input chunk, bytes
constexpr std::size_t kMinChunk = 512;      // chunks are never halved below this
// The output buffer never exceeds this; a chunk whose output is larger is written out in
// pieces, so a hostile size ratio cannot make the decoder hold more.
constexpr std::size_t kMaxOutputBuffer = std::size_t{16} << 20;
constexpr std::uint16_t kMethodStored = 0;
constexpr std::uint16_t kMethodDeflated = 8;
constexpr std::uint16_t kMethodDeflate64 = 9;

// The output buffer size expected for a chunk of `chunk` bytes of an entry with 32-bit sizes
// u and s: (u div s + 1) x (c + c div 2 + 267), low 8 bits cleared, to the nearest power of
// two on a logarithmic scale.
std::uint64_t OutputEstimate(std::uint32_t u, std::uint32_t s, std::uint64_t chunk) {
  const std::uint64_t ratio = u / std::max<std::uint32_t>(s, 1) + 1;
  const std::uint64_t product = (ratio * (chunk + chunk / 2 + 267)) & ~std::uint64_t{0xFF};
  const double exponent =
      std::round(std::log2(static_cast<double>(std::max<std::uint64_t>(product, 1))));
  return std::uint64_t{1} << static_cast<unsigned>(std::min(exponent, 62.0));
}

// The available physical memory, read again at most once a second: asking the host for every
// small entry would cost more than the entry.
std::uint64_t AvailableMemory() {
  using Clock = std::chrono::steady_clock;
  static Clock::time_point read_at{};
  static std::uint64_t available = 0;
  const Clock::time_point now = Clock::now();
  if (available == 0 || now - read_at > std::chrono::seconds(1)) {
    available = platform::AvailablePhysicalMemory();
    read_at = now;
  }
  return available;
}

class TInflater final {
 public:
  TInflater() {
    // Raw deflate: the entry's data is a deflate stream without the zlib wrapper, and no
    // Adler-32 trailer is ever looked for; the size and CRC-32 tests decide.
    ok_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK;
  }
  ~TInflater() {
    if (ok_) {
      inflateEnd(&stream_);
    }
  }
  TInflater(const TInflater&) = delete;
  TInflater& operator=(const TInflater&) = delete;
  bool Ok() const { return ok_; }
  z_stream& Stream() { return stream_; }

 private:
  z_stream stream_{};
  bool ok_ = false;
};

}  // namespace

void TArcBaseArchiver::ExtractEntryToStream(std::size_t index, TArcOutput& output) {
  RequireOpen();
  if (index >= dir_->Entries().Count()) {
    RaiseArcError(arc_error::kEntryIndex, name_);
  }
  const TDirItem& entry = dir_->Entries().At(index);
  const bool decoded = DecodeEntry(entry, entry.LocalHeaderOffset(), output);
  if (!decoded && !progress_cancel_ && !extract_corrupted_files_ && !skip_file_) {
    RaiseArcError(arc_error::kEntryFailed, name_);
  }
}

bool TArcBaseArchiver::DecodeEntry(const TDirItem& entry, std::uint64_t local_header_offset,
                                   TArcOutput& output) {
  RequireOpen();
  std::uint8_t header_bytes[kLocalHeaderSize];
  stream_->ReadExact(local_header_offset, header_bytes);
  const TLocalHeader local = DecodeLocalHeader(header_bytes);
  const std::uint64_t data_start =
      local_header_offset + kLocalHeaderSize + local.name_length + local.extra_length;
  std::uint64_t compressed = entry.CompressedSize();
  // Entry data never reaches into the central directory of a single-file archive.
  if (dir_->LastDisk() == 0 && data_start + compressed > dir_->DirectoryStart()) {
    compressed = data_start < dir_->DirectoryStart() ? dir_->DirectoryStart() - data_start : 0;
  }
  const std::uint64_t total = compressed;
  skip_file_ = false;
  std::uint64_t written = 0;
  std::uint32_t crc = 0;  // zlib's running CRC-32, complement applied
  bool decoded = false;
  switch (entry.CentralHeader.method) {
    case kMethodStored:
    case kMethodDeflated:
      decoded = DecodeStoredOrDeflated(entry, data_start, compressed, total, local.flags,
                                       local.time, local.crc32, output, written, crc);
      break;
    case kMethodDeflate64:
      RaiseArcError(arc_error::kDeflate64);
    default:
      // Other methods (LZMA, BZip2, AES, ...) are not decoded: the entry fails.
      decoded = false;
      break;
  }
  if (!decoded) {
    return false;
  }
  if (entry.UncompressedSize() != written) {
    return false;
  }
  return skip_file_ || crc == entry.CentralHeader.crc32;
}

bool TArcBaseArchiver::DecodeStoredOrDeflated(const TDirItem& entry, std::uint64_t data_start,
                                              std::uint64_t compressed, std::uint64_t total,
                                              std::uint16_t local_flags, std::uint16_t local_time,
                                              std::uint32_t local_crc, TArcOutput& output,
                                              std::uint64_t& written, std::uint32_t& crc) {
  skip_file_ = false;
  const bool encrypted = (entry.CentralHeader.flags & kFlagEncrypted) != 0;
  std::optional<TPkwareDecrypter> decrypter;
  std::uint64_t data_position = data_start;
  if (encrypted) {
    if (compressed < kEncryptionHeaderSize) {
      return false;
    }
    compressed -= kEncryptionHeaderSize;
    std::uint8_t stored_header[kEncryptionHeaderSize];
    if (stream_->ReadAt(data_start, stored_header) != kEncryptionHeaderSize) {
      return false;
    }
    // The last header byte decrypts to the high byte of the time (streamed entries, whose CRC
    // was not known when the header was written) or of the CRC-32.
    const std::uint8_t check = (local_flags & kFlagDataDescriptor) != 0
                                   ? static_cast<std::uint8_t>(local_time >> 8)
                                   : static_cast<std::uint8_t>(local_crc >> 24);
    while (true) {
      decrypter.emplace(password_);
      std::uint8_t header[kEncryptionHeaderSize];
      std::copy(std::begin(stored_header), std::end(stored_header), header);
      decrypter->Decrypt(header);
      if (header[kEncryptionHeaderSize - 1] == check || suppress_password_event_) {
        break;
      }
      DoPassword(entry.Name, password_, skip_file_);
      if (skip_file_) {
        return false;
      }
    }
    data_position += kEncryptionHeaderSize;
  }

  const bool deflated = entry.CentralHeader.method == kMethodDeflated;
  TInflater inflater;
  if (deflated && !inflater.Ok()) {
    throw std::bad_alloc();
  }
  const std::size_t input_size =
      static_cast<std::size_t>(std::min<std::uint64_t>(kBaseSize, compressed));
  const auto input =
      std::make_unique_for_overwrite<std::uint8_t[]>(std::max<std::size_t>(input_size, 1));
  std::unique_ptr<std::uint8_t[]> out_buffer;
  std::size_t out_size = 0;
  bool stream_ended = false;
  std::uint32_t running_crc = crc32(0L, Z_NULL, 0);

  const auto emit = [&](const std::uint8_t* data, std::size_t size) {
    running_crc = crc32_z(running_crc, data, size);
    if (output.Write(std::span(data, size)) != size) {
      return false;
    }
    written += size;
    return true;
  };

  std::uint64_t consumed = 0;
  while (consumed < compressed) {
    if (progress_enabled_) {
      FireChunkProgress(entry, consumed, total);
      if (progress_cancel_) {
        break;
      }
    }
    std::uint64_t chunk = std::min<std::uint64_t>(kBaseSize, compressed - consumed);
    const std::uint64_t memory_limit = AvailableMemory() / 20;
    while (chunk >= kMinChunk &&
           OutputEstimate(entry.CentralHeader.uncompressed_size,
                          entry.CentralHeader.compressed_size, chunk) >= memory_limit) {
      chunk /= 2;
    }
    const std::span<std::uint8_t> in(input.get(), static_cast<std::size_t>(chunk));
    if (stream_->ReadAt(data_position + consumed, in) != in.size()) {
      return false;
    }
    if (decrypter) {
      decrypter->Decrypt(in);
    }
    if (!deflated) {
      if (!emit(in.data(), in.size())) {
        return false;
      }
    } else if (!stream_ended) {
      const std::size_t wanted = static_cast<std::size_t>(
          std::min<std::uint64_t>(OutputEstimate(entry.CentralHeader.uncompressed_size,
                                                 entry.CentralHeader.compressed_size, chunk),
                                  kMaxOutputBuffer));
      if (wanted > out_size) {
        out_buffer = std::make_unique_for_overwrite<std::uint8_t[]>(wanted);
        out_size = wanted;
      }
      z_stream& z = inflater.Stream();
      z.next_in = in.data();
      z.avail_in = static_cast<uInt>(in.size());
      do {
        z.next_out = out_buffer.get();
        z.avail_out = static_cast<uInt>(out_size);
        const int result = inflate(&z, Z_NO_FLUSH);
        const std::size_t produced = out_size - z.avail_out;
        if (result == Z_BUF_ERROR && produced == 0) {
          break;  // everything of this chunk is out; the next chunk goes on
        }
        if (result < 0 || result == Z_NEED_DICT) {
          return false;
        }
        if (!emit(out_buffer.get(), produced)) {
          return false;
        }
        if (result == Z_STREAM_END) {
          stream_ended = true;  // bytes after the end of the deflate data are not output
          break;
        }
      } while (z.avail_in > 0 || z.avail_out == 0);
    }
    consumed += chunk;
  }
  crc = running_crc;
  return true;
}

void TArcBaseArchiver::FireChunkProgress(const TDirItem& entry, std::uint64_t consumed,
                                         std::uint64_t total) {
  const double fraction =
      total == 0 ? 0.0 : static_cast<double>(consumed) / static_cast<double>(total);
  bool cancel = false;
  DoFileProgress(entry.Name, fraction * 100.0, entry.Operation, TArcProgressPhase::ppProcess,
                 cancel);
  const double selected = selected_count_ == 0 ? 1.0 : static_cast<double>(selected_count_);
  DoOverallProgress((fraction + static_cast<double>(done_count_)) / selected * 100.0,
                    entry.Operation, TArcProgressPhase::ppProcess, cancel);
  if (cancel) {
    progress_cancel_ = true;
  }
}

}  // namespace archive
