#pragma once
// The ZIP variant of the archive component: APPNOTE's signatures, deflate (method 8) for new
// entries when CompressionMode is above 0, stored (method 0) otherwise, and the Zip64 mode of
// the writing side (reading always understands Zip64 records).

#include <string>

#include "archive/arc_base_archiver.h"
#include "archive/arc_options.h"

namespace archive {

class TZipArchiver final : public TArcBaseArchiver {
 public:
  explicit TZipArchiver(std::string name = {}) : TArcBaseArchiver(std::move(name)) {}

  TZip64Mode Zip64Mode() const { return zip64_mode_; }
  void SetZip64Mode(TZip64Mode mode) { zip64_mode_ = mode; }

 protected:
  std::uint16_t CompressionMethod() const override { return CompressionMode() > 0 ? 8 : 0; }

 private:
  TZip64Mode zip64_mode_ = TZip64Mode::zmDisabled;
};

}  // namespace archive
