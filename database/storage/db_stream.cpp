#include "database/storage/db_stream.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "database/storage/database_error.h"

namespace database::storage {
namespace {

void CheckGrowth(std::int64_t position, std::size_t count) {
  if (position < 0 || position + static_cast<std::int64_t>(count) > kMaxDatabaseSize) {
    RaiseDatabaseError(TDbMessage::DatabaseFull);
  }
}

struct TRegistry {
  std::mutex mutex;
  std::map<std::uint64_t, TDBMemoryStream*> streams;
  std::uint64_t next_handle = 1;
};

TRegistry& Registry() {
  static TRegistry registry;
  return registry;
}

}  // namespace

TDBFileStream::TDBFileStream(const std::string& path, platform::TFileAccess access,
                             platform::TFileShare share, std::int32_t start_offset)
    : file_(platform::TFile::Open(path, access, share)),
      start_offset_(std::max(start_offset, 0)),
      cached_(share == platform::TFileShare::Exclusive) {
  size_ = std::max<std::int64_t>(static_cast<std::int64_t>(file_.Size()) - start_offset_, 0);
}

TDBFileStream::TPage& TDBFileStream::CachedPage(std::int64_t page_no) {
  auto found = pages_.find(page_no);
  if (found != pages_.end()) {
    return *found->second;
  }
  if (pages_.size() >= kMaxCachedPages) {
    pages_.clear();
  }
  auto page = std::make_unique<TPage>();
  page->valid =
      file_.ReadAt(static_cast<std::uint64_t>(page_no * kPageSize + start_offset_), page->bytes);
  return *pages_.emplace(page_no, std::move(page)).first->second;
}

std::size_t TDBFileStream::ReadAt(std::int64_t position, std::span<std::uint8_t> buffer) {
  if (position < 0) {
    return 0;
  }
  if (!cached_) {
    return file_.ReadAt(static_cast<std::uint64_t>(position + start_offset_), buffer);
  }
  std::size_t done = 0;
  while (done < buffer.size() && position + static_cast<std::int64_t>(done) < size_) {
    const std::int64_t at = position + static_cast<std::int64_t>(done);
    const TPage& page = CachedPage(at / static_cast<std::int64_t>(kPageSize));
    const std::size_t offset = static_cast<std::size_t>(at % static_cast<std::int64_t>(kPageSize));
    if (offset >= page.valid) {
      break;
    }
    const std::size_t count = std::min(buffer.size() - done, page.valid - offset);
    std::copy_n(page.bytes.begin() + static_cast<std::ptrdiff_t>(offset), count,
                buffer.begin() + static_cast<std::ptrdiff_t>(done));
    done += count;
  }
  return done;
}

void TDBFileStream::WriteAt(std::int64_t position, std::span<const std::uint8_t> data) {
  CheckGrowth(position, data.size());
  file_.WriteAt(static_cast<std::uint64_t>(position + start_offset_), data);
  flushed_ = false;
  if (!cached_ || data.empty()) {
    return;
  }
  const std::int64_t end = position + static_cast<std::int64_t>(data.size());
  const std::int64_t page_size = static_cast<std::int64_t>(kPageSize);
  for (std::int64_t page_no = position / page_size; page_no <= (end - 1) / page_size; ++page_no) {
    const auto found = pages_.find(page_no);
    if (found == pages_.end()) {
      continue;  // read from the file when first needed
    }
    TPage& page = *found->second;
    const std::int64_t page_start = page_no * page_size;
    const std::int64_t from = std::max(position, page_start);
    const std::int64_t to = std::min(end, page_start + page_size);
    if (from - page_start > static_cast<std::int64_t>(page.valid)) {
      // A gap the file fills with zeros.
      std::fill(page.bytes.begin() + static_cast<std::ptrdiff_t>(page.valid),
                page.bytes.begin() + static_cast<std::ptrdiff_t>(from - page_start),
                std::uint8_t{0});
    }
    std::copy(data.begin() + (from - position), data.begin() + (to - position),
              page.bytes.begin() + static_cast<std::ptrdiff_t>(from - page_start));
    page.valid = std::max(page.valid, static_cast<std::size_t>(to - page_start));
  }
  size_ = std::max(size_, end);
}

std::int64_t TDBFileStream::Size() const {
  if (cached_) {
    return size_;
  }
  return std::max<std::int64_t>(static_cast<std::int64_t>(file_.Size()) - start_offset_, 0);
}

void TDBFileStream::Flush() {
  file_.Flush();
  flushed_ = true;
}

std::size_t TDBMemoryStream::ReadAt(std::int64_t position, std::span<std::uint8_t> buffer) {
  if (position < 0 || position >= Size()) {
    return 0;
  }
  const std::size_t start = static_cast<std::size_t>(position);
  const std::size_t count = std::min(buffer.size(), bytes_.size() - start);
  std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(start), count, buffer.begin());
  return count;
}

void TDBMemoryStream::WriteAt(std::int64_t position, std::span<const std::uint8_t> data) {
  CheckGrowth(position, data.size());
  const std::size_t start = static_cast<std::size_t>(position);
  if (bytes_.size() < start + data.size()) {
    bytes_.resize(start + data.size());
  }
  std::copy(data.begin(), data.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(start));
}

TMemoryStreamRegistration::TMemoryStreamRegistration(TDBMemoryStream& stream) {
  TRegistry& registry = Registry();
  const std::scoped_lock lock(registry.mutex);
  handle_ = registry.next_handle++;
  registry.streams[handle_] = &stream;
  char digits[24];
  std::snprintf(digits, sizeof digits, "%llX", static_cast<unsigned long long>(handle_));
  name_ = std::string(":") + digits;
}

TMemoryStreamRegistration::~TMemoryStreamRegistration() {
  TRegistry& registry = Registry();
  const std::scoped_lock lock(registry.mutex);
  registry.streams.erase(handle_);
}

TDBMemoryStream* FindMemoryStream(std::uint64_t handle) {
  TRegistry& registry = Registry();
  const std::scoped_lock lock(registry.mutex);
  const auto found = registry.streams.find(handle);
  return found == registry.streams.end() ? nullptr : found->second;
}

}  // namespace database::storage
