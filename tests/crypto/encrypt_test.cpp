#include "crypto/encrypt.h"

#include <botan/cipher_mode.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "crypto/crypto_errors.h"
#include "crypto/enc_blowfish.h"
#include "crypto/enc_gost.h"
#include "crypto/enc_twofish.h"
#include "crypto/hash_sha.h"
#include "tests/crypto/botan_oracle.h"
#include "tests/crypto/test_hex.h"

namespace {

using crypto::TEncrypt;
using crypto_test::ToHex;
using TBytes = std::vector<std::uint8_t>;

std::unique_ptr<TEncrypt> MakeCipher(int which) {
  switch (which) {
    case 0:
      return std::make_unique<crypto::TEnc_Blowfish>();
    case 1:
      return std::make_unique<crypto::TEnc_Twofish>();
    default:
      return std::make_unique<crypto::TEnc_Gost>();
  }
}

TBytes Encode(TEncrypt& cipher, const TBytes& in) {
  TBytes out(in.size());
  cipher.EncodeBuffer(in.data(), out.data(), in.size());
  return out;
}

TBytes Decode(TEncrypt& cipher, const TBytes& in) {
  TBytes out(in.size());
  cipher.DecodeBuffer(in.data(), out.data(), in.size());
  return out;
}

TBytes EncryptedBlock(const TEncrypt& cipher, TBytes block) {
  cipher.EncryptBlock(block.data());
  return block;
}

TBytes Xor(const TBytes& a, const TBytes& b, std::size_t n) {
  TBytes out(n);
  for (std::size_t i = 0; i < n; ++i) {
    out[i] = static_cast<std::uint8_t>(a[i] ^ b[i]);
  }
  return out;
}

struct TBotanPair {
  int which;
  const char* botan_name;  // Botan's name of the same standard cipher
  std::size_t key_size;
};

// Blowfish and GOST are the published ciphers, so Botan's modes over them are an oracle for
// the standard modes (CBC, ECB, 8-bit CFB) of the framework.
const TBotanPair kBotanPairs[] = {{0, "Blowfish", 20}, {2, crypto_test::kBotanGost, 32}};

TBytes BotanMode(const std::string& mode_name, const TBytes& key, const TBytes& iv, TBytes data) {
  const auto mode = Botan::Cipher_Mode::create(mode_name, Botan::ENCRYPTION);
  EXPECT_TRUE(mode) << mode_name;
  mode->set_key(key);
  mode->start(iv);
  Botan::secure_vector<std::uint8_t> buffer(data.begin(), data.end());
  mode->finish(buffer);
  return TBytes(buffer.begin(), buffer.end());
}

TEST(TEncrypt, StandardModesAgreeWithBotan) {
  crypto_test::TRandomBytes random(5);
  for (const TBotanPair& pair : kBotanPairs) {
    SCOPED_TRACE(pair.botan_name);
    const std::string name = pair.botan_name;
    const TBytes key = random.Next(pair.key_size);
    const TBytes iv = random.Next(8);
    const TBytes plain = random.Next(64);
    auto cipher = MakeCipher(pair.which);
    cipher->Init(key.data(), static_cast<std::ptrdiff_t>(key.size()), iv.data());

    cipher->SetMode(static_cast<std::uint8_t>(crypto::TCipherMode::CBC));
    EXPECT_EQ(ToHex(Encode(*cipher, plain)),
              ToHex(BotanMode(name + "/CBC/NoPadding", key, iv, plain)));

    cipher->ResetFeedback();
    cipher->SetMode(static_cast<std::uint8_t>(crypto::TCipherMode::CFB));
    const TBytes odd(plain.begin(), plain.begin() + 37);
    EXPECT_EQ(ToHex(Encode(*cipher, odd)), ToHex(BotanMode(name + "/CFB(8)", key, iv, odd)));

    cipher->ResetFeedback();
    cipher->SetMode(static_cast<std::uint8_t>(crypto::TCipherMode::ECB));
    const auto botan = crypto_test::BotanCipher(name);
    botan->set_key(key);
    TBytes expected = plain;
    botan->encrypt_n(expected.data(), expected.data(), plain.size() / 8);
    EXPECT_EQ(ToHex(Encode(*cipher, plain)), ToHex(expected));
  }
}

// Decoding in the chaining modes deciphers runs of blocks together; long buffers cross run
// boundaries and cover the several-blocks-at-once path of each cipher.
TEST(TEncrypt, LongBuffersDecodeAsBotanEncodesThem) {
  crypto_test::TRandomBytes random(11);
  for (const TBotanPair& pair : kBotanPairs) {
    SCOPED_TRACE(pair.botan_name);
    const TBytes key = random.Next(pair.key_size);
    const TBytes iv = random.Next(8);
    auto cipher = MakeCipher(pair.which);
    cipher->Init(key.data(), static_cast<std::ptrdiff_t>(key.size()), iv.data());
    cipher->SetMode(static_cast<std::uint8_t>(crypto::TCipherMode::CBC));
    for (const std::size_t length : {8u, 32u, 248u, 256u, 264u, 1000u, 4096u}) {
      SCOPED_TRACE(length);
      const TBytes plain = random.Next(length);
      const TBytes enciphered =
          BotanMode(std::string(pair.botan_name) + "/CBC/NoPadding", key, iv, plain);
      cipher->ResetFeedback();
      EXPECT_EQ(ToHex(Decode(*cipher, enciphered)), ToHex(plain));
      cipher->ResetFeedback();
      TBytes in_place = enciphered;
      cipher->DecodeBuffer(in_place.data(), in_place.data(), length);
      EXPECT_EQ(ToHex(in_place), ToHex(plain));
    }
  }
  // Every cipher, both chaining modes, lengths around the run size, with tails.
  for (int which = 0; which < 3; ++which) {
    auto cipher = MakeCipher(which);
    SCOPED_TRACE(std::string(cipher->ClassName()));
    cipher->InitKey("zapto");
    for (const auto mode : {crypto::TCipherMode::CTS, crypto::TCipherMode::CBC}) {
      cipher->SetMode(static_cast<std::uint8_t>(mode));
      for (const std::size_t length : {255u, 256u, 257u, 511u, 512u, 529u, 1013u}) {
        SCOPED_TRACE(length);
        const TBytes plain = random.Next(length);
        cipher->ResetFeedback();
        const TBytes enciphered = Encode(*cipher, plain);
        cipher->ResetFeedback();
        TBytes in_place = enciphered;
        cipher->DecodeBuffer(in_place.data(), in_place.data(), length);
        ASSERT_EQ(in_place, plain);
      }
    }
  }
}

// Mode 0 is this framework's own chaining: C = E(P ^ F), F := C ^ F; a tail is XORed with
// T = E(F) and F := T ^ F. Mode 1 leaves F as it is after a tail.
TEST(TEncrypt, ChainingModesFollowTheirFeedbackRules) {
  crypto_test::TRandomBytes random(0);
  const TBytes key = random.Next(20);
  const TBytes iv = random.Next(8);
  const TBytes plain = random.Next(21);  // two blocks and a 5-byte tail
  crypto::TEnc_Blowfish cipher;
  cipher.Init(key.data(), 20, iv.data());

  cipher.SetMode(static_cast<std::uint8_t>(crypto::TCipherMode::CTS));
  const TBytes out = Encode(cipher, plain);
  const TBytes p1(plain.begin(), plain.begin() + 8);
  const TBytes p2(plain.begin() + 8, plain.begin() + 16);
  const TBytes c1 = EncryptedBlock(cipher, Xor(p1, iv, 8));
  const TBytes f2 = Xor(c1, iv, 8);
  const TBytes c2 = EncryptedBlock(cipher, Xor(p2, f2, 8));
  const TBytes f3 = Xor(c2, f2, 8);
  const TBytes t = EncryptedBlock(cipher, f3);
  const TBytes tail = Xor(TBytes(plain.begin() + 16, plain.end()), t, 5);
  TBytes expected = c1;
  expected.insert(expected.end(), c2.begin(), c2.end());
  expected.insert(expected.end(), tail.begin(), tail.end());
  EXPECT_EQ(ToHex(out), ToHex(expected));
  EXPECT_EQ(ToHex(cipher.Feedback()), ToHex(Xor(t, f3, 8)));

  // A buffer shorter than one block, in modes 0 and 1: XOR with E(F).
  const TBytes short_plain = random.Next(5);
  const TBytes t0 = EncryptedBlock(cipher, iv);
  for (const auto mode : {crypto::TCipherMode::CTS, crypto::TCipherMode::CBC}) {
    SCOPED_TRACE(static_cast<int>(mode));
    cipher.SetMode(static_cast<std::uint8_t>(mode));
    cipher.ResetFeedback();
    EXPECT_EQ(ToHex(Encode(cipher, short_plain)), ToHex(Xor(short_plain, t0, 5)));
    const TBytes f_after = mode == crypto::TCipherMode::CTS ? Xor(t0, iv, 8) : iv;
    EXPECT_EQ(ToHex(cipher.Feedback()), ToHex(f_after));
  }
}

TEST(TEncrypt, ByteModesAndEcbTail) {
  crypto_test::TRandomBytes random(3);
  const TBytes key = random.Next(20);
  const TBytes plain = random.Next(13);
  crypto::TEnc_Blowfish cipher;
  cipher.Init(key.data(), 20);
  const TBytes iv(cipher.IV().begin(), cipher.IV().end());

  // OFB: the keystream does not depend on the data, so encoding is decoding, and the first
  // byte is x ^ E(IV)[0].
  cipher.SetMode(static_cast<std::uint8_t>(crypto::TCipherMode::OFB));
  const TBytes ofb = Encode(cipher, plain);
  EXPECT_EQ(ofb[0], plain[0] ^ EncryptedBlock(cipher, iv)[0]);
  cipher.ResetFeedback();
  EXPECT_EQ(ToHex(Encode(cipher, ofb)), ToHex(plain));

  // ECB with a 13-byte buffer: one block enciphered alone, the last 5 bytes stay plain.
  cipher.SetMode(static_cast<std::uint8_t>(crypto::TCipherMode::ECB));
  cipher.ResetFeedback();
  const TBytes ecb = Encode(cipher, plain);
  EXPECT_EQ(ToHex(TBytes(ecb.begin(), ecb.begin() + 8)),
            ToHex(EncryptedBlock(cipher, TBytes(plain.begin(), plain.begin() + 8))));
  EXPECT_EQ(ToHex(TBytes(ecb.begin() + 8, ecb.end())),
            ToHex(TBytes(plain.begin() + 8, plain.end())));
  // ECB does not use the feedback register.
  EXPECT_EQ(ToHex(cipher.Feedback()), ToHex(iv));
}

TEST(TEncrypt, EveryCipherAndModeRoundTripsEveryLength) {
  crypto_test::TRandomBytes random(100);
  for (int which = 0; which < 3; ++which) {
    auto cipher = MakeCipher(which);
    SCOPED_TRACE(std::string(cipher->ClassName()));
    cipher->InitKey("zapto");
    for (std::uint8_t mode = 0; mode <= 4; ++mode) {
      SCOPED_TRACE(static_cast<int>(mode));
      cipher->SetMode(mode);
      for (std::size_t length = 0; length <= 100; ++length) {
        SCOPED_TRACE(length);
        const TBytes plain = random.Next(length);
        cipher->ResetFeedback();
        const TBytes enciphered = Encode(*cipher, plain);
        ASSERT_EQ(enciphered.size(), length);
        // Items restart from the IV: the same item gives the same bytes.
        cipher->ResetFeedback();
        TBytes in_place = plain;
        cipher->EncodeBuffer(in_place.data(), in_place.data(), length);
        ASSERT_EQ(in_place, enciphered);
        if (length >= cipher->BlockSize() && mode != 4) {
          ASSERT_NE(enciphered, plain);
        }
        cipher->ResetFeedback();
        ASSERT_EQ(Decode(*cipher, enciphered), plain);
        cipher->ResetFeedback();
        cipher->DecodeBuffer(in_place.data(), in_place.data(), length);
        ASSERT_EQ(in_place, plain);
      }
    }
  }
}

TEST(TEncrypt, CallsContinueFromTheFeedbackTheyLeave) {
  crypto_test::TRandomBytes random(9);
  const TBytes plain = random.Next(48);
  for (std::uint8_t mode = 0; mode <= 4; ++mode) {
    SCOPED_TRACE(static_cast<int>(mode));
    crypto::TEnc_Gost cipher;
    cipher.InitKey("continuation");
    cipher.SetMode(mode);
    const TBytes whole = Encode(cipher, plain);
    cipher.ResetFeedback();
    TBytes pieces = Encode(cipher, TBytes(plain.begin(), plain.begin() + 16));
    const TBytes rest = Encode(cipher, TBytes(plain.begin() + 16, plain.end()));
    pieces.insert(pieces.end(), rest.begin(), rest.end());
    EXPECT_EQ(ToHex(pieces), ToHex(whole));
  }
}

TEST(TEncrypt, LengthZeroChangesNothing) {
  for (std::uint8_t mode = 0; mode <= 4; ++mode) {
    crypto::TEnc_Blowfish cipher;
    cipher.InitKey("x");
    cipher.SetMode(mode);
    const TBytes before(cipher.Feedback().begin(), cipher.Feedback().end());
    std::uint8_t target = 0x77;
    cipher.EncodeBuffer(&target, &target, 0);
    cipher.DecodeBuffer(&target, &target, 0);
    EXPECT_EQ(target, 0x77);
    EXPECT_EQ(ToHex(cipher.Feedback()), ToHex(before));
  }
}

TEST(TEncrypt, UnkeyedCipherRaisesAndLeavesTheTarget) {
  struct TCase {
    int which;
    const char* message;
  };
  const TCase cases[] = {
      {0, "TEnc_Blowfish is not initialized call Init() or InitKey() before."},
      {1, "TEnc_Twofish is not initialized call Init() or InitKey() before."},
      {2, "TEnc_Gost is not initialized call Init() or InitKey() before."},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.message);
    auto cipher = MakeCipher(c.which);
    const TBytes source(24, 1);
    TBytes target(24, 9);
    for (const bool encode : {true, false}) {
      try {
        if (encode) {
          cipher->EncodeBuffer(source.data(), target.data(), source.size());
        } else {
          cipher->DecodeBuffer(source.data(), target.data(), source.size());
        }
        ADD_FAILURE() << "no exception";
      } catch (const crypto::EEncryptException& e) {
        EXPECT_EQ(e.ErrorCode(), 3);
        EXPECT_STREQ(e.what(), c.message);
      }
      EXPECT_EQ(target, TBytes(24, 9));
    }
    // Keyed, then wiped: unkeyed again.
    cipher->InitKey("k");
    cipher->Wipe();
    EXPECT_THROW(cipher->EncodeBuffer(source.data(), target.data(), 8), crypto::EEncryptException);
    EXPECT_EQ(ToHex(cipher->IV()), std::string(2 * cipher->BlockSize(), 'F'));
    EXPECT_EQ(cipher->Flags(), 0u);
  }
}

