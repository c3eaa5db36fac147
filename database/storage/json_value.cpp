#include "database/storage/json_value.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace database::storage {
namespace {

class TParser {
 public:
  explicit TParser(std::string_view text) : text_(text) {}

  TJsonValue ParseDocument() {
    TJsonValue value = ParseValue(0);
    SkipBlanks();
    if (at_ != text_.size()) {
      Fail("unexpected text after the value");
    }
    return value;
  }

 private:
  static constexpr int kMaxDepth = 64;

  [[noreturn]] void Fail(const std::string& what) const {
    throw EJsonError("JSON: " + what + " at character " + std::to_string(at_ + 1));
  }

  void SkipBlanks() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r' || text_[at_] == '\n')) {
      ++at_;
    }
  }

  bool Consume(std::string_view word) {
    if (text_.substr(at_, word.size()) == word) {
      at_ += word.size();
      return true;
    }
    return false;
  }

  TJsonValue ParseValue(int depth) {
    if (depth > kMaxDepth) {
      Fail("nesting too deep");
    }
    SkipBlanks();
    if (at_ >= text_.size()) {
      Fail("value expected");
    }
    const char c = text_[at_];
    if (c == '{') {
      return ParseObject(depth);
    }
    if (c == '[') {
      return ParseArray(depth);
    }
    if (c == '"') {
      return TJsonValue::String(ParseString());
    }
    if (Consume("true")) {
      return TJsonValue::Boolean(true);
    }
    if (Consume("false")) {
      return TJsonValue::Boolean(false);
    }
    if (Consume("null")) {
      return TJsonValue();
    }
    return ParseNumber();
  }

  TJsonValue ParseObject(int depth) {
    ++at_;
    TJsonValue object = TJsonValue::Object();
    SkipBlanks();
    if (Consume("}")) {
      return object;
    }
    for (;;) {
      SkipBlanks();
      if (at_ >= text_.size() || text_[at_] != '"') {
        Fail("member name expected");
      }
      std::string key = ParseString();
      SkipBlanks();
      if (!Consume(":")) {
        Fail("':' expected");
      }
      object.Set(std::move(key), ParseValue(depth + 1));
      SkipBlanks();
      if (Consume("}")) {
        return object;
      }
      if (!Consume(",")) {
        Fail("',' or '}' expected");
      }
    }
  }

  TJsonValue ParseArray(int depth) {
    ++at_;
    TJsonValue array = TJsonValue::Array();
    SkipBlanks();
    if (Consume("]")) {
      return array;
    }
    for (;;) {
      array.Add(ParseValue(depth + 1));
      SkipBlanks();
      if (Consume("]")) {
        return array;
      }
      if (!Consume(",")) {
        Fail("',' or ']' expected");
      }
    }
  }

  unsigned Hex4() {
    if (at_ + 4 > text_.size()) {
      Fail("\\u needs four hexadecimal digits");
    }
    unsigned value = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[at_++];
      value <<= 4;
      if (c >= '0' && c <= '9') {
        value |= static_cast<unsigned>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        value |= static_cast<unsigned>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        value |= static_cast<unsigned>(c - 'A' + 10);
      } else {
        Fail("bad hexadecimal digit");
      }
    }
    return value;
  }

  static void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  std::string ParseString() {
    ++at_;
    std::string out;
    for (;;) {
      if (at_ >= text_.size()) {
        Fail("unterminated string");
      }
      const char c = text_[at_++];
      if (c == '"') {
        return out;
      }
      if (static_cast<unsigned char>(c) < 0x20) {
        Fail("control character in a string");
      }
      if (c != '\\') {
        out += c;
        continue;
      }
      if (at_ >= text_.size()) {
        Fail("unterminated escape");
      }
      const char e = text_[at_++];
      switch (e) {
        case '"':
        case '\\':
        case '/':
          out += e;
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          unsigned code = Hex4();
          if (code >= 0xD800 && code < 0xDC00 && Consume("\\u")) {
            const unsigned low = Hex4();
            if (low < 0xDC00 || low > 0xDFFF) {
              Fail("bad surrogate pair");
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          }
          AppendUtf8(out, code);
          break;
        }
        default:
          Fail("unknown escape");
      }
    }
  }

  TJsonValue ParseNumber() {
    const std::size_t start = at_;
    if (at_ < text_.size() && text_[at_] == '-') {
      ++at_;
    }
    while (at_ < text_.size() &&
           (std::isdigit(static_cast<unsigned char>(text_[at_])) || text_[at_] == '.' ||
            text_[at_] == 'e' || text_[at_] == 'E' || text_[at_] == '+' || text_[at_] == '-')) {
      ++at_;
    }
    const std::string text(text_.substr(start, at_ - start));
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
      at_ = start;
      Fail("value expected");
    }
    return TJsonValue::Number(value, text);
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

