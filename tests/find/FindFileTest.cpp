// The file finder: targets, property errors, filters end to end, events and aborting.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "find/FindFile.h"
#include "platform/CivilDate.h"
#include "support/TempDir.h"
#include "support/ThrownMessage.h"

namespace brisko::find {
namespace {

using brisko::test::TempDir;
using brisko::test::ThrownMessage;

struct Hits {
  std::vector<std::string> paths;  // folder + "/" + name
  int completed = 0;
  void Attach(FindFile& ff) {
    ff.onFound = [this](FindFile&, const std::string& folder, FoundFile& rec) {
      paths.push_back(folder + "/" + rec.name);
    };
    ff.onComplete = [this](FindFile&) { ++completed; };
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> out;
    for (const auto& p : paths) out.push_back(std::filesystem::path(p).filename().string());
    std::sort(out.begin(), out.end());
    return out;
  }
};

TEST(FindFile, PropertyErrorsKeepTheOldValue) {
  FindFile ff;
  EXPECT_EQ(ff.Filename(), "*.*");
  EXPECT_EQ(ThrownMessage<FinderError>([&] { ff.SetFilename("sub/a.txt"); }),
            "sub/a.txt\n\rInvalid filename specified");
  EXPECT_EQ(ff.Filename(), "*.*");
  ff.SetLocation("/tmp");
  EXPECT_EQ(ThrownMessage<FinderError>([&] { ff.SetLocation("/tmp/*"); }),
            "/tmp/*\n\rlocation cannot to be contained wildcards");
  EXPECT_THROW(ff.SetLocation("/a?b"), FinderError);
  EXPECT_EQ(ff.Location(), "/tmp");
}

TEST(FindFile, TargetsFromLocationAndFilename) {
  TempDir dir;
  FindFile ff;
  ff.SetLocation(dir.Path() + ";" + dir.Path() + ";" + dir.Path() + "/sub/..");
  ff.SetFilename("readme");
  EXPECT_EQ(ff.BuildTargets(), std::vector<std::string>{dir.Path("readme.*")});
  ff.SetFilename("");
  EXPECT_EQ(ff.BuildTargets(), std::vector<std::string>{dir.Path("*.*")});
  ff.SetIncludeFiles({"/x/*.a", "/y/*.b"});
  EXPECT_EQ(ff.BuildTargets(), (std::vector<std::string>{"/x/*.a", "/y/*.b"}));
  ff.SetLocation("");  // the current folder
  ff.SetIncludeFiles({});
  ff.SetFilename("*.zip");
  EXPECT_EQ(ff.BuildTargets(),
            std::vector<std::string>{(std::filesystem::current_path() / "").string() + "*.zip"});
}

TEST(FindFile, ArchivesOfOneFolderOnly) {
  TempDir dir;
  dir.Write("a.zip", "1");
  dir.Write("B.ZIP", "2");
  dir.Write("c.txt", "3");
  dir.Write(".hidden.zip", "4");
  dir.Write("sub/d.zip", "5");
  dir.MakeDir("folder.zip");
  FindFile ff;
  ff.SetFilename("*.zip");
  ff.SetLocation(dir.Path());
  ff.subfolders = false;
  Hits hits;
  hits.Attach(ff);
  ff.Execute();
  EXPECT_EQ(hits.Names(), (std::vector<std::string>{"B.ZIP", "a.zip"}));
  EXPECT_EQ(hits.completed, 1);
  EXPECT_FALSE(ff.Busy());
  ASSERT_FALSE(hits.paths.empty());
  EXPECT_EQ(std::filesystem::path(hits.paths[0]).parent_path().string(), dir.Path());
}

TEST(FindFile, SubfoldersNewFolderAndIgnore) {
  TempDir dir;
  dir.Write("a.txt", "");
  dir.Write("one/b.txt", "");
  dir.Write("one/deep/c.txt", "");
  dir.Write("skip/d.txt", "");
  dir.Write(".dot/e.txt", "");
  FindFile ff;
  ff.SetLocation(dir.Path());
  Hits hits;
  hits.Attach(ff);
  std::vector<std::string> folders;
  ff.onNewFolder = [&](FindFile&, const std::string& folder, bool& ignore) {
    EXPECT_FALSE(ignore);
    folders.push_back(folder);
    ignore = std::filesystem::path(folder).filename() == "skip";
  };
  ff.Execute();
  EXPECT_EQ(hits.Names(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
  EXPECT_EQ(folders,
            (std::vector<std::string>{dir.Path(), dir.Path("one"), dir.Path("one/deep"), dir.Path("skip")}));
}

TEST(FindFile, ExcludeSizeAndContaining) {
  TempDir dir;
  dir.Write("keep.txt", "hello world");
  dir.Write("drop.log", "hello world");
  dir.Write("tmp/x.txt", "hello world");
  dir.Write("big.txt", std::string(100, 'h') + "hello");
  dir.Write("other.txt", "nothing here");
  FindFile ff;
  ff.SetLocation(dir.Path());
  ff.SetExcludeFiles({"*.log", "tmp/"});
  ff.sizeMax = 50;
  ff.containing = "HELLO";
  Hits hits;
  hits.Attach(ff);
  ff.Execute();
  EXPECT_EQ(hits.Names(), std::vector<std::string>{"keep.txt"});
}

TEST(FindFile, ModifiedAfterWholeDate) {
  TempDir dir;
  dir.Write("late.txt", "", platform::LocalMomentToTime(2024, 5, 10, 23, 0, 0));
  dir.Write("early.txt", "", platform::LocalMomentToTime(2024, 5, 10, 0, 0, 2));
  dir.Write("before.txt", "", platform::LocalMomentToTime(2024, 5, 9, 23, 59, 58));
  FindFile ff;
  ff.SetLocation(dir.Path());
  ff.modifiedAfter = 45422;  // 2024-05-10
  Hits hits;
  hits.Attach(ff);
  ff.Execute();
  EXPECT_EQ(hits.Names(), (std::vector<std::string>{"early.txt", "late.txt"}));
}

TEST(FindFile, SearchRecordCarriesSizeAndDosTime) {
  TempDir dir;
  dir.Write("f.bin", std::string(1234, 'z'), platform::LocalMomentToTime(2023, 7, 1, 12, 34, 56));
  FindFile ff;
  ff.SetLocation(dir.Path());
  FoundFile got;
  ff.onFound = [&](FindFile&, const std::string&, FoundFile& rec) { got = rec; };
  ff.Execute();
  EXPECT_EQ(got.name, "f.bin");
  EXPECT_EQ(got.size, 1234u);
  EXPECT_EQ(got.time, (43u << 9 | 7u << 5 | 1u) << 16 | (12u << 11 | 34u << 5 | 28u));
}

TEST(FindFile, HandlerAbortsButCompletes) {
  TempDir dir;
  dir.Write("a.txt", "");
  dir.Write("b.txt", "");
  const std::pair<const char*, std::function<void(FindFile&)>> ways[] = {
      {"exception", [](FindFile&) { throw std::runtime_error("stop"); }},
      {"Abort", [](FindFile& sender) { sender.Abort(); }},
  };
  for (const auto& [label, stop] : ways) {
    SCOPED_TRACE(label);
    FindFile ff;
    ff.SetLocation(dir.Path());
    int found = 0, completed = 0;
    ff.onFound = [&](FindFile& sender, const std::string&, FoundFile&) {
      ++found;
      stop(sender);
    };
    ff.onComplete = [&](FindFile&) { ++completed; };
    EXPECT_NO_THROW(ff.Execute());
    EXPECT_EQ(found, 1);
    EXPECT_EQ(completed, 1);
    EXPECT_TRUE(ff.Aborted());
  }
}

}  // namespace
}  // namespace brisko::find
