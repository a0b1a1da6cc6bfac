// Members decoded ahead by worker threads: files, events and check results stay those of a run that
// decodes each member itself, whichever members are damaged, skipped, too large or encrypted.
#include <gtest/gtest.h>

#include "EncryptedTestMember.h"
#include "Extraction.h"
#include "support/Files.h"
#include "support/ZipBuilder.h"
#include "zip/extract/ArchiveCheck.h"
#include "zip/format/ZipErrors.h"
#include "zip/write/PreparedMember.h"

namespace brisko::zip::test {
namespace {

enum class Outcome { Written, BadCrc, BadPassword, SkippedByHost };

struct Planned {
  TestMember member;
  std::string content;
  Outcome outcome = Outcome::Written;
};

std::string TextOf(int i) {
  std::string text;
  for (int n = 0; n < 40 + 37 * i; ++n)
    text += "line " + std::to_string(n * i) + " of member " + std::to_string(i) + "\n";
  return text;
}

// Many small members for the workers, and among them one of each kind they hand back to the run.
std::vector<Planned> MixedMembers() {
  std::vector<Planned> plan;
  for (int i = 0; i < 24; ++i) {
    const std::string name = "d" + std::to_string(i % 3) + "/f" + std::to_string(i) + ".txt";
    const std::string text = TextOf(i);
    plan.push_back({DeflatedMember(name, Bytes(text)), text});
  }
  plan[5].member.crc ^= 1;
  plan[5].outcome = Outcome::BadCrc;
  plan[8].member = EncryptedMember(plan[8].member, "right");
  plan[9].member = EncryptedMember(plan[9].member, "other");
  plan[9].outcome = Outcome::BadPassword;
  plan[11].member = EncryptedMember(StoredMember(plan[11].member.name, plan[11].content), "right");
  plan[15].outcome = Outcome::SkippedByHost;
  const std::string large(static_cast<size_t>(kWholeMemberLimit) + 1000, 'L');
  plan[18] = {StoredMember("large.txt", large), large};
  return plan;
}

class DecodeAheadTest : public ScratchDir {
 protected:
  std::string MakeZip(const std::vector<Planned>& plan) {
    std::vector<TestMember> members;
    for (const Planned& p : plan) members.push_back(p.member);
    WriteBytes(P("a.zip"), BuildZip(members));
    return P("a.zip");
  }
  void Prepare(Extraction& reader) {
    reader.archive.SetZipName(P("a.zip"));
    reader.options.destDir = P("out");
    reader.options.doAll = true;
    reader.options.recreateDirs = true;
    reader.options.password = "right";
  }
};

TEST_F(DecodeAheadTest, EveryMemberEndsAsWithoutWorkers) {
  const std::vector<Planned> plan = MixedMembers();
  MakeZip(plan);
  Extraction reader;
  Prepare(reader);
  std::vector<int> started;
  reader.onStartUnZip = [&](int index, const std::string& target) -> std::optional<std::string> {
    started.push_back(index);
    if (plan[static_cast<size_t>(index)].outcome == Outcome::SkippedByHost) return std::nullopt;
    return target;
  };
  const int count = reader.Run();
  int written = 0;
  std::vector<std::string> ended;
  for (size_t i = 0; i < plan.size(); ++i) {
    const Planned& p = plan[i];
    SCOPED_TRACE(p.member.name);
    EXPECT_EQ(started[i], static_cast<int>(i));
    const std::string path = P("out/" + p.member.name);
    if (p.outcome == Outcome::Written) {
      EXPECT_EQ(Read(path), p.content);
      ended.push_back(path);
      ++written;
    } else {
      EXPECT_FALSE(fs::exists(path));
    }
  }
  EXPECT_EQ(reader.log.ended, ended);  // in the archive's order
  EXPECT_EQ(reader.log.badCrc, std::vector<int>{5});
  ASSERT_EQ(reader.log.skipped.size(), 1u);
  EXPECT_EQ(reader.log.skipped[0].first, SkipReason::BadPassword);
  EXPECT_EQ(count, written);
  EXPECT_EQ(reader.log.completeCount, written);
  EXPECT_EQ(reader.log.lastTotalPercent, 100);

  const ArchiveCheck check = CheckArchive(P("a.zip"), "right");
  EXPECT_EQ(check.members, 24);
  ASSERT_EQ(check.problems.size(), 2u);
  EXPECT_EQ(check.problems[0].member, plan[5].member.name);
  EXPECT_EQ(check.problems[1].member, plan[9].member.name);
  EXPECT_EQ(check.problems[1].reason, "password not accepted");
}

TEST_F(DecodeAheadTest, CancelStopsAtTheNextMember) {
  std::vector<Planned> plan = MixedMembers();
  plan.resize(15);
  MakeZip(plan);
  Extraction reader;
  Prepare(reader);
  reader.onEndUnZip = [&] { reader.cancel = reader.log.ended.size() == 3; };
  EXPECT_THROW(reader.Run(), CanceledError);
  EXPECT_EQ(reader.log.completeCount, 3);
  EXPECT_EQ(FilesBelow(P("out")).size(), 3u);  // and no temporary file
}

}  // namespace
}  // namespace brisko::zip::test
