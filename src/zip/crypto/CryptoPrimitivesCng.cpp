// The cryptographic building blocks on Windows' own Cryptography API: Next Generation (bcrypt).
#include <windows.h>
// windows.h first: bcrypt.h needs its types.
#include <bcrypt.h>

#include <climits>
#include <string>

#include "zip/crypto/CryptoPrimitives.h"
#include "zip/format/ZipErrors.h"

namespace brisko::zip::crypto {

namespace {
[[noreturn]] void Fail(const char* what) {
  throw ZipError(std::string("Encryption library failure: ") + what);
}

// One provider per algorithm for the whole process; providers are safe to share between threads.
class Provider {
 public:
  Provider(const wchar_t* algorithm, ULONG flags) {
    if (!BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(&handle_, algorithm, nullptr, flags)))
      handle_ = nullptr;
  }
  ~Provider() {
    if (handle_ != nullptr) ::BCryptCloseAlgorithmProvider(handle_, 0);
  }
  Provider(const Provider&) = delete;
  Provider& operator=(const Provider&) = delete;
  BCRYPT_ALG_HANDLE Get(const char* what) const {
    if (handle_ == nullptr) Fail(what);
    return handle_;
  }

 protected:
  BCRYPT_ALG_HANDLE handle_ = nullptr;
};

// AES in electronic-codebook mode: the counter mode above it is built by the engine.
class AesEcbProvider : public Provider {
 public:
  AesEcbProvider() : Provider(BCRYPT_AES_ALGORITHM, 0) {
    wchar_t mode[] = BCRYPT_CHAIN_MODE_ECB;
    if (handle_ != nullptr &&
        !BCRYPT_SUCCESS(::BCryptSetProperty(handle_, BCRYPT_CHAINING_MODE, reinterpret_cast<PUCHAR>(mode),
                                            sizeof(mode), 0))) {
      ::BCryptCloseAlgorithmProvider(handle_, 0);
      handle_ = nullptr;
    }
  }
};

BCRYPT_ALG_HANDLE AesEcb() {
  static const AesEcbProvider provider;
  return provider.Get("AES is not available");
}

BCRYPT_ALG_HANDLE HmacSha1Algorithm() {
  static const Provider provider(BCRYPT_SHA1_ALGORITHM, BCRYPT_ALG_HANDLE_HMAC_FLAG);
  return provider.Get("HMAC-SHA1 is not available");
}

ULONG CheckedLength(size_t size, const char* what) {
  if (size > ULONG_MAX) Fail(what);
  return static_cast<ULONG>(size);
}
}  // namespace

void RandomBytes(uint8_t* bytes, size_t count) {
  InSlices(count, [&](size_t at, size_t n) {
    if (!BCRYPT_SUCCESS(
            ::BCryptGenRandom(nullptr, bytes + at, static_cast<ULONG>(n), BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
      Fail("no random bytes");
  });
}

void Pbkdf2HmacSha1(std::string_view password, const uint8_t* salt, size_t saltSize, int iterations,
                    uint8_t* out, size_t outSize) {
  if (iterations <= 0) Fail("key derivation");
  const char* tooLong = "key derivation input too long";
  // The API does not write through its input pointers.
  auto* passwordBytes = reinterpret_cast<PUCHAR>(const_cast<char*>(password.data()));
  if (!BCRYPT_SUCCESS(::BCryptDeriveKeyPBKDF2(
          HmacSha1Algorithm(), passwordBytes, CheckedLength(password.size(), tooLong),
          const_cast<PUCHAR>(salt), CheckedLength(saltSize, tooLong), static_cast<ULONGLONG>(iterations), out,
          CheckedLength(outSize, tooLong), 0)))
    Fail("key derivation");
}

struct AesBlockCipher::Impl {
  BCRYPT_KEY_HANDLE key = nullptr;
  ~Impl() {
    if (key != nullptr) ::BCryptDestroyKey(key);
  }
};

AesBlockCipher::AesBlockCipher(const uint8_t* key, size_t keySize) : impl_(std::make_unique<Impl>()) {
  if (keySize != 16 && keySize != 24 && keySize != 32) Fail("unsupported AES key size");
  if (!BCRYPT_SUCCESS(::BCryptGenerateSymmetricKey(AesEcb(), &impl_->key, nullptr, 0, const_cast<PUCHAR>(key),
                                                   static_cast<ULONG>(keySize), 0)))
    Fail("AES setup");
}

AesBlockCipher::~AesBlockCipher() = default;

void AesBlockCipher::EncryptBlocks(const uint8_t* in, uint8_t* out, size_t blocks) {
  InSlices(blocks * kAesBlockSize, [&](size_t at, size_t n) {
    ULONG produced = 0;
    if (!BCRYPT_SUCCESS(::BCryptEncrypt(impl_->key, const_cast<PUCHAR>(in + at), static_cast<ULONG>(n),
                                        nullptr, nullptr, 0, out + at, static_cast<ULONG>(n), &produced,
                                        0)) ||
        produced != n)
      Fail("AES encryption");
  });
}

struct HmacSha1::Impl {
  BCRYPT_HASH_HANDLE hash = nullptr;
  ~Impl() {
    if (hash != nullptr) ::BCryptDestroyHash(hash);
  }
};

HmacSha1::HmacSha1(const uint8_t* key, size_t keySize) : impl_(std::make_unique<Impl>()) {
  if (!BCRYPT_SUCCESS(::BCryptCreateHash(HmacSha1Algorithm(), &impl_->hash, nullptr, 0,
                                         const_cast<PUCHAR>(key), CheckedLength(keySize, "HMAC key too long"),
                                         0)))
    Fail("HMAC setup");
}

HmacSha1::~HmacSha1() = default;

void HmacSha1::Update(const uint8_t* data, size_t size) {
  InSlices(size, [&](size_t at, size_t n) {
    if (!BCRYPT_SUCCESS(
            ::BCryptHashData(impl_->hash, const_cast<PUCHAR>(data + at), static_cast<ULONG>(n), 0)))
      Fail("HMAC update");
  });
}

void HmacSha1::Final(uint8_t out[kSha1Size]) {
  if (!BCRYPT_SUCCESS(::BCryptFinishHash(impl_->hash, out, static_cast<ULONG>(kSha1Size), 0)))
    Fail("HMAC final");
}

}  // namespace brisko::zip::crypto
