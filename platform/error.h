#pragma once
// The root of every exception the engines raise. Each engine derives its own kind (the
// database error, EArcException, EEncryptException); the root itself is never raised, so a
// handler that catches it knows the text is meant for the operator.

#include <stdexcept>
#include <string>
#include <string_view>

namespace platform {

class EError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;

 protected:
  EError(const EError&) = default;
  EError& operator=(const EError&) = default;
};

// Failures of the host services in this folder (files, locks, conversions) that a caller
// may report as they stand.
class EPlatformError : public EError {
 public:
  explicit EPlatformError(const std::string& message) : EError(message) {}
};

// A message text with its first "%s" replaced by `argument`; a text without one is returned
// as it stands. The engines' message tables hold at most one argument each.
inline std::string FormatMessage(std::string_view pattern, std::string_view argument) {
  std::string text(pattern);
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) {
    text.replace(at, 2, argument);
  }
  return text;
}

}  // namespace platform
