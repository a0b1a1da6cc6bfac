// PBKDF2-HMAC-SHA1 on Nettle's SHA-1 compression function (which uses the CPU's SHA instructions
// where it has them). Every AES member derives its own key, so this runs once per member: the HMAC's
// inner and outer states are computed once per call, and each of the thousand iterations costs two
// compressions of one pre-padded block, where a general HMAC pays for copies and padding each time.
#include <nettle/sha1.h>

#include <array>
#include <cstring>
#include <string>

#include "zip/crypto/CryptoPrimitives.h"
#include "zip/format/ZipErrors.h"

namespace brisko::zip::crypto {

namespace {

constexpr size_t kBlock = SHA1_BLOCK_SIZE;    // 64
constexpr size_t kDigest = SHA1_DIGEST_SIZE;  // 20

using State = std::array<uint32_t, 5>;
constexpr State kInitialState = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};

void PutBigEndian(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value >> 24);
  at[1] = static_cast<uint8_t>(value >> 16);
  at[2] = static_cast<uint8_t>(value >> 8);
  at[3] = static_cast<uint8_t>(value);
}

void PutState(uint8_t* at, const State& state) {
  for (size_t i = 0; i < state.size(); ++i) PutBigEndian(at + 4 * i, state[i]);
}

// The state after one block of the key padded to the block size and xor-ed with the pad byte.
State KeyedState(const uint8_t (&key)[kBlock], uint8_t pad) {
  uint8_t block[kBlock];
  for (size_t i = 0; i < kBlock; ++i) block[i] = key[i] ^ pad;
  State state = kInitialState;
  nettle_sha1_compress(state.data(), block);
  return state;
}

// SHA-1 of (the keyed block behind `state`) + message, by Nettle's context from that state.
void FinishFrom(const State& state, const uint8_t* message, size_t size, const uint8_t* tail, size_t tailSize,
                uint8_t* digest) {
  sha1_ctx ctx;
  sha1_init(&ctx);
  std::memcpy(ctx.state, state.data(), sizeof ctx.state);
  ctx.count = 1;  // one block already compressed
  sha1_update(&ctx, size, message);
  if (tailSize) sha1_update(&ctx, tailSize, tail);
  sha1_digest(&ctx, kDigest, digest);
}

}  // namespace

void Pbkdf2HmacSha1(std::string_view password, const uint8_t* salt, size_t saltSize, int iterations,
                    uint8_t* out, size_t outSize) {
  if (iterations < 1) throw ZipError("Encryption library failure: key derivation");
  // HMAC's key: the password, or its digest when longer than a block; zero-padded.
  uint8_t key[kBlock] = {};
  if (password.size() > kBlock) {
    sha1_ctx ctx;
    sha1_init(&ctx);
    sha1_update(&ctx, password.size(), reinterpret_cast<const uint8_t*>(password.data()));
    sha1_digest(&ctx, kDigest, key);
  } else if (!password.empty()) {
    std::memcpy(key, password.data(), password.size());
  }
  const State inner = KeyedState(key, 0x36);
  const State outer = KeyedState(key, 0x5c);

  // The block every later iteration hashes: a 20-byte digest after a keyed block, padded to
  // 64 bytes with its length (84 bytes = 672 bits) in the last two.
  uint8_t block[kBlock] = {};
  block[kDigest] = 0x80;
  block[kBlock - 2] = (672 >> 8) & 0xff;
  block[kBlock - 1] = 672 & 0xff;

  for (uint32_t index = 1; outSize > 0; ++index) {
    uint8_t u[kDigest], t[kDigest], count[4];
    PutBigEndian(count, index);
    FinishFrom(inner, salt, saltSize, count, sizeof count, u);
    FinishFrom(outer, u, kDigest, nullptr, 0, u);
    std::memcpy(t, u, kDigest);
    for (int i = 1; i < iterations; ++i) {
      std::memcpy(block, u, kDigest);
      State state = inner;
      nettle_sha1_compress(state.data(), block);
      PutState(block, state);
      state = outer;
      nettle_sha1_compress(state.data(), block);
      PutState(u, state);
      for (size_t b = 0; b < kDigest; ++b) t[b] ^= u[b];
    }
    const size_t n = outSize < kDigest ? outSize : kDigest;
    std::memcpy(out, t, n);
    out += n;
    outSize -= n;
  }
}

}  // namespace brisko::zip::crypto
