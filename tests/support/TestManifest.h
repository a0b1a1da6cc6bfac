// The manifests of the test archives made by other tools: one row per member with its expected size
// and CRC.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brisko::test {

struct ManifestRow {
  std::string archive;
  std::string member;
  int method = 0;
  uint16_t flags = 0;
  uint64_t compressedSize = 0;
  uint64_t uncompressedSize = 0;
  uint32_t crc = 0;
  std::string expected;  // path below the folder, "-" for directories, "crc-only"
  std::string password;  // "" when none
  std::string expectedResult;

  bool IsDirectory() const { return !member.empty() && member.back() == '/'; }
};

// Rows of folder/MANIFEST.tsv (folder is "legacy" or "interop" below the test data folder). A missing
// or empty manifest fails the calling test: a loop over no rows would otherwise pass without checking.
std::vector<ManifestRow> ReadManifest(const std::string& folder);

// A file below the test data folder.
std::string TestDataPath(const std::string& folder, const std::string& name);

}  // namespace brisko::test
