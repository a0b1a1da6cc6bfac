// The cryptographic building blocks where no cryptographic library is linked (the MinGW build): random
// bytes from the system's source, and a clear refusal of everything AES needs.
#include <random>

#include "zip/CryptoPrimitives.h"
#include "zip/ZipErrors.h"

namespace brisko::zip::crypto {

namespace {
[[noreturn]] void Unavailable() { throw ZipError("AES encryption is not available in this build"); }
}  // namespace

void RandomBytes(uint8_t* bytes, size_t count) {
  std::random_device device;  // the system's cryptographic source on Windows
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(device());
}

void Pbkdf2HmacSha1(std::string_view, const uint8_t*, size_t, int, uint8_t*, size_t) { Unavailable(); }

struct AesBlockCipher::Impl {};
AesBlockCipher::AesBlockCipher(const uint8_t*, size_t) { Unavailable(); }
AesBlockCipher::~AesBlockCipher() = default;
void AesBlockCipher::EncryptBlocks(const uint8_t*, uint8_t*, size_t) { Unavailable(); }

struct HmacSha1::Impl {};
HmacSha1::HmacSha1(const uint8_t*, size_t) { Unavailable(); }
HmacSha1::~HmacSha1() = default;
void HmacSha1::Update(const uint8_t*, size_t) { Unavailable(); }
void HmacSha1::Final(uint8_t*) { Unavailable(); }

}  // namespace brisko::zip::crypto
