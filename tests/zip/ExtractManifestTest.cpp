// Extraction of every archive of the shared test data, checked against its manifest.
#include <gtest/gtest.h>

#include <map>

#include "Extraction.h"
#include "support/TestManifest.h"
#include "support/ThrownMessage.h"
#include "zip/format/ZipErrors.h"

namespace brisko::zip::test {
namespace {

uint32_t FileCrc(const std::string& path, uint64_t& size) {
  const std::vector<uint8_t> bytes = ReadBytes(path);
  size = bytes.size();
  return CrcOf(bytes);
}

class ExtractManifestTest : public ScratchDir {
 protected:
  // Extracts every archive of the folder whose manifest says "ok" and compares each member file.
  void ExtractFolder(const std::string& folder) {
    std::map<std::string, std::vector<ManifestRow>> archives;
    for (const ManifestRow& row : ReadManifest(folder)) archives[row.archive].push_back(row);
    for (const auto& [archive, rows] : archives) {
      if (rows.front().expectedResult.rfind("ok", 0) != 0) continue;
      SCOPED_TRACE(folder + "/" + archive);
      const std::string dest = P(archive + ".out");
      Extraction reader;
      reader.archive.SetZipName(TestDataPath(folder, archive));
      reader.options.destDir = dest;
      reader.options.doAll = true;
      reader.options.recreateDirs = true;
      reader.options.overwriteMode = OverwriteRule::Always;
      for (const ManifestRow& row : rows)
        if (!row.password.empty()) reader.options.password = row.password;
      ASSERT_NO_THROW(reader.Run());
      EXPECT_TRUE(reader.log.skipped.empty());
      EXPECT_TRUE(reader.log.badCrc.empty());
      EXPECT_EQ(reader.log.completeCalls, 1);
      EXPECT_EQ(reader.log.completeCount, static_cast<int>(rows.size()));
      for (const ManifestRow& row : rows) {
        if (row.IsDirectory()) {
          EXPECT_TRUE(fs::is_directory(FsPath(dest + "/" + row.member))) << row.member;
          continue;
        }
        uint64_t size = 0;
        const uint32_t crc = FileCrc(dest + "/" + row.member, size);
        EXPECT_EQ(size, row.uncompressedSize) << row.member;
        EXPECT_EQ(crc, row.crc) << row.member;
      }
    }
  }
};

TEST_F(ExtractManifestTest, EveryLegacyArchiveExtractsToItsManifest) {
  ExtractFolder("legacy");
}

TEST_F(ExtractManifestTest, EveryInteropArchiveExtractsToItsManifest) {
  ExtractFolder("interop");
}

TEST_F(ExtractManifestTest, CorruptedMembersReportTheirCrcAndLeaveNoFile) {
  for (const char* archive : {"crc_corrupt_data.zip", "crc_corrupt_field.zip"}) {
    SCOPED_TRACE(archive);
    const std::string dest = P(std::string(archive) + ".out");
    Extraction reader;
    reader.archive.SetZipName(TestDataPath("interop", archive));
    reader.options.destDir = dest;
    reader.options.doAll = true;
    reader.options.recreateDirs = true;
    ASSERT_NO_THROW(reader.Run());
    ASSERT_EQ(reader.log.badCrc.size(), 1u);
    EXPECT_EQ(reader.archive.Entry(reader.log.badCrc[0]).FileName(), "hello.txt");
    EXPECT_FALSE(fs::exists(dest + "/hello.txt"));
    EXPECT_EQ(FilesBelow(dest), std::vector<std::string>{"docs/nested/readme.txt"});
    for (auto& e : fs::directory_iterator(dest))  // no temporary file left behind
      EXPECT_EQ(e.path().filename().string().rfind(".brisko-", 0), std::string::npos);
  }
}

TEST_F(ExtractManifestTest, ArchivesWithoutEndRecordGiveIncompleteZipFile) {
  for (const char* archive : {"truncated_in_data.zip", "truncated_in_cd.zip", "no_cd_trailing_junk.zip"}) {
    SCOPED_TRACE(archive);
    Extraction reader;
    reader.archive.SetZipName(TestDataPath("interop", archive));
    reader.options.destDir = P("out");
    reader.options.doAll = true;
    EXPECT_EQ(ThrownMessage<IncompleteArchiveError>([&] { reader.Run(); }), "Incomplete Zip File");
    EXPECT_FALSE(fs::exists(P("out")) && !FilesBelow(P("out")).empty());
    EXPECT_EQ(reader.log.completeCalls, 0);  // the directory read failed before any run
  }
}

}  // namespace
}  // namespace brisko::zip::test
