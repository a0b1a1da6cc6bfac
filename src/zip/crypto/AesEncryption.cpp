// Strong member encryption: PBKDF2-HMAC-SHA1 keys, AES in CTR mode with a little-endian counter
// starting at 1, HMAC-SHA1 over the encrypted bytes cut to 10 bytes.
#include "zip/crypto/AesEncryption.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace brisko::zip {

namespace {
constexpr int kKeyIterations = 1000;
constexpr size_t kBatchBlocks = 256;  // keystream made in batches: one library call per 4 KiB

// Securely forgets key material.
void Wipe(uint8_t* data, size_t size) {
  volatile uint8_t* p = data;
  while (size-- > 0) *p++ = 0;
}

void PutCounter(uint8_t* block, uint64_t value) {
  std::memset(block, 0, crypto::kAesBlockSize);
  for (int i = 0; i < 8; ++i) block[i] = static_cast<uint8_t>(value >> (8 * i));
}
}  // namespace

AesMemberCipher::AesMemberCipher(std::string_view password, const AesField& field, const uint8_t* salt) {
  const size_t keySize = field.KeySize();
  std::vector<uint8_t> keys(2 * keySize + kAesVerifierSize);
  crypto::Pbkdf2HmacSha1(password, salt, field.SaltSize(), kKeyIterations, keys.data(), keys.size());
  aes_ = std::make_unique<crypto::AesBlockCipher>(keys.data(), keySize);
  hmac_ = std::make_unique<crypto::HmacSha1>(keys.data() + keySize, keySize);
  std::copy_n(keys.data() + 2 * keySize, kAesVerifierSize, verifier_.begin());
  Wipe(keys.data(), keys.size());
}

AesMemberCipher::~AesMemberCipher() {
  Wipe(pad_.data(), pad_.size());
}

void AesMemberCipher::ApplyKeystream(uint8_t* data, size_t size) {
  constexpr size_t kBlock = crypto::kAesBlockSize;
  // Bytes left of the last partial block first.
  while (size > 0 && padUsed_ < kBlock) {
    *data++ ^= pad_[padUsed_++];
    --size;
  }
  uint8_t stream[kBatchBlocks * kBlock];
  while (size >= kBlock) {
    const size_t blocks = std::min(size / kBlock, kBatchBlocks);
    for (size_t b = 0; b < blocks; ++b) PutCounter(stream + b * kBlock, ++counter_);
    aes_->EncryptBlocks(stream, stream, blocks);
    for (size_t i = 0; i < blocks * kBlock; ++i) data[i] ^= stream[i];
    data += blocks * kBlock;
    size -= blocks * kBlock;
  }
  Wipe(stream, sizeof stream);
  if (size > 0) {
    PutCounter(pad_.data(), ++counter_);
    aes_->EncryptBlocks(pad_.data(), pad_.data(), 1);
    for (padUsed_ = 0; padUsed_ < size; ++padUsed_) data[padUsed_] ^= pad_[padUsed_];
  }
}

void AesMemberCipher::Encrypt(uint8_t* data, size_t size) {
  ApplyKeystream(data, size);
  hmac_->Update(data, size);
}

void AesMemberCipher::Decrypt(uint8_t* data, size_t size) {
  hmac_->Update(data, size);
  ApplyKeystream(data, size);
}

std::array<uint8_t, kAesAuthCodeSize> AesMemberCipher::AuthCode() {
  uint8_t full[crypto::kSha1Size];
  hmac_->Final(full);
  std::array<uint8_t, kAesAuthCodeSize> code{};
  std::copy_n(full, code.size(), code.begin());
  return code;
}

AesEncoder::AesEncoder(std::string_view password, const AesField& field, crypto::RandomSource& random) {
  std::vector<uint8_t> salt(field.SaltSize());
  random.Fill(salt.data(), salt.size());
  cipher_ = std::make_unique<AesMemberCipher>(password, field, salt.data());
  prefix_.assign(salt.begin(), salt.end());
  prefix_.append(cipher_->Verifier().begin(), cipher_->Verifier().end());
}

std::unique_ptr<AesDecoder> AesDecoder::Open(std::string_view password, const AesField& field,
                                             const uint8_t* prefix) {
  auto cipher = std::make_unique<AesMemberCipher>(password, field, prefix);
  if (!std::equal(cipher->Verifier().begin(), cipher->Verifier().end(), prefix + field.SaltSize()))
    return nullptr;
  return std::unique_ptr<AesDecoder>(new AesDecoder(std::move(cipher)));
}

bool AesDecoder::Authentic(const uint8_t code[kAesAuthCodeSize]) {
  const auto computed = cipher_->AuthCode();
  uint8_t diff = 0;
  for (size_t i = 0; i < kAesAuthCodeSize; ++i) diff |= static_cast<uint8_t>(computed[i] ^ code[i]);
  return diff == 0;
}

}  // namespace brisko::zip
