// Known answers of the cryptographic primitives, the same for every backend (libcrypto, Windows CNG).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "zip/crypto/CryptoPrimitives.h"

namespace brisko::zip::crypto {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

std::string Hex(const uint8_t* bytes, size_t size) {
  std::string out;
  for (size_t i = 0; i < size; ++i) {
    out += "0123456789abcdef"[bytes[i] >> 4];
    out += "0123456789abcdef"[bytes[i] & 15];
  }
  return out;
}

std::vector<uint8_t> FromHex(const std::string& hex) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    out.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return out;
}

TEST(CryptoPrimitives, Pbkdf2HmacSha1KnownAnswers) {
  const struct {
    std::string password, salt;
    int iterations;
    const char* key;
  } cases[] = {
      {"password", "salt", 1, "0c60c80f961f0e71f3a9b524af6012062fe037a6"},
      {"password", "salt", 2, "ea6c014dc72d6f8ccd1ed92ace1d41f0d8de8957"},
      {"password", "salt", 4096, "4b007901b765489abead49d926f721d065a429c1"},
      {"passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096,
       "3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038"},  // longer than one hash
      {std::string("pass\0word", 9), std::string("sa\0lt", 5), 4096, "56fa6aa75548099dcc37d7f03425e0c3"},
      // A password longer than a hash block, and the 66 bytes of an AES-256 member's keys.
      {std::string(100, 'x'), "0123456789abcdef", 1000,
       "d2a8db952a91dbbbf5f40c72ba4d3b24ded4ee22ec5e4c2c6ac5a426cc12b4e7fb253bd6c41beecf91de6b19fa60c967294a1"
       "081c95e0f18476be99f984cf0bdce03"},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> out(std::string(c.key).size() / 2);
    const std::vector<uint8_t> salt = Bytes(c.salt);
    Pbkdf2HmacSha1(c.password, salt.data(), salt.size(), c.iterations, out.data(), out.size());
    EXPECT_EQ(Hex(out.data(), out.size()), c.key) << c.password << " x" << c.iterations;
  }
}

TEST(CryptoPrimitives, HmacSha1KnownAnswersInPieces) {
  const struct {
    std::vector<uint8_t> key;
    std::string data;
    const char* mac;
  } cases[] = {
      {std::vector<uint8_t>(20, 0x0b), "Hi There", "b617318655057264e28bc0b6fb378c8ef146be00"},
      {Bytes("Jefe"), "what do ya want for nothing?", "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79"},
      {std::vector<uint8_t>(80, 0xaa), "Test Using Larger Than Block-Size Key - Hash Key First",
       "aa4ae5e15272d00e95705637ce8a3b55ed402112"},
  };
  for (const auto& c : cases) {
    HmacSha1 mac(c.key.data(), c.key.size());
    const std::vector<uint8_t> data = Bytes(c.data);
    mac.Update(data.data(), 3);
    mac.Update(data.data() + 3, 0);
    mac.Update(data.data() + 3, data.size() - 3);
    uint8_t out[kSha1Size];
    mac.Final(out);
    EXPECT_EQ(Hex(out, kSha1Size), c.mac) << c.data;
  }
}

TEST(CryptoPrimitives, AesBlocksKnownAnswersInPlace) {
  const std::vector<uint8_t> plain = FromHex("00112233445566778899aabbccddeeff");
  const struct {
    size_t keySize;
    const char* cipher;
  } cases[] = {
      {16, "69c4e0d86a7b0430d8cdb78070b4c55a"},
      {24, "dda97ca4864cdfe06eaf70a0ec0d7191"},
      {32, "8ea2b7ca516745bfeafc49904b496089"},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> key(c.keySize);
    for (size_t i = 0; i < key.size(); ++i) key[i] = static_cast<uint8_t>(i);
    AesBlockCipher aes(key.data(), key.size());
    std::vector<uint8_t> blocks = plain;
    blocks.insert(blocks.end(), plain.begin(), plain.end());
    aes.EncryptBlocks(blocks.data(), blocks.data(), 2);  // each block on its own, in place
    EXPECT_EQ(Hex(blocks.data(), blocks.size()), std::string(c.cipher) + c.cipher) << c.keySize;
  }
  const uint8_t shortKey[8] = {};
  EXPECT_ANY_THROW(AesBlockCipher aes(shortKey, sizeof shortKey));
}

TEST(CryptoPrimitives, RandomBytesDiffer) {
  std::vector<uint8_t> a(32), b(32);
  RandomBytes(a.data(), a.size());
  RandomBytes(b.data(), b.size());
  EXPECT_NE(a, b);
}

}  // namespace
}  // namespace brisko::zip::crypto