TEST(TEncrypt, ModeAboveFourIsRefusedAndTheModeKept) {
  crypto::TEnc_Blowfish cipher;
  cipher.SetMode(3);
  try {
    cipher.SetMode(5);
    ADD_FAILURE() << "no exception";
  } catch (const crypto::EEncryptException& e) {
    EXPECT_EQ(e.ErrorCode(), 4);
    EXPECT_STREQ(e.what(), "Invalid cipher mode 5");
  }
  EXPECT_EQ(cipher.Mode(), 3);
}

// The key is the SHA-0 digest of the password, the initial vector E(FF..FF) under it.
TEST(TEncrypt, InitKeyDerivesKeyAndInitialVectorFromThePassword) {
  for (const char* password : {"zapto", "", "another password"}) {
    SCOPED_TRACE(password);
    TBytes digest;
    crypto::HashText<crypto::THash_SHA>(password, &digest);
    const auto botan = crypto_test::BotanCipher("Blowfish");
    botan->set_key(digest);
    TBytes expected_iv(8, 0xFF);
    botan->encrypt(expected_iv);

    crypto::TEnc_Blowfish cipher;
    cipher.InitKey(password);
    EXPECT_EQ(ToHex(cipher.IV()), ToHex(expected_iv));
    EXPECT_EQ(ToHex(cipher.Feedback()), ToHex(expected_iv));
    EXPECT_EQ(cipher.Flags(), TEncrypt::kFlagInitialized | TEncrypt::kFlagKeyedFromPassword);
    // The digest kept in the hash object no longer shows the key.
    ASSERT_NE(cipher.Hash(), nullptr);
    EXPECT_NE(ToHex(cipher.Hash()->Digest()), ToHex(digest));

    crypto::TEnc_Blowfish again;
    again.InitKey(password);
    EXPECT_EQ(ToHex(again.IV()), ToHex(cipher.IV()));
  }
  crypto::TEnc_Blowfish a;
  crypto::TEnc_Blowfish b;
  a.InitKey("zapto");
  b.InitKey("zaptO");
  EXPECT_NE(ToHex(a.IV()), ToHex(b.IV()));
}

