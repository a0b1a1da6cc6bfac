// Decryption of one encrypted member's data, traditional or AES, as a stage between the archive and
// the decoder: the header in front of the data and the password check, in-place decryption, and for
// AES the authentication code behind the data.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "zip/crypto/AesEncryption.h"
#include "zip/crypto/ZipCrypto.h"
#include "zip/decode/ByteSource.h"
#include "zip/format/ZipRecords.h"

namespace brisko::zip {

// Whether this engine can decode the member: a known method, inside a readable AES field for method 99.
bool IsDecodable(const ZipEntry& entry);

class MemberDecryption {
 public:
  enum class Start { Ok, BadPassword, NoHeader };

  // Reads the header in front of the data of an encrypted member from the archive at the current
  // position (`archive`) and checks the password against it.
  // On Ok, DataSize() is the size of the encrypted data proper. NoHeader when the member is too small to
  // hold one; FatalExtractError when the archive ends inside it.
  Start Begin(const ZipEntry& entry, std::string_view password, ByteSource& archive);

  // Bytes in front of the data (traditional header, or AES salt and verifier).
  uint64_t PrefixSize() const { return prefix_; }
  uint64_t DataSize() const { return dataSize_; }
  void Decrypt(uint8_t* data, size_t size);
  // Whether an authentication code follows the data.
  bool Authenticates() const { return aes_ != nullptr; }
  // With `archive` standing behind the data: reads the authentication code and compares it. True when
  // the member carries none.
  bool Authentic(ByteSource& archive);

 private:
  ZipCrypto zipCrypto_;
  std::unique_ptr<AesDecoder> aes_;
  uint64_t prefix_ = 0;
  uint64_t dataSize_ = 0;
};

}  // namespace brisko::zip