void WriteString(std::string& out, const std::string& text) {
  out += '"';
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          out += escape;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

[[noreturn]] void WrongKind(const char* wanted) {
  throw EJsonError(std::string("JSON: ") + wanted + " expected");
}

}  // namespace

TJsonValue TJsonValue::Boolean(bool value) {
  TJsonValue v;
  v.kind_ = TKind::Boolean;
  v.boolean_ = value;
  return v;
}

TJsonValue TJsonValue::Number(double value, std::string text) {
  TJsonValue v;
  v.kind_ = TKind::Number;
  v.number_ = value;
  v.text_ = std::move(text);
  return v;
}

TJsonValue TJsonValue::String(std::string value) {
  TJsonValue v;
  v.kind_ = TKind::String;
  v.text_ = std::move(value);
  return v;
}

TJsonValue TJsonValue::Array(std::vector<TJsonValue> items) {
  TJsonValue v;
  v.kind_ = TKind::Array;
  v.items_ = std::move(items);
  return v;
}

TJsonValue TJsonValue::Object(TMembers members) {
  TJsonValue v;
  v.kind_ = TKind::Object;
  v.members_ = std::move(members);
  return v;
}

bool TJsonValue::AsBoolean() const {
  if (kind_ != TKind::Boolean) {
    WrongKind("true or false");
  }
  return boolean_;
}

double TJsonValue::AsNumber() const {
  if (kind_ != TKind::Number) {
    WrongKind("a number");
  }
  return number_;
}

std::int64_t TJsonValue::AsInteger() const {
  if (kind_ != TKind::Number) {
    WrongKind("an integer");
  }
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text_.data(), text_.data() + text_.size(), value);
  if (!text_.empty() && error == std::errc() && end == text_.data() + text_.size()) {
    return value;
  }
  if (std::trunc(number_) != number_ || std::fabs(number_) > 9.2e18) {
    WrongKind("an integer");
  }
  return static_cast<std::int64_t>(number_);
}

const std::string& TJsonValue::AsString() const {
  if (kind_ != TKind::String) {
    WrongKind("a string");
  }
  return text_;
}

const std::vector<TJsonValue>& TJsonValue::Items() const {
  if (kind_ != TKind::Array) {
    WrongKind("an array");
  }
  return items_;
}

const TJsonValue::TMembers& TJsonValue::Members() const {
  if (kind_ != TKind::Object) {
    WrongKind("an object");
  }
  return members_;
}

const TJsonValue* TJsonValue::Find(std::string_view key) const {
  for (const auto& [name, value] : Members()) {
    if (name == key) {
      return &value;
    }
  }
  return nullptr;
}

void TJsonValue::Add(TJsonValue item) {
  items_.push_back(std::move(item));
}

void TJsonValue::Set(std::string key, TJsonValue value) {
  members_.emplace_back(std::move(key), std::move(value));
}

std::string TJsonValue::Write() const {
  std::string out;
  switch (kind_) {
    case TKind::Null:
      return "null";
    case TKind::Boolean:
      return boolean_ ? "true" : "false";
    case TKind::Number: {
      if (!text_.empty()) {
        return text_;
      }
      if (!std::isfinite(number_)) {
        return "null";
      }
      char text[40];
      const auto result = std::to_chars(text, text + sizeof text, number_);
      return std::string(text, result.ptr);
    }
    case TKind::String:
      WriteString(out, text_);
      return out;
    case TKind::Array:
      out += '[';
      for (std::size_t i = 0; i < items_.size(); ++i) {
        out += i > 0 ? "," : "";
        out += items_[i].Write();
      }
      out += ']';
      return out;
    case TKind::Object:
      out += '{';
      for (std::size_t i = 0; i < members_.size(); ++i) {
        out += i > 0 ? "," : "";
        WriteString(out, members_[i].first);
        out += ':';
        out += members_[i].second.Write();
      }
      out += '}';
      return out;
  }
  return out;
}

TJsonValue ParseJson(std::string_view text) {
  return TParser(text).ParseDocument();
}

}  // namespace database::storage
