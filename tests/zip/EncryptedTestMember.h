// A hand-built member encrypted with the traditional method, for the extraction tests.
#pragma once

#include <string>
#include <vector>

#include "support/FixedRandom.h"
#include "support/ZipBuilder.h"
#include "zip/crypto/ZipCrypto.h"

namespace brisko::test {

// The member's data behind a traditional encryption header (check byte from the CRC). The header's
// bytes are fixed, so a wrong password fails the one-byte check on every run.
inline TestMember EncryptedMember(TestMember m, const std::string& password) {
  zip::ZipCrypto crypto;
  FixedRandom random;
  const auto header = crypto.MakeHeader(password, m.crc, random);
  std::vector<uint8_t> data(header.begin(), header.end());
  std::vector<uint8_t> body = m.data;
  crypto.Encrypt(body.data(), body.size());
  data.insert(data.end(), body.begin(), body.end());
  m.data = data;
  m.flags |= 1;
  return m;
}

inline TestMember EncryptedMember(const std::string& name, const std::string& content,
                                  const std::string& password) {
  return EncryptedMember(StoredMember(name, content), password);
}

}  // namespace brisko::test
