// The one comparison of a local header with its central record, for testing and extracting alike.
#include "zip/format/LocalHeaderCheck.h"

#include <vector>

namespace brisko::zip {

namespace {
// Flags whose difference changes how the member's data is read.
constexpr uint16_t kDataFlags = kFlagEncrypted | kFlagDataDescriptor | kFlagStrongEncryption;
}  // namespace

std::string LocalHeaderDisagreement(const ZipEntry& central, const ZipEntry& local) {
  std::vector<const char*> fields;
  if (local.FullName() != central.FullName()) fields.push_back("name");
  if (local.compressionMethod != central.compressionMethod) fields.push_back("method");
  if ((local.flags & kDataFlags) != (central.flags & kDataFlags)) fields.push_back("flags");
  const bool zerosAllowed = local.HasDataDescriptor();
  auto differs = [&](uint64_t localValue, uint64_t centralValue) {
    return localValue != centralValue && !(zerosAllowed && localValue == 0);
  };
  if (differs(local.crc32, central.crc32)) fields.push_back("CRC");
  if (differs(local.compressedSize, central.compressedSize)) fields.push_back("compressed size");
  if (differs(local.uncompressedSize, central.uncompressedSize)) fields.push_back("size");
  if (fields.empty()) return {};
  std::string text = "local header differs from the central directory: ";
  for (size_t i = 0; i < fields.size(); ++i) text += (i ? ", " : "") + std::string(fields[i]);
  return text;
}

}  // namespace brisko::zip
