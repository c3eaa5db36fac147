#include "crypto/algo_registry.h"

#include <vector>

#include "crypto/comp_algo_zlib.h"

namespace crypto {

namespace {

template <class TClass>
struct TEntry {
  std::string name;
  TClass algo_class;
};

template <class TClass>
using TRegistry = std::vector<TEntry<TClass>>;

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto la = static_cast<unsigned char>(a[i] >= 'A' && a[i] <= 'Z' ? a[i] + 32 : a[i]);
    const auto lb = static_cast<unsigned char>(b[i] >= 'A' && b[i] <= 'Z' ? b[i] + 32 : b[i]);
    if (la != lb) {
      return false;
    }
  }
  return true;
}

template <class TClass>
void Register(TRegistry<TClass>& registry, const TClass& algo_class, std::string name) {
  for (auto& entry : registry) {
    if (entry.algo_class.class_name == algo_class.class_name) {
      entry.name = std::move(name);
      return;
    }
  }
  registry.push_back({std::move(name), algo_class});
}

template <class TClass>
std::optional<std::size_t> Find(const TRegistry<TClass>& registry, std::string_view name) {
  for (std::size_t i = 0; i < registry.size(); ++i) {
    if (SameTextIgnoringCase(registry[i].name, name)) {
      return i;
    }
  }
  return std::nullopt;
}

template <class TAlgo, class TBase>
std::unique_ptr<TBase> Create() {
  return std::make_unique<TAlgo>();
}

// Built on first use with the program's own algorithms, in their registration order.
TRegistry<TCompressAlgoClass>& CompressRegistry() {
  static TRegistry<TCompressAlgoClass> registry{{"ZLIB", CompAlgoZlibClass()}};
  return registry;
}

TRegistry<TEncryptAlgoClass>& EncryptRegistry() {
  static TRegistry<TEncryptAlgoClass> registry{{"Blowfish", EncAlgoBlowfishClass()},
                                               {"Twofish", EncAlgoTwofishClass()},
                                               {"Gost", EncAlgoGostClass()}};
  return registry;
}

}  // namespace

const TCompressAlgoClass& CompAlgoZlibClass() {
  static const TCompressAlgoClass kClass{"TCompAlgo_Zlib", &Create<TCompAlgo_Zlib, TCompressAlgo>};
  return kClass;
}

const TEncryptAlgoClass& EncAlgoBlowfishClass() {
  static const TEncryptAlgoClass kClass{"TEncAlgo_Blowfish",
                                        &Create<TEncAlgo_Blowfish, TEncryptAlgo>};
  return kClass;
}

const TEncryptAlgoClass& EncAlgoTwofishClass() {
  static const TEncryptAlgoClass kClass{"TEncAlgo_Twofish",
                                        &Create<TEncAlgo_Twofish, TEncryptAlgo>};
  return kClass;
}

const TEncryptAlgoClass& EncAlgoGostClass() {
  static const TEncryptAlgoClass kClass{"TEncAlgo_Gost", &Create<TEncAlgo_Gost, TEncryptAlgo>};
  return kClass;
}

void RegisterCompressAlgo(const TCompressAlgoClass& algo_class, std::string name) {
  Register(CompressRegistry(), algo_class, std::move(name));
}

void RegisterEncryptAlgo(const TEncryptAlgoClass& algo_class, std::string name) {
  Register(EncryptRegistry(), algo_class, std::move(name));
}

std::optional<std::size_t> FindCompressAlgo(std::string_view name) {
  return Find(CompressRegistry(), name);
}

std::optional<std::size_t> FindEncryptAlgo(std::string_view name) {
  return Find(EncryptRegistry(), name);
}

std::size_t CompressAlgoCount() {
  return CompressRegistry().size();
}
std::size_t EncryptAlgoCount() {
  return EncryptRegistry().size();
}
const std::string& CompressAlgoName(std::size_t index) {
  return CompressRegistry()[index].name;
}
const std::string& EncryptAlgoName(std::size_t index) {
  return EncryptRegistry()[index].name;
}
const TCompressAlgoClass& CompressAlgoClassAt(std::size_t index) {
  return CompressRegistry()[index].algo_class;
}
const TEncryptAlgoClass& EncryptAlgoClassAt(std::size_t index) {
  return EncryptRegistry()[index].algo_class;
}

}  // namespace crypto
