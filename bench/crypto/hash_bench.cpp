// SHA-0 against Botan's SHA-1 in software (>= 0.8) and CRC-32 against zlib's crc32 (>= 0.9),
// over 64 KiB buffers, in the same run. Labels as in cipher_bench.cpp.

#include <benchmark/benchmark.h>
#include <botan/cpuid.h>
#include <botan/hash.h>
#include <zlib.h>

#include <vector>

#include "crypto/hash_crc32.h"
#include "crypto/hash_sha.h"

namespace {

constexpr std::size_t kBufferBytes = 65536;

std::vector<std::uint8_t> Filled(std::size_t n) {
  std::vector<std::uint8_t> bytes(n);
  for (std::size_t i = 0; i < n; ++i) {
    bytes[i] = static_cast<std::uint8_t>(i * 7 + 5);
  }
  return bytes;
}

// The whole THash cycle (reset, update, finish) of one hash class over one buffer.
template <typename THashClass>
void BM_THash_Update(benchmark::State& state, const char* label) {
  const auto data = Filled(kBufferBytes);
  THashClass hash;
  for (auto _ : state) {
    hash.Reset();
    hash.Update(data);
    hash.Finish();
    benchmark::DoNotOptimize(hash.Digest().data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBufferBytes));
  state.SetLabel(label);
}
constexpr auto BM_THash_SHA_Update = BM_THash_Update<crypto::THash_SHA>;
BENCHMARK_CAPTURE(BM_THash_SHA_Update, Digest, "pair=SHA0_vs_Botan_SHA1_software;side=ours");

void BM_Botan_SHA1_Software(benchmark::State& state) {
  // Software only: no SHA extensions, no SIMD message schedule.
  Botan::CPUID::clear_cpuid_bit(Botan::CPUID::CPUID_SHA_BIT);
  Botan::CPUID::clear_cpuid_bit(Botan::CPUID::CPUID_SSE2_BIT);
  Botan::CPUID::clear_cpuid_bit(Botan::CPUID::CPUID_SSSE3_BIT);
  const auto hash = Botan::HashFunction::create("SHA-1");
  const auto data = Filled(kBufferBytes);
  std::vector<std::uint8_t> out(20);
  for (auto _ : state) {
    hash->update(data.data(), data.size());
    hash->final(out.data());
    benchmark::DoNotOptimize(out.data());
  }
  Botan::CPUID::initialize();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBufferBytes));
  state.SetLabel("pair=SHA0_vs_Botan_SHA1_software;side=comparator");
}
BENCHMARK(BM_Botan_SHA1_Software);

void BM_BufferCrc32(benchmark::State& state) {
  const auto data = Filled(kBufferBytes);
  for (auto _ : state) {
    benchmark::DoNotOptimize(crypto::BufferCrc32(data.data(), data.size()));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBufferBytes));
  state.SetLabel("pair=CRC32_vs_zlib_crc32;side=ours");
}
BENCHMARK(BM_BufferCrc32);

constexpr auto BM_THash_CRC32_Update = BM_THash_Update<crypto::THash_CRC32>;
BENCHMARK_CAPTURE(BM_THash_CRC32_Update, Digest, "pair=THash_CRC32_vs_zlib_crc32;side=ours");

// zlib's crc32, the comparator of both CRC-32 pairs; measured once per pair, so that each
// pair's two sides run next to each other.
void BM_Zlib_Crc32(benchmark::State& state, const char* label) {
  const auto data = Filled(kBufferBytes);
  for (auto _ : state) {
    benchmark::DoNotOptimize(crc32(0, data.data(), static_cast<uInt>(data.size())));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBufferBytes));
  state.SetLabel(label);
}
BENCHMARK_CAPTURE(BM_Zlib_Crc32, ForBuffer, "pair=CRC32_vs_zlib_crc32;side=comparator");
BENCHMARK_CAPTURE(BM_Zlib_Crc32, ForHash, "pair=THash_CRC32_vs_zlib_crc32;side=comparator");

}  // namespace
