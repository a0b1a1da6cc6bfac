#include "support/TestManifest.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace brisko::test {

std::vector<ManifestRow> ReadManifest(const std::string& folder) {
  std::vector<ManifestRow> rows;
  const std::string path = TestDataPath(folder, "MANIFEST.tsv");
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

std::string TestDataPath(const std::string& folder, const std::string& name) {
  return std::string(BRISKO_TESTDATA_DIR) + "/" + folder + "/" + name;
}

}  // namespace brisko::test
