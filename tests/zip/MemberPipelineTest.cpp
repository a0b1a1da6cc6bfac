// Tests of the member pipeline: the archive does not depend on the thread count, members passed over
// are dropped, and a cancelled run stops and leaves no archive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WriterTestSupport.h"
#include "zip/MemberPipeline.h"
#include "zip/ZipExceptions.h"
#include "zip/ZipWriter.h"

using namespace brisko::zip;
using namespace brisko::ziptest;

namespace {

class MemberPipelineTest : public ScratchDir {
 protected:
  // Small and large (read whole or streamed), text and random, empty, never-deflated and folder entries.
  std::vector<std::string> MixedFiles() {
    std::vector<std::string> files;
    for (int i = 0; i < 40; ++i)
      files.push_back(Write("src/t" + std::to_string(i) + ".txt", TextOf(static_cast<size_t>(i) * 997)));
    files.push_back(Write("src/random.bin", RandomText(300000, 7)));
    files.push_back(Write("src/empty.txt", ""));
    files.push_back(Write("src/photo.jpg", TextOf(5000)));
    files.push_back(Write("src/large.txt", TextOf(kWholeMemberLimit + 12345)));
    files.push_back(Write("src/large.bin", RandomText(kWholeMemberLimit + 6789, 9)));
    files.push_back(P("src/"));
    return files;
  }

  std::string ZipWith(const std::vector<std::string>& files, const std::string& name, int threads,
                      const std::string& password) {
    fs::remove(P(name));
    TZipWriter w;
    w.SetZipName(P(name));
    w.Threads = threads;
    w.Password = password;
    w.RandomSource = [](uint8_t* out, size_t n) {
      for (size_t i = 0; i < n; ++i) out[i] = static_cast<uint8_t>(i * 31 + 5);
    };
    w.NoCompressList = {"*.jpg"};
    w.FilesList = files;
    EXPECT_EQ(w.Zip(), 46);
    return Read(P(name));
  }
};

TEST_F(MemberPipelineTest, ArchiveIsTheSameForAnyThreadCount) {
  const std::vector<std::string> files = MixedFiles();
  for (const std::string password : {"", "secret"}) {
    const std::string one = ZipWith(files, "one.zip", 1, password);
    EXPECT_TRUE(ZipWith(files, "two.zip", 2, password) == one) << password;
    EXPECT_TRUE(ZipWith(files, "four.zip", 4, password) == one) << password;
  }
  // The plain archive checked by the reference reader (its decryption is too slow for megabytes).
  ZipWith(files, "four.zip", 4, "");
  std::string listing;
  EXPECT_EQ(PythonCheck(P("four.zip"), "", P("src"), &listing), 0) << listing;
  // Random data is found out on a sample and stored, small or large.
  EXPECT_NE(listing.find("random.bin\t0\t"), std::string::npos) << listing;
  EXPECT_NE(listing.find("large.bin\t0\t"), std::string::npos) << listing;
  EXPECT_NE(listing.find("large.txt\t8\t"), std::string::npos) << listing;
}

TEST_F(MemberPipelineTest, SkippedMembersAreDroppedAndTheRestFollowInOrder) {
  std::vector<std::string> files;
  for (int i = 0; i < 100; ++i) files.push_back(Write("s/f" + std::to_string(i) + ".txt", TextOf(1000 + i)));
  TZipWriter w;
  w.SetZipName(P("skip.zip"));
  w.Threads = 2;
  w.FilesList = files;
  int seen = 0;
  w.OnStartZip = [&](TZipWriter&, const std::string&, TZipHeaderInfo&, bool& skip) {
    skip = seen++ % 3 != 0;
  };
  EXPECT_EQ(w.Zip(), 34);
  std::string listing;
  EXPECT_EQ(PythonCheck(P("skip.zip"), "", P("s"), &listing), 0) << listing;
  EXPECT_EQ(listing.find("f1.txt"), std::string::npos);
  EXPECT_NE(listing.find("f99.txt"), std::string::npos);
}

TEST_F(MemberPipelineTest, TakeHandsOverEachJobOnceAndNullForWhatIsNotPrepared) {
  const std::string small = Write("a.txt", TextOf(5000));
  std::vector<MemberPipeline::Job> jobs = {{small, false}, {P("missing"), false}, {"", false}, {small, true}};
  MemberPipeline pipeline(jobs, 6, 2);
  auto first = pipeline.Take(0);
  ASSERT_TRUE(first);
  EXPECT_TRUE(first->Deflated());
  EXPECT_EQ(first->raw.size(), 5000u);
  EXPECT_FALSE(pipeline.Take(1));
  EXPECT_FALSE(pipeline.Take(2));
  auto stored = pipeline.Take(3);
  ASSERT_TRUE(stored);
  EXPECT_FALSE(stored->Deflated());
  EXPECT_EQ(stored->crc, first->crc);
}

TEST_F(MemberPipelineTest, CancelStopsTheRunAndRemovesThePartialArchive) {
  std::vector<std::string> files;
  for (int i = 0; i < 200; ++i)
    files.push_back(Write("c/f" + std::to_string(i) + ".bin", RandomText(20000, i)));
  TZipWriter w;
  w.SetZipName(P("cancel.zip"));
  w.Threads = 2;
  w.FilesList = files;
  int ended = 0;
  w.OnEndZip = [&](TZipWriter& sender, const std::string&, int64_t, int64_t, int64_t) {
    if (++ended == 50) sender.Cancel();
  };
  EXPECT_THROW(w.Zip(), EUserCanceled);
  EXPECT_LE(ended, 51);
  EXPECT_FALSE(fs::exists(P("cancel.zip")));
}

}  // namespace
