// Strong member encryption (method 99 with the 0x9901 extra field, AE-1 and AE-2): the extra field,
// key derivation, the CTR stream with its authentication code, as self-contained encode and decode
// stages. The member data is: salt, 2-byte password verifier, encrypted data, 10-byte authentication code.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "zip/crypto/CryptoPrimitives.h"
#include "zip/format/AesField.h"

namespace brisko::zip {

// The shared state of one member: the CTR keystream over the AES key and the HMAC over the
// encrypted bytes.
class AesMemberCipher {
 public:
  // Derives the keys from the password and the salt of the field's size.
  AesMemberCipher(std::string_view password, const AesField& field, const uint8_t* salt);
  ~AesMemberCipher();

  const std::array<uint8_t, kAesVerifierSize>& Verifier() const { return verifier_; }
  void Encrypt(uint8_t* data, size_t size);
  void Decrypt(uint8_t* data, size_t size);
  // The authentication code of all bytes passed so far; the object is used up afterwards.
  std::array<uint8_t, kAesAuthCodeSize> AuthCode();

 private:
  void ApplyKeystream(uint8_t* data, size_t size);

  std::unique_ptr<crypto::AesBlockCipher> aes_;
  std::unique_ptr<crypto::HmacSha1> hmac_;
  std::array<uint8_t, kAesVerifierSize> verifier_{};
  uint64_t counter_ = 0;  // blocks of keystream used so far
  std::array<uint8_t, crypto::kAesBlockSize> pad_{};
  size_t padUsed_ = crypto::kAesBlockSize;
};

// Encoding stage: Begin gives the bytes in front of the data, Encrypt works in place, End the
// authentication code behind it.
class AesEncoder {
 public:
  // The salt comes from random.
  AesEncoder(std::string_view password, const AesField& field,
             crypto::RandomSource& random = crypto::SystemRandom());
  const std::string& Prefix() const { return prefix_; }
  void Encrypt(uint8_t* data, size_t size) { cipher_->Encrypt(data, size); }
  std::array<uint8_t, kAesAuthCodeSize> End() { return cipher_->AuthCode(); }

 private:
  std::string prefix_;  // salt and verifier
  std::unique_ptr<AesMemberCipher> cipher_;
};

// Decoding stage: built from the prefix read in front of the data; null when the verifier says the
// password is wrong.
class AesDecoder {
 public:
  static std::unique_ptr<AesDecoder> Open(std::string_view password, const AesField& field,
                                          const uint8_t* prefix);
  void Decrypt(uint8_t* data, size_t size) { cipher_->Decrypt(data, size); }
  // Compares the code read behind the data with the one computed over it.
  bool Authentic(const uint8_t code[kAesAuthCodeSize]);

 private:
  explicit AesDecoder(std::unique_ptr<AesMemberCipher> cipher) : cipher_(std::move(cipher)) {}
  std::unique_ptr<AesMemberCipher> cipher_;
};

}  // namespace brisko::zip
