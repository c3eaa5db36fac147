#include "crypto/hash.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "crypto/hash_sha.h"
#include "tests/crypto/test_hex.h"

namespace {

using crypto_test::FromHex;

struct TText64Case {
  const char* bytes_hex;
  const char* text;
};

// The digest text form: Base64's alphabet without trailing zero digits per group. "abc" has no
// zero digit, so it matches standard Base64 (RFC 4648); the others show the dropped digits.
constexpr TText64Case kText64Cases[] = {
    {"616263", "YWJj"},
    {"4100", "QQ="},
    {"41", "QQ=="},
    {"000000", ""},
    {"", ""},
    {"000001", "AAAB"},
    {"0164B8A914CD2A5E74C4F7FF082C4D97F1EDF880", "AWS4qRTNKl50xPf/CCxNl/Ht+I="},
};

TEST(THash, DigestTextFormDropsTrailingZeroDigits) {
  for (const TText64Case& c : kText64Cases) {
    SCOPED_TRACE(c.bytes_hex);
    EXPECT_EQ(crypto::EncodeDigest64(FromHex(c.bytes_hex)), c.text);
  }
}

TEST(THash, DigestTextFormats) {
  crypto::THash_SHA hash;
  hash.Update("abc", 3);
  hash.Finish();
  EXPECT_EQ(hash.DigestText(), "AWS4qRTNKl50xPf/CCxNl/Ht+I=");
  EXPECT_EQ(hash.DigestText(64), "AWS4qRTNKl50xPf/CCxNl/Ht+I=");
  EXPECT_EQ(hash.DigestText(16), "0164B8A914CD2A5E74C4F7FF082C4D97F1EDF880");
  const std::string raw = hash.DigestText(1);
  EXPECT_EQ(std::vector<std::uint8_t>(raw.begin(), raw.end()),
            FromHex("0164B8A914CD2A5E74C4F7FF082C4D97F1EDF880"));
}

TEST(THash, HashTextGivesTheTextFormAndTheDigestCopy) {
  std::vector<std::uint8_t> digest;
  EXPECT_EQ(crypto::HashText<crypto::THash_SHA>("abc", &digest), "AWS4qRTNKl50xPf/CCxNl/Ht+I=");
  EXPECT_EQ(digest, FromHex("0164B8A914CD2A5E74C4F7FF082C4D97F1EDF880"));
  EXPECT_EQ(crypto::HashText<crypto::THash_SHA>("abc"), "AWS4qRTNKl50xPf/CCxNl/Ht+I=");
}

}  // namespace
