// Keying from a password, as the database does once per opened file: our InitKey (SHA-0 of
// the password, key schedule, initial vector, enciphering the digest) against Botan doing the
// same standard work (SHA-1 of the password, key schedule, one block enciphered).

#include <benchmark/benchmark.h>
#include <botan/block_cipher.h>
#include <botan/hash.h>

#include <memory>
#include <string>
#include <vector>

#include "crypto/enc_blowfish.h"
#include "crypto/enc_gost.h"
#include "crypto/enc_twofish.h"

namespace {

constexpr const char* kPassword = "zapto";

template <class TCipher>
void BM_TEncrypt_InitKey(benchmark::State& state, std::string pair) {
  TCipher cipher;
  for (auto _ : state) {
    cipher.InitKey(kPassword);
    benchmark::DoNotOptimize(cipher.IV().data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
  state.SetLabel("pair=" + pair + ";side=ours");
}

void BM_Botan_HashAndKey(benchmark::State& state, std::string botan_name, std::size_t key_bytes,
                         std::string pair) {
  const auto hash = Botan::HashFunction::create("SHA-1");
  const auto cipher = Botan::BlockCipher::create(botan_name);
  const std::string password = kPassword;
  std::vector<std::uint8_t> key(key_bytes, 0);
  std::vector<std::uint8_t> block(cipher->block_size(), 0xFF);
  for (auto _ : state) {
    hash->update(password);
    hash->final(key.data());
    cipher->set_key(key);
    cipher->encrypt(block);
    benchmark::DoNotOptimize(block.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
  state.SetLabel("pair=" + pair + ";side=comparator");
}

int RegisterAll() {
  benchmark::RegisterBenchmark("BM_TEnc_Blowfish_InitKey",
                               BM_TEncrypt_InitKey<crypto::TEnc_Blowfish>,
                               std::string("Blowfish_InitKey_vs_Botan_SHA1_setkey"));
  benchmark::RegisterBenchmark("BM_Botan_Blowfish_HashAndKey", BM_Botan_HashAndKey,
                               std::string("Blowfish"), std::size_t{20},
                               std::string("Blowfish_InitKey_vs_Botan_SHA1_setkey"));
  benchmark::RegisterBenchmark("BM_TEnc_Twofish_InitKey", BM_TEncrypt_InitKey<crypto::TEnc_Twofish>,
                               std::string("Twofish_InitKey_vs_Botan_SHA1_setkey"));
  benchmark::RegisterBenchmark("BM_Botan_Twofish_HashAndKey", BM_Botan_HashAndKey,
                               std::string("Twofish"), std::size_t{24},
                               std::string("Twofish_InitKey_vs_Botan_SHA1_setkey"));
  benchmark::RegisterBenchmark("BM_TEnc_Gost_InitKey", BM_TEncrypt_InitKey<crypto::TEnc_Gost>,
                               std::string("Gost_InitKey_vs_Botan_SHA1_setkey"));
  benchmark::RegisterBenchmark("BM_Botan_Gost_HashAndKey", BM_Botan_HashAndKey,
                               std::string("GOST-28147-89(R3411_94_TestParam)"), std::size_t{32},
                               std::string("Gost_InitKey_vs_Botan_SHA1_setkey"));
  return 0;
}

const int kRegistered = RegisterAll();

}  // namespace
