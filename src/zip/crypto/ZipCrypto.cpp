// Traditional PKWARE encryption over the ZIP CRC-32 table.
#include "zip/crypto/ZipCrypto.h"

#include <zlib.h>

#include <vector>

#include "zip/crypto/CryptoPrimitives.h"
#include "zip/format/ZipRecords.h"

namespace brisko::zip {

namespace {
const z_crc_t* CrcTable() {
  static const z_crc_t* table = get_crc_table();
  return table;
}

uint32_t CrcStep(uint32_t crc, uint8_t b) {
  return (crc >> 8) ^ CrcTable()[(crc ^ b) & 0xFF];
}
}  // namespace

void ZipCrypto::UpdateKeys(uint8_t plain) {
  keys_[0] = CrcStep(keys_[0], plain);
  keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
  keys_[2] = CrcStep(keys_[2], static_cast<uint8_t>(keys_[1] >> 24));
}

uint8_t ZipCrypto::StreamByte() const {
  uint32_t temp = (keys_[2] & 0xFFFF) | 2;
  return static_cast<uint8_t>((temp * (temp ^ 1)) >> 8);
}

void ZipCrypto::InitKeys(std::string_view password) {
  keys_[0] = 0x12345678;
  keys_[1] = 0x23456789;
  keys_[2] = 0x34567890;
  for (char c : password) UpdateKeys(static_cast<uint8_t>(c));
}

uint8_t ZipCrypto::EncryptByte(uint8_t plain) {
  uint8_t cipher = plain ^ StreamByte();
  UpdateKeys(plain);
  return cipher;
}

uint8_t ZipCrypto::DecryptByte(uint8_t cipher) {
  uint8_t plain = cipher ^ StreamByte();
  UpdateKeys(plain);
  return plain;
}

// The loops of Encrypt and Decrypt keep the keys and the table in locals: stores through data could
// otherwise alias the keys and force a reload of every key for every byte.
template <bool kDecrypt>
void ZipCrypto::Transform(uint8_t* data, size_t count) {
  const z_crc_t* table = CrcTable();
  uint32_t k0 = keys_[0], k1 = keys_[1], k2 = keys_[2];
  for (size_t i = 0; i < count; ++i) {
    const uint32_t temp = (k2 & 0xFFFF) | 2;
    const auto stream = static_cast<uint8_t>((temp * (temp ^ 1)) >> 8);
    const uint8_t in = data[i];
    const uint8_t plain = kDecrypt ? static_cast<uint8_t>(in ^ stream) : in;
    data[i] = static_cast<uint8_t>(in ^ stream);
    k0 = (k0 >> 8) ^ table[(k0 ^ plain) & 0xFF];
    k1 = (k1 + (k0 & 0xFF)) * 134775813u + 1;
    k2 = (k2 >> 8) ^ table[(k2 ^ (k1 >> 24)) & 0xFF];
  }
  keys_[0] = k0;
  keys_[1] = k1;
  keys_[2] = k2;
}

void ZipCrypto::Encrypt(uint8_t* data, size_t count) {
  Transform<false>(data, count);
}

void ZipCrypto::Decrypt(uint8_t* data, size_t count) {
  Transform<true>(data, count);
}

std::array<uint8_t, 12> ZipCrypto::MakeHeader(std::string_view password, uint32_t crc,
                                              crypto::RandomSource& random) {
  std::array<uint8_t, 12> header{};
  random.Fill(header.data(), 10);
  header[10] = static_cast<uint8_t>(crc >> 16);
  header[11] = static_cast<uint8_t>(crc >> 24);
  InitKeys(password);
  Encrypt(header.data(), header.size());
  return header;
}

bool ZipCrypto::CheckHeader(std::string_view password, uint8_t header[12], uint8_t checkByte) {
  InitKeys(password);
  Decrypt(header, 12);
  return header[11] == checkByte;
}

uint8_t ZipCrypto::CheckByte(const ZipEntry& entry) {
  if (entry.HasDataDescriptor()) return static_cast<uint8_t>(entry.dateTime >> 8);
  return static_cast<uint8_t>(entry.crc32 >> 24);
}

std::string ZipCrypto::RandomHex(size_t count) {
  std::vector<uint8_t> bytes(count);
  crypto::RandomBytes(bytes.data(), count);
  static const char kHex[] = "0123456789abcdef";
  std::string text;
  for (uint8_t b : bytes) {
    text += kHex[b >> 4];
    text += kHex[b & 15];
  }
  return text;
}

}  // namespace brisko::zip
