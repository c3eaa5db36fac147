#include "archive/arc_exception.h"

#include <array>
#include <cstdio>

namespace archive {
namespace {

// Message texts by message number. Operators and support staff read these texts; they are
// fixed, typos included.
constexpr std::array<std::string_view, 35> kMessages = {
    "Unknown error",
    "Index out of bounds",
    "Invalid compression mode. Mode must be in [0-9] range",
    "Unexpected nil pointer",
    "Invalid size or check sum of file or unsupported compression format",
    "File name is blank. Specify appropriate file name",
    "File \"%s\" not found",
    "Archive is not open",
    "SFXStub property is not specified",
    "Cannot create file \"%s\"",
    "Cannot create directory \"%s\"",
    "Internal error. Update is not started",
    "Cannot open file \"%s\"",
    "Cannot proceed when update is not ended. Preceding EndUpdate call is required.",
    "Cannot delete file \"%s\"",
    "In-memory archive can be created only",
    "File is open in read-only mode",
    "Invalid compressed size, rfs.size = %d, count = %d",
    "Invalid archive file.",
    "Cannot create output file. Probably file is locked by another process. FileName = '%s'.",
    "Archive is open. You should close it beore performing this operation.",
    "Unable to create directory",
    "Cannot find Zip64 directory end record",
    "Cannot compress file '%s'. Zip64 mode is not enabled",
    "Cannot open archive file. Opening aborted or invalid file",
    "Write to stream error",
    "Cannot place SFX stub on volume. Volume size limit is too small",
    "Archive is damaged. Open failed",
    "MakeSFX is not allowed for splitted or spanned archives. Set SFXStub before archive "
    "creation instead of MakeSFX",
    "Archive already has SFX stub",
    "Multi-volume archive is not allowed for custom stream",
    "Multi-spanned archive is not allowed for modification. Use BeginUpdate/EndUpdate methods "
    "to add files several times",
    "Deflate64 compression method is not supported",
    "MakeSFX error",
    "Entry \"%s\" would be written outside the destination folder",
};

// Message number of each code 0..61. Codes 57 to 60 have an empty message (-1 here).
constexpr int kEmptyMessage = -1;
constexpr std::array<int, 62> kCodeTable = {
    0,
    1,
    1,
    1,
    1,
    2,
    3,
    1,
    4,
    5,  // 0-9
    5,
    6,
    6,
    7,
    7,
    6,
    1,
    8,
    6,
    9,  // 10-19
    10,
    1,
    11,
    9,
    1,
    11,
    13,
    14,
    15,
    5,  // 20-29
    6,
    6,
    16,
    12,
    17,
    18,
    19,
    20,
    6,
    21,  // 30-39
    22,
    23,
    6,
    23,
    24,
    24,
    25,
    26,
    27,
    28,  // 40-49
    29,
    30,
    31,
    6,
    6,
    32,
    33,
    kEmptyMessage,  // 50-57
    kEmptyMessage,
    kEmptyMessage,
    kEmptyMessage,
    34,  // 58-61
};

std::string Format(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string text;
  auto next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() &&
        (pattern[i + 1] == 's' || pattern[i + 1] == 'd')) {
      if (next != args.end()) {
        text += *next++;
      }
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

std::string ComposeMessage(int native_error, std::initializer_list<std::string_view> args,
                           std::string_view component_name) {
  std::string text = Format(ArcMessageText(ArcErrorCodeOf(native_error)), args);
  if (!component_name.empty()) {
    text = std::string(component_name) + ": " + text;
  }
  char code[16];
  std::snprintf(code, sizeof code, "%5d", native_error);
  for (char* c = code; *c != '\0'; ++c) {
    if (*c == ' ') {
      *c = '0';
    }
  }
  return text + " - Native error: " + code;
}

}  // namespace

int ArcErrorCodeOf(int native_error) {
  if (native_error < 0 || static_cast<std::size_t>(native_error) >= kCodeTable.size()) {
    return 0;
  }
  return kCodeTable[static_cast<std::size_t>(native_error)];
}

std::string_view ArcMessageText(int error_code) {
  if (error_code < 0 || static_cast<std::size_t>(error_code) >= kMessages.size()) {
    return {};
  }
  return kMessages[static_cast<std::size_t>(error_code)];
}

EArcException::EArcException(int native_error, std::initializer_list<std::string_view> args,
                             std::string_view component_name)
    : EError(ComposeMessage(native_error, args, component_name)),
      native_error_(native_error),
      error_code_(ArcErrorCodeOf(native_error)) {}

void RaiseArcError(int native_error, std::string_view component_name) {
  throw EArcException(native_error, {}, component_name);
}

void RaiseArcError(int native_error, std::initializer_list<std::string_view> args,
                   std::string_view component_name) {
  throw EArcException(native_error, args, component_name);
}

}  // namespace archive
