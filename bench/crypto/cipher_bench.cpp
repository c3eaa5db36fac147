// Cipher throughput of the three ciphers against Botan 2's same cipher in CBC, measured in the
// same run. Watches the constraint: ours in CBC and in mode 0 over 4 KiB items at >= 0.8 of
// Botan's CBC (the Twofish variant after scaling its 30 rounds to Botan's 16). Also the
// database's typical field: 41-byte items, each enciphered from the IV.
//
// Every benchmark carries a label "pair=<comparison>;side=<ours|comparator>[;scale=<f>]" that
// run_crypto.sh uses to print one line per comparison.

#include <benchmark/benchmark.h>
#include <botan/block_cipher.h>
#include <botan/cipher_mode.h>

#include <memory>
#include <string>
#include <vector>

#include "crypto/data_process_mgr.h"
#include "crypto/enc_blowfish.h"
#include "crypto/enc_gost.h"
#include "crypto/enc_twofish.h"

namespace {

constexpr std::size_t kItemBytes = 4096;
constexpr std::size_t kFieldBytes = 41;

struct TCipherCase {
  const char* short_name;     // in the comparison's name
  const char* registry_name;  // ours, in the encryption registry
  const char* botan_name;
  std::size_t botan_key_bytes;
  double scale;  // rounds of ours / rounds of Botan's
};

const TCipherCase kCases[] = {
    {"Blowfish", "Blowfish", "Blowfish", 20, 1.0},
    {"Twofish", "Twofish", "Twofish", 24, 30.0 / 16.0},
    {"Gost", "Gost", "GOST-28147-89(R3411_94_TestParam)", 32, 1.0},
};

std::vector<std::uint8_t> Filled(std::size_t n) {
  std::vector<std::uint8_t> bytes(n);
  for (std::size_t i = 0; i < n; ++i) {
    bytes[i] = static_cast<std::uint8_t>(i * 13 + 1);
  }
  return bytes;
}

std::string Label(const std::string& pair, const char* side, double scale) {
  std::string label = "pair=" + pair + ";side=" + side;
  if (scale != 1.0) {
    label += ";scale=" + std::to_string(scale);
  }
  return label;
}

// Ours: the manager's EncodeBuffer, as the database calls it (each call one item from the IV).
void BM_TEncryptMgr_EncodeBuffer(benchmark::State& state, TCipherCase c, std::uint8_t mode,
                                 std::size_t item_bytes, std::string pair) {
  crypto::TEncryptMgr mgr;
  mgr.SelectAlgo(c.registry_name);
  mgr.SetMode(mode);
  mgr.InitKey("zapto");
  std::vector<std::uint8_t> data = Filled(item_bytes);
  for (auto _ : state) {
    mgr.EncodeBuffer(data.data(), data.data(), data.size());
    benchmark::DoNotOptimize(data.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * item_bytes));
  state.SetLabel(Label(pair, "ours", c.scale));
}

// Comparator: Botan's CBC over the same item, restarted from the same IV each time. A 41-byte
// field is not a whole number of blocks, so Botan runs CBC with ciphertext stealing there.
void BM_Botan_CBC(benchmark::State& state, TCipherCase c, std::size_t item_bytes,
                  std::string pair) {
  const std::string mode_name =
      std::string(c.botan_name) + (item_bytes % 8 == 0 ? "/CBC/NoPadding" : "/CBC/CTS");
  const auto mode = Botan::Cipher_Mode::create(mode_name, Botan::ENCRYPTION);
  if (!mode) {
    state.SkipWithError(("Botan has no " + mode_name).c_str());
    return;
  }
  mode->set_key(Filled(c.botan_key_bytes));
  const auto block = Botan::BlockCipher::create(c.botan_name);
  const std::vector<std::uint8_t> iv = Filled(block->block_size());
  const std::vector<std::uint8_t> data = Filled(item_bytes);
  Botan::secure_vector<std::uint8_t> buffer(data.begin(), data.end());
  for (auto _ : state) {
    buffer.resize(item_bytes);
    mode->start(iv);
    mode->finish(buffer);
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * item_bytes));
  state.SetLabel(Label(pair, "comparator", 1.0));
}

int RegisterAll() {
  for (const TCipherCase& c : kCases) {
    const std::string name = c.short_name;
    for (const auto& [mode, mode_name] :
         {std::pair<std::uint8_t, const char*>{1, "CBC"}, {0, "Mode0"}}) {
      const std::string pair = name + "_" + mode_name + "_4KiB_vs_Botan_CBC";
      benchmark::RegisterBenchmark(("BM_TEncryptMgr_EncodeBuffer/" + pair).c_str(),
                                   BM_TEncryptMgr_EncodeBuffer, c, mode, kItemBytes, pair);
      benchmark::RegisterBenchmark(("BM_Botan_CBC/" + pair).c_str(), BM_Botan_CBC, c, kItemBytes,
                                   pair);
    }
    const std::string field_pair = name + "_CBC_41B_items_vs_Botan_CBC_CTS";
    benchmark::RegisterBenchmark(("BM_TEncryptMgr_EncodeBuffer/" + field_pair).c_str(),
                                 BM_TEncryptMgr_EncodeBuffer, c, std::uint8_t{1}, kFieldBytes,
                                 field_pair);
    benchmark::RegisterBenchmark(("BM_Botan_CBC/" + field_pair).c_str(), BM_Botan_CBC, c,
                                 kFieldBytes, field_pair);
  }
  return 0;
}

const int kRegistered = RegisterAll();

}  // namespace
