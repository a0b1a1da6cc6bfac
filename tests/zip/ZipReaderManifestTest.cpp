// The reader against every archive of the shared test set: names, methods, flags, sizes and CRCs as
// listed in MANIFEST.tsv, and the documented errors of the damaged ones.
#include <gtest/gtest.h>

#include <map>

#include "support/TestManifest.h"
#include "support/ThrownMessage.h"
#include "zip/format/ZipErrors.h"
#include "zip/read/ArchiveDirectory.h"

namespace brisko::zip {
namespace {

using test::ManifestRow;
using test::ThrownMessage;

std::map<std::string, std::vector<ManifestRow>> ArchivesOf(const std::string& folder) {
  std::map<std::string, std::vector<ManifestRow>> out;
  for (const ManifestRow& row : test::ReadManifest(folder)) out[row.archive].push_back(row);
  return out;
}

bool IsDamaged(const ManifestRow& row) {
  return row.expectedResult.rfind("archive error", 0) == 0;
}

const ZipEntry* FindEntry(const ArchiveDirectory& reader, const std::string& stored) {
  for (int i = 0; i < reader.EntryCount(); ++i) {
    if (reader.Entry(i).StoredName() == stored) return &reader.Entry(i);
  }
  return nullptr;
}

void ExpectMember(const ArchiveDirectory& reader, const ManifestRow& row, const std::string& label) {
  const ZipEntry* e = FindEntry(reader, row.member);
  ASSERT_NE(e, nullptr) << label << ": " << row.member;
  EXPECT_EQ(e->compressionMethod, row.method) << label << ": " << row.member;
  EXPECT_EQ(e->compressedSize, row.compressedSize) << label << ": " << row.member;
  EXPECT_EQ(e->uncompressedSize, row.uncompressedSize) << label << ": " << row.member;
  // The CRC column is that of the expected content; a damaged CRC field differs on purpose.
  if (row.expectedResult != "CRC mismatch") {
    EXPECT_EQ(e->crc32, row.crc) << label << ": " << row.member;
  }
}

TEST(ZipReaderManifest, ListsEveryIntactArchive) {
  int archives = 0;
  for (const char* folder : {"interop", "legacy"}) {
    for (const auto& [archive, rows] : ArchivesOf(folder)) {
      if (IsDamaged(rows[0])) continue;
      const std::string label = std::string(folder) + "/" + archive;
      ArchiveDirectory reader;
      reader.SetZipName(test::TestDataPath(folder, archive));
      ASSERT_NO_THROW(reader.ReadDirectory()) << label;
      EXPECT_EQ(reader.EntryCount(), static_cast<int>(rows.size())) << label;
      for (const ManifestRow& row : rows) {
        ExpectMember(reader, row, label);
        const ZipEntry* e = FindEntry(reader, row.member);
        if (e) {
          EXPECT_EQ(e->flags, row.flags) << label << ": " << row.member;
        }
      }
      ++archives;
    }
  }
  EXPECT_GT(archives, 40);
}

// Answers the question about a missing end record with a rule, counting the questions.
struct IncompleteAnswer : ArchiveObserver {
  explicit IncompleteAnswer(IncompleteArchiveRule rule) : rule(rule) {}
  std::optional<IncompleteArchiveRule> OnIncompleteZip(IncompleteArchiveRule) override {
    ++calls;
    return rule;
  }
  IncompleteArchiveRule rule;
  int calls = 0;
};

TEST(ZipReaderManifest, DamagedArchivesGiveTheirErrorsOrTheirSalvage) {
  int damaged = 0;
  for (const auto& [archive, rows] : ArchivesOf("interop")) {
    if (!IsDamaged(rows[0])) continue;
    ++damaged;
    const std::string path = test::TestDataPath("interop", archive);

    ArchiveDirectory quiet;  // default: assume a part of a multi-disk set, no handler: no entries, no error
    quiet.SetZipName(path);
    EXPECT_NO_THROW(quiet.ReadDirectory()) << archive;
    EXPECT_EQ(quiet.EntryCount(), 0) << archive;
    EXPECT_FALSE(quiet.DirectoryLoaded()) << archive;
    EXPECT_EQ(quiet.ZipName(), path) << archive;

    IncompleteAnswer answer(IncompleteArchiveRule::AssumeMulti);
    ArchiveDirectory told({}, &answer);
    told.SetZipName(path);
    EXPECT_EQ(ThrownMessage<IncompleteArchiveError>([&] { told.ReadDirectory(); }), "Incomplete Zip File")
        << archive;
    EXPECT_EQ(answer.calls, 2) << archive;  // the first answer gets one more try

    ArchiveDirectory notZip;
    notZip.Options().incompleteZipMode = IncompleteArchiveRule::AssumeNotAZip;
    notZip.SetZipName(path);
    EXPECT_EQ(ThrownMessage<NotAnArchiveError>([&] { notZip.ReadDirectory(); }), "Not a valid zip file!")
        << archive;

    ArchiveDirectory salvage;
    salvage.Options().incompleteZipMode = IncompleteArchiveRule::AssumeBad;
    salvage.SetZipName(path);
    ASSERT_NO_THROW(salvage.ReadDirectory()) << archive;
    int present = 0;
    for (const ManifestRow& row : rows) {
      if (row.expectedResult.find("member missing") != std::string::npos) continue;
      ++present;
      ExpectMember(salvage, row, archive + " (repaired)");
    }
    EXPECT_EQ(salvage.EntryCount(), present) << archive;
  }
  EXPECT_EQ(damaged, 3);
}

TEST(ZipReaderManifest, HandlerMayChooseRepairOnTheSecondTry) {
  IncompleteAnswer answer(IncompleteArchiveRule::AssumeBad);
  ArchiveDirectory reader({}, &answer);
  reader.SetZipName(test::TestDataPath("interop", "truncated_in_cd.zip"));
  reader.ReadDirectory();
  EXPECT_EQ(reader.EntryCount(), 8);
}

TEST(ZipReaderManifest, CommentsLoadOnDemand) {
  ArchiveDirectory reader;
  reader.SetZipName(test::TestDataPath("interop", "iz30_comments.zip"));
  reader.ReadDirectory();
  std::map<std::string, std::string> comments;
  for (int i = 0; i < reader.EntryCount(); ++i) {
    EXPECT_FALSE(reader.Entry(i).HasFileComment());
    comments[reader.Entry(i).StoredName()] = reader.EntryComment(i);
  }
  EXPECT_EQ(comments["hello.txt"], "One-line comment for hello.txt");
  EXPECT_EQ(comments["hamlet_part.txt"], "Comment for hamlet_part.txt (Act I excerpt)");
  EXPECT_EQ(comments["docs/"], "Comment on the docs/ directory entry");
  EXPECT_EQ(comments["docs/nested/readme.txt"], "Comment on docs/nested/readme.txt");
  EXPECT_EQ(comments["empty.dat"], "");
  EXPECT_EQ(reader.ZipComment().rfind("Archive comment written by zip -z, line 1\r\nline 2", 0), 0u);
}

TEST(ZipReaderManifest, CentralExtraFieldsAreSkippedAndCleared) {
  ArchiveDirectory reader;
  reader.SetZipName(test::TestDataPath("interop", "iz30_extra_fields.zip"));
  reader.ReadDirectory();
  ASSERT_EQ(reader.EntryCount(), 8);
  for (int i = 0; i < reader.EntryCount(); ++i) EXPECT_EQ(reader.Entry(i).extraFieldLength, 0) << i;
}

TEST(ZipReaderManifest, UnadjustedPrefixIsCompensated) {
  ArchiveDirectory adjusted, unadjusted;
  adjusted.SetZipName(test::TestDataPath("interop", "sfx_prefix_adjusted.zip"));
  unadjusted.SetZipName(test::TestDataPath("interop", "sfx_prefix_unadjusted.zip"));
  adjusted.ReadDirectory();
  unadjusted.ReadDirectory();
  ASSERT_EQ(adjusted.EntryCount(), unadjusted.EntryCount());
  for (int i = 0; i < adjusted.EntryCount(); ++i) {
    EXPECT_EQ(adjusted.Entry(i).StoredName(), unadjusted.Entry(i).StoredName());
    EXPECT_EQ(adjusted.Entry(i).relativeOffset, unadjusted.Entry(i).relativeOffset) << i;
  }
  EXPECT_GE(unadjusted.Entry(0).relativeOffset, 4096u);
}

}  // namespace
}  // namespace brisko::zip
