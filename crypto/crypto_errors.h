#pragma once
// The errors of the data-protection library. EEncryptException is the cipher framework's own
// error, with an integer code. The managers' failures (unknown algorithm name, use before an
// algorithm is selected) carry the texts the database shows as its own error: the file reader
// catches EDataProcessError at its gateway and raises its database error with the same text.
// ECompressError is the compression stream layer's failure on damaged compressed data.
// Every text is in the table of crypto_errors.cpp and raised through the helpers below.

#include <string>
#include <string_view>

#include "platform/error.h"

namespace crypto {

// Error codes of EEncryptException. Callers may test them, so the values are frozen.
enum class TEncryptError : int {
  NotInitialized = 3,  // a buffer operation on a cipher that was never keyed
  InvalidMode = 4,     // a mode value outside 0..4
};

class EEncryptException final : public platform::EError {
 public:
  EEncryptException(const std::string& message, int error_code)
      : EError(message), error_code_(error_code) {}
  int ErrorCode() const { return error_code_; }

 private:
  int error_code_;
};

// A failure that the database reports as its own error, with this very text.
class EDataProcessError final : public platform::EError {
 public:
  explicit EDataProcessError(const std::string& message) : EError(message) {}
};

// Compressed data that cannot be decompressed: corrupt, truncated or inconsistent framing.
class ECompressError final : public platform::EError {
 public:
  explicit ECompressError(const std::string& message) : EError(message) {}
};

// "<class_name> is not initialized call Init() or InitKey() before." (code 3).
[[noreturn]] void RaiseNotInitialized(std::string_view class_name);
// "Invalid cipher mode <mode>" (code 4).
[[noreturn]] void RaiseInvalidMode(int mode);
// "Compression algorithm module '<name>' not found".
[[noreturn]] void RaiseCompressAlgoNotFound(std::string_view name);
// "Encryption algorithm module '<name>' not found".
[[noreturn]] void RaiseEncryptAlgoNotFound(std::string_view name);
// "General error": a manager used before an algorithm was selected.
[[noreturn]] void RaiseGeneralError();
// A compressed stream that cannot be restored; `detail` says what is wrong with it.
[[noreturn]] void RaiseCompressError(std::string_view detail);

}  // namespace crypto
