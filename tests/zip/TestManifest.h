// Reads MANIFEST.tsv of the shared test archives: one row per member with its expected size and CRC.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace brisko::zip::test {

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
inline std::vector<ManifestRow> ReadManifest(const std::string& folder) {
  std::vector<ManifestRow> rows;
  const std::string path = std::string(BRISKO_TESTDATA_DIR) + "/" + folder + "/MANIFEST.tsv";
  std::ifstream in(path);
  if (!in) {
    ADD_FAILURE() << "test data missing: " << path;
    return rows;
  }
  std::string line;
  std::getline(in, line);  // column names
  while (std::getline(in, line)) {
    std::vector<std::string> cols;
    std::stringstream ss(line);
    std::string col;
    while (std::getline(ss, col, '\t')) cols.push_back(col);
    if (cols.size() < 14) continue;
    ManifestRow r;
    r.archive = cols[0];
    r.member = cols[1];
    r.method = std::stoi(cols[2]);
    r.flags = static_cast<uint16_t>(std::stoul(cols[4], nullptr, 16));
    r.compressedSize = std::stoull(cols[5]);
    r.uncompressedSize = std::stoull(cols[6]);
    r.crc = static_cast<uint32_t>(std::stoul(cols[7], nullptr, 16));
    r.expected = cols[8];
    r.password = cols[9] == "-" ? "" : cols[9];
    r.expectedResult = cols[13];
    rows.push_back(r);
  }
  if (rows.empty()) ADD_FAILURE() << "no rows in " << path;
  return rows;
}

inline std::string TestDataPath(const std::string& folder, const std::string& name) {
  return std::string(BRISKO_TESTDATA_DIR) + "/" + folder + "/" + name;
}

inline std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace brisko::zip::test
