#pragma once
// The in-memory definitions of a table: its fields (name, type code, declared size,
// processing mode) and its indexes (name, options, key field numbers), each kept in an
// ordered collection with lookup by name; and the list of a database's tables. The table
// reader fills them when it opens a table and clears them when it closes; nothing changes
// them in between.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace database::storage {

// Bit numbers of the index options, as stored in an index entry (frozen).
enum TIndexOption : std::uint8_t {
  tiPrimary = 0,
  tiUnique = 1,
  tiDescending = 2,
  tiCaseInsensitive = 3,
};

// A set of TIndexOption, held as the stored bit set.
struct TIndexOptions {
  std::uint8_t bits = 0;

  bool Contains(TIndexOption option) const { return (bits >> option) & 1U; }
  TIndexOptions& Include(TIndexOption option) {
    bits = static_cast<std::uint8_t>(bits | (1U << option));
    return *this;
  }
};

class TStoredFieldDef final {
 public:
  TStoredFieldDef() = default;
  TStoredFieldDef(std::string name, std::uint8_t field_type, std::int32_t size,
                  std::uint8_t process_mode)
      : name_(std::move(name)), field_type_(field_type), size_(size), process_mode_(process_mode) {}

  const std::string& Name() const { return name_; }
  std::uint8_t FieldType() const { return field_type_; }
  std::int32_t Size() const { return size_; }  // declared size: the text types' character count
  // 0: the field's data follow the database's encryption and compression; any other value:
  // stored as they are.
  std::uint8_t ProcessMode() const { return process_mode_; }

 private:
  std::string name_;
  std::uint8_t field_type_ = 0;
  std::int32_t size_ = 0;
  std::uint8_t process_mode_ = 0;
};

class TStoredIndexDef final {
 public:
  TStoredIndexDef() = default;
  TStoredIndexDef(std::string name, TIndexOptions options, std::vector<std::int32_t> fields)
      : name_(std::move(name)), options_(options), fields_(std::move(fields)) {}

  const std::string& Name() const { return name_; }
  TIndexOptions Options() const { return options_; }
  void SetOptions(TIndexOptions options) { options_ = options; }
  // Key field numbers in key order, at most 8.
  const std::vector<std::int32_t>& Fields() const { return fields_; }

 private:
  std::string name_;
  TIndexOptions options_;
  std::vector<std::int32_t> fields_;
};

// An ordered collection of named definitions.
template <class TItem>
class TStoredDefCollection {
 public:
  std::size_t Count() const { return items_.size(); }
  const TItem& operator[](std::size_t i) const { return items_[i]; }
  const TItem& Item(std::size_t i) const { return items_.at(i); }
  void Add(TItem item) { items_.push_back(std::move(item)); }
  void Clear() { items_.clear(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<TItem> items_;
};

using TStoredFieldDefs = TStoredDefCollection<TStoredFieldDef>;
using TStoredIndexDefs = TStoredDefCollection<TStoredIndexDef>;

// A table of an open database: its name and its table number.
struct TTableDef {
  std::string name;
  std::int32_t table_no = -1;
  const std::string& Name() const { return name; }
};
using TTableDefs = TStoredDefCollection<TTableDef>;

// The position of the first definition whose name equals `name` without regard to letter case
// (the system's locale-aware comparison), or -1.
std::int32_t FindDefByName(const TStoredFieldDefs& defs, std::string_view name);
std::int32_t FindDefByName(const TStoredIndexDefs& defs, std::string_view name);
std::int32_t FindDefByName(const TTableDefs& defs, std::string_view name);

}  // namespace database::storage
