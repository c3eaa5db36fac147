#include "archive/mask_match.h"

#include <array>
#include <atomic>
#include <string>
#include <vector>

#include "platform/collation.h"

namespace archive {
namespace {

// Letters of Windows-1252: only these compare through the collator, so that punctuation,
// which the collator weighs as almost nothing, never matches other punctuation.
bool IsAnsiLetter(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
    return true;
  }
  switch (c) {
    case 0x8A:
    case 0x8C:
    case 0x8E:
    case 0x9A:
    case 0x9C:
    case 0x9E:
    case 0x9F:
      return true;
    default:
      return c >= 0xC0 && c != 0xD7 && c != 0xF7;
  }
}

// The collator's answer for a pair of letters, asked once per pair: 0 unknown, 1 same, 2 not.
std::atomic<std::uint8_t> g_same_letter[256][256];

class TMatcher {
 public:
  TMatcher(std::string_view name, std::string_view mask)
      : name_(name), mask_(mask), memo_((name.size() + 1) * (mask.size() + 1), 0) {}

  bool Match(std::size_t n, std::size_t m) {
    std::uint8_t& known = memo_[n * (mask_.size() + 1) + m];
    if (known != 0) {
      return known == 1;
    }
    const bool result = Compute(n, m);
    known = result ? 1 : 2;
    return result;
  }

 private:
  bool Compute(std::size_t n, std::size_t m) {
    while (true) {
      const std::string_view rest_mask = mask_.substr(m);
      if (rest_mask == "*") {
        return true;
      }
      if (n == name_.size()) {
        return m == mask_.size();
      }
      if (m == mask_.size()) {
        return false;
      }
      if (mask_[m] == '*') {
        // The rest of the mask against the rest of the name from each of its positions; the
        // empty rest of the name is not tried.
        for (std::size_t start = n; start < name_.size(); ++start) {
          if (Match(start, m + 1)) {
            return true;
          }
        }
        return false;
      }
      if (mask_[m] != '?' && !SameMaskChar(mask_[m], name_[n])) {
        return false;
      }
      ++n;
      ++m;
    }
  }

  std::string_view name_;
  std::string_view mask_;
  std::vector<std::uint8_t> memo_;  // per (name position, mask position): 0 unknown, 1, 2
};

}  // namespace

bool SameMaskChar(char a, char b) {
  if (a == b) {
    return true;
  }
  const auto ua = static_cast<unsigned char>(a);
  const auto ub = static_cast<unsigned char>(b);
  if (!IsAnsiLetter(ua) || !IsAnsiLetter(ub)) {
    return false;
  }
  std::atomic<std::uint8_t>& known = g_same_letter[ua][ub];
  std::uint8_t answer = known.load(std::memory_order_relaxed);
  if (answer == 0) {
    answer = platform::AnsiSameText(std::string_view(&a, 1), std::string_view(&b, 1)) ? 1 : 2;
    known.store(answer, std::memory_order_relaxed);
  }
  return answer == 1;
}

bool WildcardMatch(std::string_view name, std::string_view mask) {
  if (mask == "*.*") {
    return true;
  }
  TMatcher matcher(name, mask);
  return matcher.Match(0, 0);
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  std::string m(mask);
  if (const std::size_t star = m.find("*.*"); star != std::string::npos) {
    m = m.substr(0, star) + "*" + m.substr(star + 3);
  }
  const bool dot_mask = !m.empty() && m.back() == '.';
  if (dot_mask) {
    m.pop_back();
  }
  std::string_view n = name;
  if (!n.empty() && n.back() == '.') {
    n.remove_suffix(1);
  }
  if (!WildcardMatch(n, m)) {
    return false;
  }
  if (dot_mask) {
    const std::size_t last_separator = name.find_last_of("\\/");
    const std::size_t last_dot = name.find_last_of('.');
    const bool has_extension =
        last_dot != std::string_view::npos &&
        (last_separator == std::string_view::npos || last_dot > last_separator);
    return !has_extension || last_dot == name.size() - 1;
  }
  return true;
}

}  // namespace archive
