#pragma once
// A small JSON reader and writer for the command-line tool's schemas and record lines: null,
// Booleans, numbers, strings (UTF-8), arrays and objects that keep their keys in order.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/error.h"

namespace database::storage {

// Raised for text that is not JSON; the message says where.
class EJsonError final : public platform::EError {
 public:
  explicit EJsonError(const std::string& message) : EError(message) {}
};

class TJsonValue final {
 public:
  enum class TKind { Null, Boolean, Number, String, Array, Object };
  using TMembers = std::vector<std::pair<std::string, TJsonValue>>;

  TJsonValue() = default;
  static TJsonValue Boolean(bool value);
  // Integers up to 2^53 stay exact; `text` keeps the number as written for exact parsing.
  static TJsonValue Number(double value, std::string text = {});
  static TJsonValue String(std::string value);
  static TJsonValue Array(std::vector<TJsonValue> items = {});
  static TJsonValue Object(TMembers members = {});

  TKind Kind() const { return kind_; }
  bool IsNull() const { return kind_ == TKind::Null; }
  bool AsBoolean() const;  // raise EJsonError on another kind
  double AsNumber() const;
  // The number as an integer; raises unless it is one within int64.
  std::int64_t AsInteger() const;
  const std::string& AsString() const;
  const std::vector<TJsonValue>& Items() const;
  const TMembers& Members() const;
  // The member named `key`, or null when absent (objects only).
  const TJsonValue* Find(std::string_view key) const;

  void Add(TJsonValue item);                    // arrays
  void Set(std::string key, TJsonValue value);  // objects: appended in order

  // Compact JSON text on one line.
  std::string Write() const;

 private:
  TKind kind_ = TKind::Null;
  bool boolean_ = false;
  double number_ = 0;
  std::string text_;  // a string's value, or a number as written
  std::vector<TJsonValue> items_;
  TMembers members_;
};

// Parses one JSON value filling the whole text (blanks around it allowed).
TJsonValue ParseJson(std::string_view text);

}  // namespace database::storage
