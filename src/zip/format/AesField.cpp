// Reading and writing the AES extra field.
#include "zip/format/AesField.h"

#include <vector>

#include "zip/format/ByteIO.h"

namespace brisko::zip {

namespace {
constexpr uint16_t kVendorId = 0x4541;  // "AE"
}  // namespace

std::optional<AesField> AesField::Parse(std::string_view data) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
  uint16_t version = 0, vendor = 0, method = 0;
  if (data.size() < 7 || !GetLE16(bytes, data.size(), 0, version) ||
      !GetLE16(bytes, data.size(), 2, vendor) || !GetLE16(bytes, data.size(), 5, method) ||
      vendor != kVendorId)
    return std::nullopt;
  return AesField{version, bytes[4], method};
}

std::string AesField::Bytes() const {
  std::vector<uint8_t> out;
  PutLE16(out, kExtraAes);
  PutLE16(out, 7);
  PutLE16(out, vendorVersion);
  PutLE16(out, kVendorId);
  out.push_back(strength);
  PutLE16(out, method);
  return std::string(out.begin(), out.end());
}

}  // namespace brisko::zip
