#pragma once
// The archive component's error: EArcException carries the code it was raised with
// (NativeError) and the number of its message in the message table (ErrorCode). Every error
// the component detects itself goes through RaiseArcError, which applies the one message
// format: optional "<Name>: ", the message, " - Native error: " and the code in five digits.

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/error.h"

namespace archive {

// Codes raised by the reading side; the numbers are part of the messages the operator sees.
namespace arc_error {
constexpr int kStoreIndex = 1;
constexpr int kCopyIndex = 2;
constexpr int kAddressIndex = 3;
constexpr int kDeleteIndex = 4;
constexpr int kInvalidCompressionMode = 5;
constexpr int kEntryFailed = 8;
constexpr int kBlankFileName = 9;
constexpr int kBlankFileNameForMode = 10;
constexpr int kFileNotFound = 12;
constexpr int kNotOpen = 13;
constexpr int kEntryIndex = 16;
constexpr int kCannotCreateFile = 19;
constexpr int kCannotCreateDirectory = 20;
constexpr int kUpdatePending = 26;
constexpr int kInMemoryCreateOnly = 28;
constexpr int kMemoryArchiveNoFileName = 29;
constexpr int kInvalidArchive = 35;
constexpr int kZip64EndRecordMissing = 40;
constexpr int kMultiVolumeWithoutEndRecord = 44;
constexpr int kArchiveDamaged = 48;
constexpr int kDeflate64 = 55;
// An entry whose name is absolute or climbs above the destination folder.
constexpr int kOutsideDestination = 61;
}  // namespace arc_error

class EArcException : public platform::EError {
 public:
  // Builds the full text: the message of `native_error` formatted with `args` (each "%s" or
  // "%d" takes the next argument, as text), prefixed with "<component_name>: " when the name
  // is not empty, followed by the native error in five digits.
  EArcException(int native_error, std::initializer_list<std::string_view> args,
                std::string_view component_name);

  int NativeError() const { return native_error_; }
  int ErrorCode() const { return error_code_; }

 private:
  int native_error_;
  int error_code_;
};

// The message number of a code; 0 ("Unknown error") for a code outside the table.
int ArcErrorCodeOf(int native_error);
// The unformatted message of a message number; empty for a number outside the table.
std::string_view ArcMessageText(int error_code);

// Raises EArcException. `component_name` is the raising component's Name, or empty for the
// errors raised without a reference to the component.
[[noreturn]] void RaiseArcError(int native_error, std::string_view component_name = {});
[[noreturn]] void RaiseArcError(int native_error, std::initializer_list<std::string_view> args,
                                std::string_view component_name = {});

// The plain error of a setting that cannot change while an archive is open.
class EArcSettingError : public platform::EError {
 public:
  explicit EArcSettingError(const std::string& message) : EError(message) {}
};

}  // namespace archive
