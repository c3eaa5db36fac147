#pragma once
// The in-memory archive directory: one TDirItem per central directory entry, in directory
// order, held by TArcDirArray with the component's growth rule. The directory manager fills
// it at open time; the decoder and the extraction read it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "archive/central_header_format.h"

namespace archive {

// What an operation does with an entry; passed to the progress events. Ordinals are the
// component's event contract.
enum class TArcProcessOperation : std::uint8_t {
  poAdd = 0,
  poMove = 1,
  poDelete = 2,
  poUpdate = 3,
  poExtract = 4,
  poTest = 5,
  poRename = 6,
  poChangeAttr = 7,
  poChangeComment = 8,
  poMakeSFX = 9,
};

struct TDirItem {
  TCentralHeader CentralHeader;          // as stored, but for the offset correction
  std::string Name;                      // ANSI, "/" separators
  std::string Comment;                   // bytes as stored
  std::vector<TExtraBlock> ExtraBlocks;  // every block, the Zip64 one included
  bool HasZip64Extra = false;
  std::uint64_t UncompressedSize64 = 0;   // used where the 32-bit size is 0xFFFFFFFF
  std::uint64_t CompressedSize64 = 0;     // used where the 32-bit size is 0xFFFFFFFF
  std::uint64_t LocalHeaderOffset64 = 0;  // used where the 32-bit offset is 0xFFFFFFFF
  std::uint32_t DiskStart64 = 0;
  // Writing side only: an entry being added, with its password and source.
  bool IsNew = false;
  std::string NewPassword;
  std::string SourceFileName;
  std::uint8_t CompressionModeOfNew = 0;
  bool Selected = false;  // marked for the running operation
  TArcProcessOperation Operation = TArcProcessOperation::poAdd;

  // The effective sizes and offset: the Zip64 value where the 32-bit field is the marker.
  std::uint64_t UncompressedSize() const;
  std::uint64_t CompressedSize() const;
  std::uint64_t LocalHeaderOffset() const;
  bool IsDirectory() const;  // directory attribute bit or a name ending in "/"
};

// A counted array of entries with a capacity that grows in steps: the step (500 at creation)
// doubles on each growth, up to 10000. Index errors raise EArcException 1 to 4 ("Index out of
// bounds"), without a component name.
class TArcDirArray final {
 public:
  std::size_t Count() const { return count_; }
  std::size_t Capacity() const { return items_.size(); }
  // Growing clears the new slots; 0 releases every entry and the storage.
  void SetCount(std::size_t count);

  void Put(std::size_t index, const TDirItem& item);  // error 1
  TDirItem Get(std::size_t index) const;              // error 2
  TDirItem& At(std::size_t index);                    // error 3
  const TDirItem& At(std::size_t index) const;        // error 3
  void Delete(std::size_t index);                     // error 4
  void Append(TDirItem item);

 private:
  std::vector<TDirItem> items_;  // size() is the capacity
  std::size_t count_ = 0;
  std::size_t step_ = 500;
};

}  // namespace archive
