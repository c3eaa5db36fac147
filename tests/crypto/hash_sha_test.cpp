#include "crypto/hash_sha.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/crypto/test_hex.h"

namespace {

using crypto::THash_SHA;
using crypto_test::ToHex;

struct TShaCase {
  const char* message;
  std::size_t repeat;  // the message is added this many times
  const char* digest;
};

// SHA-0 digests published with the original Secure Hash Standard (FIPS 180, 1993, appendices
// A to C), and of the empty message as widely tabulated for SHA-0.
constexpr TShaCase kShaCases[] = {
    {"abc", 1, "0164B8A914CD2A5E74C4F7FF082C4D97F1EDF880"},
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", 1,
     "D2516EE1ACFA5BAF33DFC1C471E438449EF134C8"},
    {"a", 1000000, "3232AFFA48628A26653B5AAA44541FD90D690603"},
    {"", 1, "F96CEA198AD1DD5617AC084A3D92C6107708C0EF"},
};

TEST(THash_SHA, ComputesPublishedSha0Digests) {
  for (const TShaCase& c : kShaCases) {
    SCOPED_TRACE(std::string(c.message).substr(0, 10));
    std::string message;
    for (std::size_t i = 0; i < c.repeat; ++i) {
      message += c.message;
    }
    THash_SHA hash;
    hash.Update(message.data(), static_cast<std::ptrdiff_t>(message.size()));
    hash.Finish();
    EXPECT_EQ(ToHex(hash.Digest()), c.digest);
    EXPECT_EQ(hash.DigestText(crypto::kDigestTextHex), c.digest);
  }
}

TEST(THash_SHA, DigestDoesNotDependOnHowTheMessageIsSplit) {
  std::vector<std::uint8_t> message(1000);
  for (std::size_t i = 0; i < message.size(); ++i) {
    message[i] = static_cast<std::uint8_t>(i * 7 + 3);
  }
  THash_SHA whole;
  whole.Update(message);
  whole.Finish();
  // Pieces of odd lengths cross the 64-byte block boundary at every offset; padding lengths
  // 55, 56 and 64 (one or two final blocks) are among the prefixes checked below.
  for (const std::size_t piece : {1u, 3u, 7u, 63u, 65u, 129u}) {
    SCOPED_TRACE(piece);
    THash_SHA split;
    for (std::size_t at = 0; at < message.size(); at += piece) {
      split.Update(message.data() + at,
                   static_cast<std::ptrdiff_t>(std::min(piece, message.size() - at)));
    }
    split.Finish();
    EXPECT_EQ(ToHex(split.Digest()), ToHex(whole.Digest()));
  }
  // Updates of length 0 or less add nothing.
  THash_SHA with_empty;
  with_empty.Update(message.data(), 0);
  with_empty.Update(message.data(), -5);
  with_empty.Update(message);
  with_empty.Finish();
  EXPECT_EQ(ToHex(with_empty.Digest()), ToHex(whole.Digest()));
}

TEST(THash_SHA, ResetStartsANewDigest) {
  THash_SHA hash;
  hash.Update("xyz", 3);
  hash.Finish();
  hash.Reset();
  hash.Update("abc", 3);
  hash.Finish();
  EXPECT_EQ(ToHex(hash.Digest()), "0164B8A914CD2A5E74C4F7FF082C4D97F1EDF880");
}

}  // namespace
