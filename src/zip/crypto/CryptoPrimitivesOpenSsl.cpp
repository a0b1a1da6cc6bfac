// The cryptographic building blocks on OpenSSL's libcrypto.
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <climits>
#include <string>

#include "zip/crypto/CryptoPrimitives.h"
#include "zip/format/ZipErrors.h"

namespace brisko::zip::crypto {

namespace {
[[noreturn]] void Fail(const char* what) {
  throw ZipError(std::string("Encryption library failure: ") + what);
}
}  // namespace

void RandomBytes(uint8_t* bytes, size_t count) {
  InSlices(count, [&](size_t at, size_t n) {
    if (RAND_bytes(bytes + at, static_cast<int>(n)) != 1) Fail("no random bytes");
  });
}

struct AesBlockCipher::Impl {
  EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
  ~Impl() { EVP_CIPHER_CTX_free(ctx); }
};

AesBlockCipher::AesBlockCipher(const uint8_t* key, size_t keySize) : impl_(std::make_unique<Impl>()) {
  const EVP_CIPHER* cipher = keySize == 16   ? EVP_aes_128_ecb()
                             : keySize == 24 ? EVP_aes_192_ecb()
                             : keySize == 32 ? EVP_aes_256_ecb()
                                             : nullptr;
  if (cipher == nullptr) Fail("unsupported AES key size");
  if (impl_->ctx == nullptr || EVP_EncryptInit_ex(impl_->ctx, cipher, nullptr, key, nullptr) != 1 ||
      EVP_CIPHER_CTX_set_padding(impl_->ctx, 0) != 1)
    Fail("AES setup");
}

AesBlockCipher::~AesBlockCipher() = default;

void AesBlockCipher::EncryptBlocks(const uint8_t* in, uint8_t* out, size_t blocks) {
  InSlices(blocks * kAesBlockSize, [&](size_t at, size_t n) {
    int produced = 0;
    if (EVP_EncryptUpdate(impl_->ctx, out + at, &produced, in + at, static_cast<int>(n)) != 1 ||
        static_cast<size_t>(produced) != n)
      Fail("AES encryption");
  });
}

struct HmacSha1::Impl {
  EVP_MAC* mac = EVP_MAC_fetch(nullptr, "HMAC", nullptr);
  EVP_MAC_CTX* ctx = nullptr;
  ~Impl() {
    EVP_MAC_CTX_free(ctx);
    EVP_MAC_free(mac);
  }
};

HmacSha1::HmacSha1(const uint8_t* key, size_t keySize) : impl_(std::make_unique<Impl>()) {
  char digest[] = "SHA1";
  OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string("digest", digest, 0), OSSL_PARAM_construct_end()};
  if (impl_->mac != nullptr) impl_->ctx = EVP_MAC_CTX_new(impl_->mac);
  if (impl_->ctx == nullptr || EVP_MAC_init(impl_->ctx, key, keySize, params) != 1) Fail("HMAC setup");
}

HmacSha1::~HmacSha1() = default;

void HmacSha1::Update(const uint8_t* data, size_t size) {
  if (size > 0 && EVP_MAC_update(impl_->ctx, data, size) != 1) Fail("HMAC update");
}

void HmacSha1::Final(uint8_t out[kSha1Size]) {
  size_t written = 0;
  if (EVP_MAC_final(impl_->ctx, out, &written, kSha1Size) != 1 || written != kSha1Size) Fail("HMAC final");
}

}  // namespace brisko::zip::crypto
