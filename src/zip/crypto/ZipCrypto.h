// Traditional PKWARE encryption: the key schedule, byte encryption and the 12-byte member header.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "zip/crypto/CryptoPrimitives.h"

namespace brisko::zip {

class ZipEntry;

class ZipCrypto {
 public:
  // Resets the three keys and feeds every byte of the password (no normalisation).
  void InitKeys(std::string_view password);

  uint8_t EncryptByte(uint8_t plain);
  uint8_t DecryptByte(uint8_t cipher);
  void Encrypt(uint8_t* data, size_t count);
  void Decrypt(uint8_t* data, size_t count);

  // Initialises the keys from the password and returns the encrypted 12-byte header: ten random bytes,
  // then bits 16..23 and 24..31 of the CRC. The keys continue for the member data.
  std::array<uint8_t, 12> MakeHeader(std::string_view password, uint32_t crc,
                                     crypto::RandomSource& random = crypto::SystemRandom());

  // Initialises the keys from the password, decrypts the header in place and tells whether its last
  // byte equals the check byte. The keys continue for the member data.
  bool CheckHeader(std::string_view password, uint8_t header[12], uint8_t checkByte);

  // The check byte of a member: the high byte of the DOS time with a data descriptor (flag bit 3),
  // the high byte of the CRC-32 otherwise.
  static uint8_t CheckByte(const ZipEntry& entry);

  // `count` bytes of the operating system's cryptographic random source as lower-case hex digits
  // (unpredictable file names).
  static std::string RandomHex(size_t count);

 private:
  void UpdateKeys(uint8_t plain);
  template <bool kDecrypt>
  void Transform(uint8_t* data, size_t count);
  uint8_t StreamByte() const;

  uint32_t keys_[3] = {0x12345678, 0x23456789, 0x34567890};
};

}  // namespace brisko::zip
