// The extra field (0x9901) that marks a member as encrypted with AES and names the method inside.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brisko::zip {

inline constexpr uint16_t kMethodAes = 99;
inline constexpr uint16_t kExtraAes = 0x9901;
inline constexpr uint16_t kVersionAes = 51;       // version needed to extract an AES member
inline constexpr size_t kAesExtraFieldSize = 11;  // header id, length and 7 data bytes
inline constexpr size_t kAesVerifierSize = 2;
inline constexpr size_t kAesAuthCodeSize = 10;
inline constexpr uint8_t kAesStrength256 = 3;

// The 0x9901 extra field: format version (1 = AE-1 keeps the CRC, 2 = AE-2 stores CRC 0), key
// strength (1, 2, 3 = 128, 192, 256 bits) and the compression method of the data inside.
struct AesField {
  uint16_t vendorVersion = 2;
  uint8_t strength = kAesStrength256;
  uint16_t method = 0;

  bool operator==(const AesField&) const = default;
  // False for strengths and versions this engine cannot read.
  bool Known() const { return (vendorVersion == 1 || vendorVersion == 2) && strength >= 1 && strength <= 3; }
  size_t KeySize() const { return 8u * (strength + 1); }
  size_t SaltSize() const { return 4u * (strength + 1); }
  // Salt, verifier and authentication code around the encrypted data.
  size_t Overhead() const { return SaltSize() + kAesVerifierSize + kAesAuthCodeSize; }
  // Whether the CRC-32 field holds the real CRC (AE-1) or 0 (AE-2).
  bool KeepsCrc() const { return vendorVersion == 1; }
  // Number of bits as shown to users: 128, 192 or 256.
  int Bits() const { return 64 * (strength + 1); }

  // Reads the data part of the field (behind its id and length); none when malformed.
  static std::optional<AesField> Parse(std::string_view data);
  // The whole field (id, length, data) as stored.
  std::string Bytes() const;
};

}  // namespace brisko::zip