// The whole road a database field takes, against a separate implementation written from the
// algorithm definitions (SHA-0, the Twofish variant, mode 0 with its tail rule): password
// zapto, 37 bytes 00..24 (two blocks and a 5-byte tail).
TEST(TEncrypt, TwofishMode0FromPasswordMatchesIndependentAnswer) {
  crypto::TEnc_Twofish cipher;
  cipher.SetMode(static_cast<std::uint8_t>(crypto::TCipherMode::CTS));
  cipher.InitKey("zapto");
  EXPECT_EQ(ToHex(cipher.IV()), "FAB3A53D8BD10835C216CFDACC56DA61");
  TBytes plain(37);
  for (std::size_t i = 0; i < plain.size(); ++i) {
    plain[i] = static_cast<std::uint8_t>(i);
  }
  EXPECT_EQ(ToHex(Encode(cipher, plain)),
            "4EFD1ABF3634DAFDE15C3B43F47E1788691EBFDE2EA849BD4F8F5A710224810B6E383F7469");
  EXPECT_EQ(ToHex(cipher.Feedback()), "93491D0BDE88D93C89F9720675F12F0C");
}

TEST(TEncrypt, GivenInitialVectorAndNegativeKeyLength) {
  const TBytes iv = {1, 2, 3, 4, 5, 6, 7, 8};
  crypto::TEnc_Gost cipher;
  const TBytes key(32, 0x42);
  cipher.Init(key.data(), 32, iv.data());
  EXPECT_EQ(ToHex(cipher.IV()), ToHex(iv));
  // A negative length counts as an empty key.
  crypto::TEnc_Gost negative;
  crypto::TEnc_Gost empty;
  negative.Init(key.data(), -3);
  empty.Init(key.data(), 0);
  EXPECT_EQ(ToHex(negative.IV()), ToHex(empty.IV()));
}

}  // namespace
