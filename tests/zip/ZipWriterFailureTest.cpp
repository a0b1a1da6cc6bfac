// Tests of write job failures: full disk (injected and by file-size limit), cancel, partial output removal.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <memory>

#include "TestWriter.h"
#include "support/Commands.h"
#include "support/OutputThrough.h"
#include "support/ScratchDir.h"
#include "support/TestEnvironment.h"
#include "support/ThrownMessage.h"
#include "zip/format/ZipErrors.h"
#include "zip/io/FileStream.h"
#include "zip/write/WriteJob.h"

using namespace brisko::zip;
using namespace brisko::test;

namespace {

// A file stream that accepts only a given number of bytes in total, then reports a full device.
class FailingFileStream : public FileStream {
 public:
  explicit FailingFileStream(uint64_t limit) : limit_(limit) {}
  size_t Write(const void* buffer, size_t n) override {
    if (Position() >= limit_) return 0;
    size_t allowed = static_cast<size_t>(std::min<uint64_t>(n, limit_ - Position()));
    return FileStream::Write(buffer, allowed);
  }

 private:
  uint64_t limit_;
};

class ZipWriterFailureTest : public ScratchDir {};

TEST_F(ZipWriterFailureTest, FullDeviceDeletesThePartialArchive) {
  std::string big = Write("big.bin", RandomText(600000, 3));
  std::string small = Write("small.txt", TextOf(20000));
  for (uint64_t limit : {10u, 100u, 5000u, 300000u, 600050u}) {
    SCOPED_TRACE(limit);
    TestWriter w;
    bool completed = false;
    w.onZipComplete = [&](int) { completed = true; };
    OutputThrough output([limit](const std::string& path) {
      return OpenAs<FailingFileStream>(path, FileMode::Create, limit);
    });
    w.Options().outputOpener = &output;
    w.SetZipName(P("full.zip"));
    w.Options().filesList = {small, big};
    EXPECT_EQ(ThrownMessage<NotEnoughRoomError>([&] { w.Run(); }), "Not enough room to write archive");
    EXPECT_FALSE(completed);
    EXPECT_FALSE(fs::exists(P("full.zip")));
    EXPECT_TRUE(w.Options().filesList.empty());
  }
}

TEST_F(ZipWriterFailureTest, FailedUpdateLeavesTheOldArchiveUntouched) {
  std::string a = Write("a.txt", TextOf(30000));
  std::string b = Write("b.bin", RandomText(300000, 5));
  TestWriter w;
  w.SetZipName(P("keep.zip"));
  w.Options().filesList = {a};
  w.Run();
  const std::string before = Read(P("keep.zip"));
  std::string tempName;
  OutputThrough output([&](const std::string& path) {
    tempName = path;
    return OpenAs<FailingFileStream>(path, FileMode::Create, 2000);
  });
  w.Options().outputOpener = &output;
  w.Options().filesList = {b};
  EXPECT_THROW(w.Run(), NotEnoughRoomError);
  EXPECT_EQ(Read(P("keep.zip")), before);
  EXPECT_FALSE(tempName.empty());
  EXPECT_FALSE(fs::exists(tempName));
}

TEST_F(ZipWriterFailureTest, ArchivesAreNeverWrittenThroughPlantedLinks) {
  BRISKO_POSIX_ONLY("symbolic links");
  const std::string a = Write("a.txt", TextOf(3000));
  fs::create_symlink(P("victim"), P("planted.zip"));
  TestWriter w;
  w.SetZipName(P("planted.zip"));
  w.Options().filesList = {a};
  EXPECT_THROW(w.Run(), ZipError);
  EXPECT_FALSE(fs::exists(P("victim")));
  EXPECT_TRUE(fs::is_symlink(P("planted.zip")));
}

TEST_F(ZipWriterFailureTest, UpdatesKeepModeAndLinkAndLeaveNoTemporaryFile) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  const std::string a = Write("a.txt", TextOf(3000));
  const std::string b = Write("b.txt", TextOf(4000));
  fs::create_directories(P("real"));
  fs::create_directories(P("tmp"));
  TestWriter first;
  first.SetZipName(P("real/archive.zip"));
  first.Options().filesList = {a};
  first.Run();
  fs::permissions(P("real/archive.zip"),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(P("real/archive.zip"), P("link.zip"));

  TestWriter w;
  w.Options().tempPath = P("tmp");
  w.SetZipName(P("link.zip"));
  w.Options().filesList = {b};
  EXPECT_EQ(w.Run(), 1);
  EXPECT_TRUE(fs::is_symlink(P("link.zip")));
  EXPECT_EQ(fs::status(P("real/archive.zip")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  std::string members;
  EXPECT_EQ(Shell("unzip -Z1 " + ShellQuote(P("real/archive.zip")) + " | sort", &members), 0);
  EXPECT_EQ(members, "a.txt\nb.txt\n");
  EXPECT_TRUE(fs::is_empty(P("tmp")));

  // An update that fails leaves no temporary file either.
  Write("bad.zip", "not an archive");
  w.SetZipName(P("bad.zip"));
  w.Options().filesList = {a};
  EXPECT_THROW(w.Run(), NotAnArchiveError);
  EXPECT_TRUE(fs::is_empty(P("tmp")));
  EXPECT_EQ(Read(P("bad.zip")), "not an archive");
}

TEST_F(ZipWriterFailureTest, FileSizeLimitActsAsAFullDisk) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX only: a file-size limit set on a child process";
#else
  std::string big = Write("big.bin", RandomText(400000, 9));
  std::string archive = P("limited.zip");
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The child writes under a 64 KiB file-size limit; the write fails with EFBIG instead of a signal.
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {
      65536, 65536
    };
    ::setrlimit(RLIMIT_FSIZE, &limit);
    int code = 10;
    try {
      TestWriter w;
      w.SetZipName(archive);
      w.Options().filesList = {big};
      w.Run();
      code = 11;
    } catch (const NotEnoughRoomError&) {
      code = fs::exists(archive) ? 12 : 0;
    } catch (...) {
      code = 13;
    }
    ::_exit(code);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "10 nothing, 11 no error, 12 archive left, 13 other error";
#endif
}

TEST_F(ZipWriterFailureTest, StopNowAndCancelRaiseUserCanceled) {
  std::string a = Write("a.txt", TextOf(900000));
  {
    TestWriter w;
    w.SetZipName(P("stop.zip"));
    w.onStartZipInfo = [](int, int64_t) { return JobStart::Cancel; };
    w.Options().filesList = {a};
    EXPECT_EQ(ThrownMessage<CanceledError>([&] { w.Run(); }), "User canceled Zip operation");
    EXPECT_FALSE(fs::exists(P("stop.zip")));
  }
  {
    TestWriter w;
    w.SetZipName(P("cancel.zip"));
    w.Options().packLevel = 0;
    w.cancel = true;
    w.Options().filesList = {a};
    EXPECT_THROW(w.Run(), CanceledError);
    EXPECT_FALSE(fs::exists(P("cancel.zip")));
  }
}

}  // namespace
