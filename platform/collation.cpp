#include "platform/collation.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>

#include "platform/error.h"

namespace platform {
namespace {

// Windows-1252 to UTF-16: Latin-1 except 0x80-0x9F.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

// Converts into `out`, which holds at least ansi.size() code units.
void ToUtf16(std::string_view ansi, char16_t* out) {
  for (const char c : ansi) {
    const auto byte = static_cast<unsigned char>(c);
    *out++ = byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : static_cast<char16_t>(byte);
  }
}

// The UTF-16 form of a text, on the stack for the short texts that keys and names are.
class TUtf16Text final {
 public:
  explicit TUtf16Text(std::string_view ansi) : size_(ansi.size()) {
    char16_t* out = local_;
    if (ansi.size() > kLocalSize) {
      heap_.resize(ansi.size());
      out = heap_.data();
    }
    ToUtf16(ansi, out);
    data_ = out;
  }
  TUtf16Text(const TUtf16Text&) = delete;
  TUtf16Text& operator=(const TUtf16Text&) = delete;
  const UChar* Data() const { return reinterpret_cast<const UChar*>(data_); }
  int32_t Size() const { return static_cast<int32_t>(size_); }

 private:
  static constexpr std::size_t kLocalSize = 128;
  char16_t local_[kLocalSize];
  std::u16string heap_;
  const char16_t* data_ = nullptr;
  std::size_t size_;
};

std::string UserCollationLocale() {
  for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') {
      std::string locale(value);
      locale = locale.substr(0, locale.find_first_of(".@"));
      if (locale == "C" || locale == "POSIX") {
        return "";
      }
      return locale;
    }
  }
  return "";
}

struct TCollatorCloser {
  void operator()(UCollator* collator) const { ucol_close(collator); }
};

class TCollators {
 public:
  TCollators() {
    const std::string locale = UserCollationLocale();
    case_sensitive_ = Open(locale, UCOL_TERTIARY);
    case_insensitive_ = Open(locale, UCOL_SECONDARY);
  }

  int Compare(std::string_view a, std::string_view b, bool ignore_case) {
    const TUtf16Text ua(a);
    const TUtf16Text ub(b);
    // A collator is not safe for concurrent use of one object.
    std::lock_guard lock(mutex_);
    UCollator* collator = ignore_case ? case_insensitive_.get() : case_sensitive_.get();
    const UCollationResult result =
        ucol_strcoll(collator, ua.Data(), ua.Size(), ub.Data(), ub.Size());
    return result == UCOL_LESS ? -1 : (result == UCOL_GREATER ? 1 : 0);
  }

 private:
  static std::unique_ptr<UCollator, TCollatorCloser> Open(const std::string& locale,
                                                          UColAttributeValue strength) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCollator, TCollatorCloser> collator(ucol_open(locale.c_str(), &status));
    if (U_FAILURE(status)) {
      status = U_ZERO_ERROR;
      collator.reset(ucol_open("", &status));
    }
    if (U_FAILURE(status)) {
      throw EPlatformError("No collator available for text comparison");
    }
    ucol_setAttribute(collator.get(), UCOL_ALTERNATE_HANDLING, UCOL_SHIFTED, &status);
    ucol_setAttribute(collator.get(), UCOL_STRENGTH, strength, &status);
    return collator;
  }

  std::mutex mutex_;
  std::unique_ptr<UCollator, TCollatorCloser> case_sensitive_;
  std::unique_ptr<UCollator, TCollatorCloser> case_insensitive_;
};

TCollators& Collators() {
  static TCollators collators;
  return collators;
}

}  // namespace

int AnsiCompareText(std::string_view a, std::string_view b, bool ignore_case) {
  return Collators().Compare(a, b, ignore_case);
}

}  // namespace platform
