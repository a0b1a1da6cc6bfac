// The cryptographic building blocks the archive encryption needs, taken from a well-kept library.
// Only this header is seen by the rest of the engine, so another platform can supply its own backend.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace brisko::zip::crypto {

inline constexpr size_t kAesBlockSize = 16;
inline constexpr size_t kSha1Size = 20;

// For the backends, whose libraries take 32-bit lengths: step(offset, length) over [0, size) in
// slices of at most 1 GiB (a whole number of AES blocks).
template <typename Step>
void InSlices(size_t size, Step step) {
  constexpr size_t kMaxSlice = size_t{1} << 30;
  for (size_t offset = 0; offset < size; offset += kMaxSlice)
    step(offset, std::min(kMaxSlice, size - offset));
}

// Fills bytes from the operating system's cryptographic random source; throws ZipError when
// the source fails (never falls back to predictable bytes). Safe to call from any thread.
void RandomBytes(uint8_t* bytes, size_t count);

// Where the random bytes of encryption headers and AES salts come from (tests give fixed ones).
// Fill may be called from several threads at once.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual void Fill(uint8_t* bytes, size_t count) = 0;
};

// RandomBytes as a RandomSource.
inline RandomSource& SystemRandom() {
  struct System : RandomSource {
    void Fill(uint8_t* bytes, size_t count) override { RandomBytes(bytes, count); }
  };
  static System system;
  return system;
}

// PBKDF2 with HMAC-SHA1 over the password bytes as given; throws ZipError on failure.
void Pbkdf2HmacSha1(std::string_view password, const uint8_t* salt, size_t saltSize, int iterations,
                    uint8_t* out, size_t outSize);

// AES block encryption with one key (128, 192 or 256 bits), for modes built on top of it.
class AesBlockCipher {
 public:
  AesBlockCipher(const uint8_t* key, size_t keySize);
  ~AesBlockCipher();
  AesBlockCipher(const AesBlockCipher&) = delete;
  AesBlockCipher& operator=(const AesBlockCipher&) = delete;

  // Encrypts `blocks` whole 16-byte blocks from in to out (they may be the same buffer).
  void EncryptBlocks(const uint8_t* in, uint8_t* out, size_t blocks);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Incremental HMAC-SHA1.
class HmacSha1 {
 public:
  HmacSha1(const uint8_t* key, size_t keySize);
  ~HmacSha1();
  HmacSha1(const HmacSha1&) = delete;
  HmacSha1& operator=(const HmacSha1&) = delete;

  void Update(const uint8_t* data, size_t size);
  // The 20-byte code of everything given so far; the object is used up afterwards.
  void Final(uint8_t out[kSha1Size]);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace brisko::zip::crypto
