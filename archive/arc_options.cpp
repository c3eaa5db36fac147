#include "archive/arc_options.h"

namespace archive {

std::int64_t TArcSpanningOptions::VolumeSizeBytes() const {
  switch (VolumeSize) {
    case TArcVolumeSize::vsAutoDetect:
      return 0;
    case TArcVolumeSize::vsCustom:
      return custom_volume_size_;
    case TArcVolumeSize::vs1_44MB:
      return 1457664;
    case TArcVolumeSize::vs100MB:
      return 104857600;
    case TArcVolumeSize::vs200MB:
      return 209715200;
    case TArcVolumeSize::vs250MB:
      return 262144000;
    case TArcVolumeSize::vs600MB:
      return 629145600;
    case TArcVolumeSize::vs650MB:
      return 681574400;
    case TArcVolumeSize::vs700MB:
      return 734003200;
    case TArcVolumeSize::vs4700MB:
      return 4928307200;
  }
  return 0;
}

}  // namespace archive
