#include "archive/arc_stream.h"

#include <algorithm>
#include <cstring>

#include "archive/format_util.h"

namespace archive {

void TArcStream::ReadExact(std::uint64_t position, std::span<std::uint8_t> buffer) {
  if (ReadAt(position, buffer) != buffer.size()) {
    throw EShortRecord();
  }
}

std::size_t TArcFileStream::ReadAt(std::uint64_t position, std::span<std::uint8_t> buffer) {
  return file_.ReadAt(position, buffer);
}

void TArcFileStream::WriteAt(std::uint64_t position, std::span<const std::uint8_t> data) {
  file_.WriteAt(position, data);
}

std::uint64_t TArcFileStream::Size() {
  return file_.Size();
}

std::size_t TArcMemoryStream::ReadAt(std::uint64_t position, std::span<std::uint8_t> buffer) {
  if (position >= bytes_.size()) {
    return 0;
  }
  const std::size_t count = std::min<std::uint64_t>(buffer.size(), bytes_.size() - position);
  std::memcpy(buffer.data(), bytes_.data() + position, count);
  return count;
}

void TArcMemoryStream::WriteAt(std::uint64_t position, std::span<const std::uint8_t> data) {
  if (position + data.size() > bytes_.size()) {
    bytes_.resize(position + data.size());
  }
  std::copy(data.begin(), data.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(position));
}

std::size_t TArcFileOutput::Write(std::span<const std::uint8_t> data) {
  try {
    file_.WriteAt(position_, data);
  } catch (const platform::EPlatformError&) {
    return 0;  // the caller turns a short write into a failed entry
  }
  position_ += data.size();
  return data.size();
}

}  // namespace archive
