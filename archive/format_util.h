#pragma once
// Length checks shared by the ZIP record codecs: a record decodes only from a span that holds
// all of it, and a short span is a damaged archive, never a read past the buffer.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/error.h"

namespace archive {

using TBytes = std::span<const std::uint8_t>;

// Raised when a record is decoded from fewer bytes than it occupies.
class EShortRecord : public platform::EPlatformError {
 public:
  EShortRecord() : EPlatformError("Stream read error") {}
};

inline void RequireLength(TBytes bytes, std::size_t size) {
  if (bytes.size() < size) {
    throw EShortRecord();
  }
}

}  // namespace archive
