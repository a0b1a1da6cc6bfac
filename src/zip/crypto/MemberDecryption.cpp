// Encrypted member data: password check, decryption and authentication.
#include "zip/crypto/MemberDecryption.h"

#include <vector>

#include "zip/decode/MemberDecoder.h"
#include "zip/format/ZipErrors.h"

namespace brisko::zip {

bool IsDecodable(const ZipEntry& entry) {
  if (entry.compressionMethod == kMethodAes)
    return entry.aes && entry.aes->Known() && entry.IsEncrypted() && IsSupportedMethod(entry.aes->method);
  return IsSupportedMethod(entry.compressionMethod);
}

MemberDecryption::Start MemberDecryption::Begin(const ZipEntry& entry, std::string_view password,
                                                ByteSource& archive) {
  aes_.reset();
  if (entry.compressionMethod == kMethodAes && entry.aes) {
    const AesField& field = *entry.aes;
    prefix_ = field.SaltSize() + kAesVerifierSize;
    if (entry.compressedSize < field.Overhead()) return Start::NoHeader;
    std::vector<uint8_t> header(prefix_);
    if (archive.Read(header.data(), header.size()) != header.size())
      throw FatalExtractError(kMsgPrematureEnd);
    aes_ = AesDecoder::Open(password, field, header.data());
    if (!aes_) return Start::BadPassword;
    dataSize_ = entry.compressedSize - field.Overhead();
    return Start::Ok;
  }
  prefix_ = kEncryptionHeaderSize;
  uint8_t header[kEncryptionHeaderSize];
  if (entry.compressedSize < kEncryptionHeaderSize) return Start::NoHeader;
  if (archive.Read(header, sizeof header) != sizeof header) throw FatalExtractError(kMsgPrematureEnd);
  if (!zipCrypto_.CheckHeader(password, header, ZipCrypto::CheckByte(entry))) return Start::BadPassword;
  dataSize_ = entry.compressedSize - kEncryptionHeaderSize;
  return Start::Ok;
}

void MemberDecryption::Decrypt(uint8_t* data, size_t size) {
  if (aes_)
    aes_->Decrypt(data, size);
  else
    zipCrypto_.Decrypt(data, size);
}

bool MemberDecryption::Authentic(ByteSource& archive) {
  if (!aes_) return true;
  uint8_t code[kAesAuthCodeSize];
  return archive.Read(code, sizeof code) == sizeof code && aes_->Authentic(code);
}

}  // namespace brisko::zip
