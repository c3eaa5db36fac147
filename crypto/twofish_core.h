#pragma once
// The Twofish block transform with the round count and subkey rules as parameters. The
// registered cipher TEnc_Twofish runs it in the variant that stored databases require; the
// standard configuration exists so that the shared tables, key schedule and round function
// can be checked against the published cipher.

#include <array>
#include <cstddef>
#include <cstdint>

namespace crypto {

enum class TTwofishOddSubkey : std::uint8_t {
  Standard,  // K[2i+1] = ROL(A + 2B, 9)
  Halved,    // K[2i+1] = ROL(A + (B >> 1), 9), B shifted right logically
};

struct TTwofishConfig {
  int double_rounds;  // pairs of Feistel rounds
  int subkey_step;    // words the round-key window moves per double round
  TTwofishOddSubkey odd_subkey;
};

// The published cipher: 16 rounds, each double round on its own four round keys.
inline constexpr TTwofishConfig kTwofishStandard{8, 4, TTwofishOddSubkey::Standard};
// The variant of stored databases: 30 rounds, consecutive double rounds sharing a subkey pair
// (K[8..11], K[10..13], ..., K[36..39]), odd subkeys from B >> 1. Frozen: files depend on it.
inline constexpr TTwofishConfig kTwofishVariant{15, 2, TTwofishOddSubkey::Halved};

// Key schedule and block transform. Between calls it holds a complete schedule for the last
// key given (all zero before the first).
class TTwofishCore final {
 public:
  static constexpr std::size_t kBlockSize = 16;
  static constexpr std::size_t kMaxKeySize = 32;

  explicit TTwofishCore(const TTwofishConfig& config) : config_(config) {}
  TTwofishCore(const TTwofishCore&) = delete;
  TTwofishCore& operator=(const TTwofishCore&) = delete;
  ~TTwofishCore() { Clear(); }

  // Expands `length` (0..32) key bytes; the key is completed with zero bytes to 16, 24 or 32.
  void SetKey(const std::uint8_t* key, std::size_t length);
  void EncryptBlock(std::uint8_t* block) const;
  void DecryptBlock(std::uint8_t* block) const;
  void Clear();

 private:
  std::uint32_t G(std::uint32_t x) const {
    return mk_[0][x & 0xFF] ^ mk_[1][(x >> 8) & 0xFF] ^ mk_[2][(x >> 16) & 0xFF] ^ mk_[3][x >> 24];
  }

  TTwofishConfig config_;
  std::array<std::uint32_t, 40> k_{};  // whitening words K[0..7], then round keys K[8..39]
  // The g function prepared: mk_[i][x] is column i of the MDS matrix times s_i(x), so that
  // g(X) is the XOR of four lookups.
  std::array<std::array<std::uint32_t, 256>, 4> mk_{};
};

}  // namespace crypto
