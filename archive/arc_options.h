#pragma once
// The archive component's settings objects and enumerations: `Options` (behaviour of the
// operations) and `SpanningOptions` (multi-volume settings of the writing side).

#include <cstdint>

namespace archive {

enum class TArcStorePathMode : std::uint8_t {
  spNoPath = 0,
  spRelativePath = 1,
  spFullPath = 2,
  spFullPathWithDrive = 3,
};

enum class TArcFileShareMode : std::uint8_t {
  smShareCompat = 0,
  smShareExclusive = 1,
  smShareDenyWrite = 2,
  smShareDenyRead = 3,
  smShareDenyNone = 4,
};

enum class TArcOverwriteMode : std::uint8_t {
  omPrompt = 0,
  omAlways = 1,
  omNever = 2,
  omIfNewer = 3,
  omIfOlder = 4,
};

enum class TArcSpanningMode : std::uint8_t { smNone = 0, smSpanning = 1, smSplitting = 2 };

enum class TArcVolumeSize : std::uint8_t {
  vsAutoDetect = 0,
  vsCustom = 1,
  vs1_44MB = 2,
  vs100MB = 3,
  vs200MB = 4,
  vs250MB = 5,
  vs600MB = 6,
  vs650MB = 7,
  vs700MB = 8,
  vs4700MB = 9,
};

enum class TArcCompressionLevel : std::uint8_t {
  clNone = 0,
  clFastest = 1,
  clNormal = 2,
  clMax = 3
};

enum class TZip64Mode : std::uint8_t { zmDisabled = 0, zmAuto = 1, zmAlways = 2 };

// MS-DOS attribute bits of the search attributes; 0x28BF selects every entry.
constexpr std::int32_t kDefaultSearchAttr = 10431;

struct TArcOptions {
  bool Recurse = true;
  TArcStorePathMode StorePath = TArcStorePathMode::spRelativePath;
  TArcFileShareMode ShareMode = TArcFileShareMode::smShareDenyNone;
  TArcOverwriteMode OverwriteMode = TArcOverwriteMode::omAlways;
  bool CreateDirs = true;
  bool ReplaceReadOnly = true;
  bool SetAttributes = true;
  std::int32_t SearchAttr = kDefaultSearchAttr;
  bool FlushBuffers = true;
  bool OEMFileNames = true;
};

class TArcSpanningOptions final {
 public:
  static constexpr std::int64_t kMinCustomVolumeSize = 65536;

  bool AdvancedNaming = true;
  std::int64_t FirstVolumeSize = 0;  // bytes; 0: like the others
  TArcVolumeSize VolumeSize = TArcVolumeSize::vsAutoDetect;

  std::int64_t CustomVolumeSize() const { return custom_volume_size_; }
  // Values below 64 KiB store 64 KiB.
  void SetCustomVolumeSize(std::int64_t bytes) {
    custom_volume_size_ = bytes < kMinCustomVolumeSize ? kMinCustomVolumeSize : bytes;
  }
  // Bytes of a volume; 0 for vsAutoDetect (no limit but the free space of the disk).
  std::int64_t VolumeSizeBytes() const;

 private:
  std::int64_t custom_volume_size_ = 0;
};

}  // namespace archive
