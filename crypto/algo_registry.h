#pragma once
// The two process-wide algorithm registries, compression and encryption: lists of (name,
// algorithm class) in registration order. They start with the program's own algorithms,
// "ZLIB" for compression and "Blowfish", "Twofish", "Gost" for encryption, which database
// files name in their header. Registration is meant for start-up; nothing here is locked.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "crypto/data_process_algo.h"
#include "crypto/encrypt_algo.h"

namespace crypto {

// An algorithm class: its name (its identity in a registry) and how to create an object of it.
struct TCompressAlgoClass {
  std::string_view class_name;
  std::unique_ptr<TCompressAlgo> (*create)();
};

struct TEncryptAlgoClass {
  std::string_view class_name;
  std::unique_ptr<TEncryptAlgo> (*create)();
};

// The classes of the program's own algorithms.
const TCompressAlgoClass& CompAlgoZlibClass();
const TEncryptAlgoClass& EncAlgoBlowfishClass();
const TEncryptAlgoClass& EncAlgoTwofishClass();
const TEncryptAlgoClass& EncAlgoGostClass();

// When `algo_class` is in the registry already, its entry takes the new name; otherwise
// (name, class) is appended.
void RegisterCompressAlgo(const TCompressAlgoClass& algo_class, std::string name);
void RegisterEncryptAlgo(const TEncryptAlgoClass& algo_class, std::string name);

// The position of `name` in the registry, letter case ignored; nullopt when unregistered.
std::optional<std::size_t> FindCompressAlgo(std::string_view name);
std::optional<std::size_t> FindEncryptAlgo(std::string_view name);

// Entries by position; precondition: index < the registry's size.
std::size_t CompressAlgoCount();
std::size_t EncryptAlgoCount();
const std::string& CompressAlgoName(std::size_t index);
const std::string& EncryptAlgoName(std::size_t index);
const TCompressAlgoClass& CompressAlgoClassAt(std::size_t index);
const TEncryptAlgoClass& EncryptAlgoClassAt(std::size_t index);

}  // namespace crypto
