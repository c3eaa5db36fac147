#include "platform/code_page.h"

#include <memory>
#include <mutex>
#include <vector>

#include <unicode/ucnv.h>

#include "platform/error.h"

namespace platform {
namespace {

struct TConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using TConverterPtr = std::unique_ptr<UConverter, TConverterCloser>;

TConverterPtr OpenConverter(const char* name) {
  UErrorCode status = U_ZERO_ERROR;
  TConverterPtr converter(ucnv_open(name, &status));
  if (U_FAILURE(status)) {
    throw EPlatformError(std::string("Code page converter not available: ") + name);
  }
  // Unmappable characters become '?', the single-byte substitute Windows uses.
  status = U_ZERO_ERROR;
  ucnv_setSubstChars(converter.get(), "?", 1, &status);
  return converter;
}

// ucnv_convert between two named code pages; converters are not shared between threads, so
// each call opens its own pair (cheap next to the file work around every call).
std::string Convert(const char* to, const char* from, std::string_view text) {
  if (text.empty()) {
    return {};
  }
  TConverterPtr source = OpenConverter(from);
  TConverterPtr target = OpenConverter(to);
  std::string out(text.size() * 4 + 16, '\0');
  char* out_ptr = out.data();
  const char* in_ptr = text.data();
  UErrorCode status = U_ZERO_ERROR;
  ucnv_convertEx(target.get(), source.get(), &out_ptr, out.data() + out.size(), &in_ptr,
                 text.data() + text.size(), nullptr, nullptr, nullptr, nullptr, true, true,
                 &status);
  if (U_FAILURE(status)) {
    throw EPlatformError("Text conversion failed");
  }
  out.resize(static_cast<std::size_t>(out_ptr - out.data()));
  return out;
}

}  // namespace

std::string OemToAnsi(std::string_view oem) { return Convert("windows-1252", "ibm-850", oem); }

std::string AnsiToUtf8(std::string_view ansi) { return Convert("UTF-8", "windows-1252", ansi); }

std::string Utf8ToAnsi(std::string_view utf8) { return Convert("windows-1252", "UTF-8", utf8); }

}  // namespace platform
