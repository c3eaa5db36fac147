#include "crypto/crypto_errors.h"

#include <string>

#include "platform/error.h"

namespace crypto {

namespace {

// Texts shown to the operator; the database compares none of them, but users may know them.
constexpr std::string_view kNotInitializedText =
    " is not initialized call Init() or InitKey() before.";
constexpr std::string_view kInvalidModeText = "Invalid cipher mode ";
constexpr std::string_view kCompressNotFoundText = "Compression algorithm module '%s' not found";
constexpr std::string_view kEncryptNotFoundText = "Encryption algorithm module '%s' not found";
constexpr std::string_view kGeneralErrorText = "General error";
constexpr std::string_view kCompressErrorText = "Compressed data error: ";

}  // namespace

void RaiseNotInitialized(std::string_view class_name) {
  throw EEncryptException(std::string(class_name) + std::string(kNotInitializedText),
                          static_cast<int>(TEncryptError::NotInitialized));
}

void RaiseInvalidMode(int mode) {
  throw EEncryptException(std::string(kInvalidModeText) + std::to_string(mode),
                          static_cast<int>(TEncryptError::InvalidMode));
}

void RaiseCompressAlgoNotFound(std::string_view name) {
  throw EDataProcessError(platform::FormatMessage(kCompressNotFoundText, name));
}

void RaiseEncryptAlgoNotFound(std::string_view name) {
  throw EDataProcessError(platform::FormatMessage(kEncryptNotFoundText, name));
}

void RaiseGeneralError() {
  throw EDataProcessError(std::string(kGeneralErrorText));
}

void RaiseCompressError(std::string_view detail) {
  throw ECompressError(std::string(kCompressErrorText) + std::string(detail));
}

}  // namespace crypto
