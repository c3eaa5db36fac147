#pragma once
// The byte stores the archive component reads from and writes to: the archive itself (a host
// file, or memory for an in-memory archive) and the output of one decoded entry (a target
// file, memory, or nothing when an entry is only tested).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/file.h"

namespace archive {

// The archive's bytes, read at explicit positions.
class TArcStream {
 public:
  virtual ~TArcStream() = default;
  // Reads up to buffer.size() bytes at `position`; returns the count (short at the end).
  virtual std::size_t ReadAt(std::uint64_t position, std::span<std::uint8_t> buffer) = 0;
  virtual void WriteAt(std::uint64_t position, std::span<const std::uint8_t> data) = 0;
  virtual std::uint64_t Size() = 0;

  // Reads exactly buffer.size() bytes; raises the stream read error (platform::EPlatformError
  // "Stream read error") when the stream ends first.
  void ReadExact(std::uint64_t position, std::span<std::uint8_t> buffer);
};

class TArcFileStream final : public TArcStream {
 public:
  explicit TArcFileStream(platform::TFile file) : file_(std::move(file)) {}
  std::size_t ReadAt(std::uint64_t position, std::span<std::uint8_t> buffer) override;
  void WriteAt(std::uint64_t position, std::span<const std::uint8_t> data) override;
  std::uint64_t Size() override;

 private:
  platform::TFile file_;
};

class TArcMemoryStream final : public TArcStream {
 public:
  TArcMemoryStream() = default;
  explicit TArcMemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  std::size_t ReadAt(std::uint64_t position, std::span<std::uint8_t> buffer) override;
  void WriteAt(std::uint64_t position, std::span<const std::uint8_t> data) override;
  std::uint64_t Size() override { return bytes_.size(); }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Where a decoded entry goes. Write returns the count written; fewer than asked means the
// output failed (a full disk, for instance) and the entry fails with it.
class TArcOutput {
 public:
  virtual ~TArcOutput() = default;
  virtual std::size_t Write(std::span<const std::uint8_t> data) = 0;
};

// Appends to an open file; a failed write is reported as a short count.
class TArcFileOutput final : public TArcOutput {
 public:
  // `file` is not owned and must stay open while this output is used.
  explicit TArcFileOutput(platform::TFile& file) : file_(file) {}
  std::size_t Write(std::span<const std::uint8_t> data) override;

 private:
  platform::TFile& file_;
  std::uint64_t position_ = 0;
};

class TArcMemoryOutput final : public TArcOutput {
 public:
  std::size_t Write(std::span<const std::uint8_t> data) override {
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    return data.size();
  }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Takes every byte and keeps none: the output of an entry that is only tested.
class TArcNullOutput final : public TArcOutput {
 public:
  std::size_t Write(std::span<const std::uint8_t> data) override { return data.size(); }
};

}  // namespace archive
