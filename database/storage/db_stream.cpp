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
    : file_(platform::TFile::Open(path, access, share)), start_offset_(std::max(start_offset, 0)) {}

std::size_t TDBFileStream::ReadAt(std::int64_t position, std::span<std::uint8_t> buffer) {
  if (position < 0) {
    return 0;
  }
  return file_.ReadAt(static_cast<std::uint64_t>(position + start_offset_), buffer);
}

void TDBFileStream::WriteAt(std::int64_t position, std::span<const std::uint8_t> data) {
  CheckGrowth(position, data.size());
  file_.WriteAt(static_cast<std::uint64_t>(position + start_offset_), data);
  flushed_ = false;
}

std::int64_t TDBFileStream::Size() const {
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
