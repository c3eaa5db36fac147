#include "archive/arc_dir_array.h"

#include <algorithm>

#include "archive/arc_exception.h"
#include "archive/zip64_format.h"

namespace archive {
namespace {
constexpr std::size_t kMaxGrowthStep = 10000;
}  // namespace

std::uint64_t TDirItem::UncompressedSize() const {
  return CentralHeader.uncompressed_size == kZip64Marker32 ? UncompressedSize64
                                                           : CentralHeader.uncompressed_size;
}

std::uint64_t TDirItem::CompressedSize() const {
  return CentralHeader.compressed_size == kZip64Marker32 ? CompressedSize64
                                                         : CentralHeader.compressed_size;
}

std::uint64_t TDirItem::LocalHeaderOffset() const {
  return CentralHeader.local_header_offset == kZip64Marker32 ? LocalHeaderOffset64
                                                             : CentralHeader.local_header_offset;
}

bool TDirItem::IsDirectory() const {
  return (CentralHeader.external_attributes & kAttrDirectory) != 0 ||
         (!Name.empty() && Name.back() == '/');
}

void TArcDirArray::SetCount(std::size_t count) {
  if (count == 0) {
    items_.clear();
    items_.shrink_to_fit();
    count_ = 0;
    return;
  }
  if (count > items_.size()) {
    step_ = std::min(step_ * 2, kMaxGrowthStep);
    items_.resize(std::max(count, items_.size() + step_));
  }
  // Slots between the new count and the capacity are cleared, so a later growth finds them
  // empty.
  for (std::size_t i = count; i < count_; ++i) {
    items_[i] = TDirItem{};
  }
  count_ = count;
}

void TArcDirArray::Put(std::size_t index, const TDirItem& item) {
  if (index >= count_) {
    RaiseArcError(arc_error::kStoreIndex);
  }
  items_[index] = item;
}

TDirItem TArcDirArray::Get(std::size_t index) const {
  if (index >= count_) {
    RaiseArcError(arc_error::kCopyIndex);
  }
  return items_[index];
}

TDirItem& TArcDirArray::At(std::size_t index) {
  if (index >= count_) {
    RaiseArcError(arc_error::kAddressIndex);
  }
  return items_[index];
}

const TDirItem& TArcDirArray::At(std::size_t index) const {
  if (index >= count_) {
    RaiseArcError(arc_error::kAddressIndex);
  }
  return items_[index];
}

void TArcDirArray::Delete(std::size_t index) {
  if (index >= count_) {
    RaiseArcError(arc_error::kDeleteIndex);
  }
  std::move(items_.begin() + static_cast<std::ptrdiff_t>(index + 1),
            items_.begin() + static_cast<std::ptrdiff_t>(count_),
            items_.begin() + static_cast<std::ptrdiff_t>(index));
  --count_;
  items_[count_] = TDirItem{};
}

void TArcDirArray::Append(TDirItem item) {
  SetCount(count_ + 1);
  items_[count_ - 1] = std::move(item);
}

}  // namespace archive
