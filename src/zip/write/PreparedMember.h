// The data of one file member made ready before it is written: the file's bytes read whole, their
// CRC-32, the text guess and the deflated form. Depends only on the bytes and the level, so members
// can be prepared on any thread and still give the same archive.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "zip/codec/DeflateCodec.h"
#include "zip/crypto/CryptoPrimitives.h"
#include "zip/format/AesField.h"
#include "zip/io/ZipStream.h"

namespace brisko::zip {

// Files up to this size are read whole and deflated in one call; larger ones are streamed.
constexpr uint64_t kWholeMemberLimit = 8u << 20;

// AES-256 encryption of prepared members, done where they are prepared (on the worker threads too):
// the key derivation and the cipher run in parallel like the deflating.
struct AesSeal {
  std::string password;  // empty: members stay plain (traditional encryption is the writer's)
  crypto::RandomSource* random = &crypto::SystemRandom();  // source of the salts; called from any thread
  bool On() const { return !password.empty(); }
};

struct PreparedMember {
  std::vector<uint8_t> raw;
  std::vector<uint8_t> packed;  // the deflated data; empty when the member is stored
  uint32_t crc = 0;
  bool text = false;
  // Set when sealed with AES: salt and password verifier before the data, authentication code behind
  // it; the data the member keeps (packed, or raw when stored) is then encrypted in place.
  std::string aesPrefix;
  std::array<uint8_t, kAesAuthCodeSize> aesCode{};
  bool changed = false;  // the file changed during each of its reads; raw holds the last

  bool Deflated() const { return !packed.empty(); }
  bool Sealed() const { return !aesPrefix.empty(); }
  // The bytes that go into the archive (before any encryption).
  const std::vector<uint8_t>& Data() const { return Deflated() ? packed : raw; }
};

// Reads the rest of `in` into raw. False when it holds more than limit bytes (raw then holds a part)
// or when a read fails (readError gets the error number).
bool ReadWhole(ZipStream& in, uint64_t limit, std::vector<uint8_t>& raw, int& readError);

// Fills crc, text and packed from raw (deflater null stores the member), then seals it when the
// seal is on.
void PrepareMember(PreparedMember& member, BufferDeflater* deflater, const AesSeal& seal = {});

}  // namespace brisko::zip
