#include "database/storage/stored_defs.h"

#include "platform/collation.h"

namespace database::storage {
namespace {

template <class TItem>
std::int32_t FindByName(const TStoredDefCollection<TItem>& defs, std::string_view name) {
  for (std::size_t i = 0; i < defs.Count(); ++i) {
    if (platform::AnsiSameText(defs[i].Name(), name)) {
      return static_cast<std::int32_t>(i);
    }
  }
  return -1;
}

}  // namespace

std::int32_t FindDefByName(const TStoredFieldDefs& defs, std::string_view name) {
  return FindByName(defs, name);
}
std::int32_t FindDefByName(const TStoredIndexDefs& defs, std::string_view name) {
  return FindByName(defs, name);
}
std::int32_t FindDefByName(const TTableDefs& defs, std::string_view name) {
  return FindByName(defs, name);
}

}  // namespace database::storage
