#include "app/text_1252.h"

#include <array>
#include <cstdint>

namespace app {
namespace {

constexpr std::array<char16_t, 32> kHigh1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Returns the byte of `c`, or -1 when the code page has none.
int ByteOf(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
    return c;
  }
  for (std::size_t k = 0; k < kHigh1252.size(); ++k) {
    if (kHigh1252[k] == c) {
      return static_cast<int>(0x80 + k);
    }
  }
  return -1;
}

}  // namespace

QString FromWindows1252(std::string_view text) {
  QString out;
  out.reserve(static_cast<qsizetype>(text.size()));
  for (const char ch : text) {
    const auto byte = static_cast<std::uint8_t>(ch);
    out += QChar(byte >= 0x80 && byte < 0xA0 ? kHigh1252[byte - 0x80] : char16_t{byte});
  }
  return out;
}

std::string ToWindows1252(const QString& text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      ++i;  // one character outside the code page, one "?"
      out += '?';
      continue;
    }
    const int byte = ByteOf(c.unicode());
    out += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return out;
}

bool IsWindows1252(QChar c) {
  return ByteOf(c.unicode()) >= 0;
}

}  // namespace app
