// Round trips through other ZIP tools: archives made by zip, 7-Zip and Python's zipfile extract to the
// same bytes and the same last-write times (DOS times have 2-second steps, so the sources use even seconds).
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "Extraction.h"

namespace brisko::zip::test {
namespace {

struct SourceFile {
  std::string path;
  std::string content;
};

class ExtractRoundTripTest : public ScratchDir {
 protected:
  void SetUp() override {
    ScratchDir::SetUp();
    std::mt19937 rng(7);
    std::string random(200000, '\0');
    for (char& c : random) c = static_cast<char>(rng());
    files_ = {{"hello.txt", "Hello, round trip!\r\n"},
              {"empty.dat", ""},
              {"bin/random.bin", random},
              {"bin/zeros.bin", std::string(100000, '\0')},
              {"nested/a/b/c/deep.txt", "deep down"},
              {"\xC3\xBCn\xC3\xAF/\xE6\x97\xA5\xE6\x9C\xAC.txt", "utf-8 names"},
              {"spaces in name.txt", "spaced"}};
    std::time_t when = 1600000000;  // even
    for (const SourceFile& f : files_) {
      Write(P("src/" + f.path), f.content);
      platform::SetLastWriteTime(P("src/" + f.path), when);
      when += 86400 + 3602;  // stays even
    }
  }

  // Runs command in the source folder; false when it fails.
  bool Make(const std::string& command) {
    return Shell("cd " + ShellQuote(P("src")) + " && " + command) == 0;
  }

  // An archive another tool makes in the source folder (command), and the password it was given.
  struct Made {
    std::string command, archive, password;
  };
  void MakeAndCompare(const std::vector<Made>& archives) {
    for (const Made& made : archives) {
      SCOPED_TRACE(made.command);
      ASSERT_TRUE(Make(made.command));
      ExtractAndCompare(P(made.archive), made.password);
    }
  }

  void ExtractAndCompare(const std::string& archive, const std::string& password) {
    const std::string dest = P("out-" + fs::path(archive).stem().string());
    Extraction reader;
    reader.archive.SetZipName(archive);
    reader.options.destDir = dest;
    reader.options.doAll = true;
    reader.options.recreateDirs = true;
    reader.options.password = password;
    ASSERT_NO_THROW(reader.Run());
    EXPECT_TRUE(reader.log.skipped.empty());
    EXPECT_TRUE(reader.log.badCrc.empty());
    for (const SourceFile& f : files_) {
      SCOPED_TRACE(f.path);
      const std::string out = dest + "/" + f.path;
      ASSERT_TRUE(fs::exists(out));
      EXPECT_EQ(Read(out), f.content);
      EXPECT_EQ(platform::StatFile(out).lastWrite, platform::StatFile(P("src/" + f.path)).lastWrite);
    }
  }

  std::vector<SourceFile> files_;
};

TEST_F(ExtractRoundTripTest, InfoZip) {
  BRISKO_REQUIRE_TOOL("zip");
  MakeAndCompare({{"zip -q -r -X ../deflated.zip .", "deflated.zip", ""},
                  {"zip -q -r -X -0 ../stored.zip .", "stored.zip", ""},
                  {"zip -q -r -X -P 'pa$$ word' ../encrypted.zip .", "encrypted.zip", "pa$$ word"}});
}

TEST_F(ExtractRoundTripTest, SevenZip) {
  BRISKO_REQUIRE_TOOL("7zz");
  MakeAndCompare(
      {{"7zz a -tzip -bd ../seven.zip .", "seven.zip", ""},
       {"7zz a -tzip -bd -mx=0 ../seven-stored.zip .", "seven-stored.zip", ""},
       {"7zz a -tzip -bd -psecret -mem=ZipCrypto ../seven-crypt.zip .", "seven-crypt.zip", "secret"}});
}

TEST_F(ExtractRoundTripTest, PythonZipfile) {
  BRISKO_REQUIRE_TOOL("python3");
  const std::string script =
      "import os, sys, zipfile\n"
      "for name, method in (('../py-deflated.zip', zipfile.ZIP_DEFLATED), ('../py-stored.zip', "
      "zipfile.ZIP_STORED)):\n"
      "    with zipfile.ZipFile(name, 'w', method) as z:\n"
      "        for root, dirs, files in os.walk('.'):\n"
      "            for f in files:\n"
      "                p = os.path.join(root, f)\n"
      "                z.write(p, os.path.relpath(p, '.'))\n";
  Write(P("make.py"), script);
  ASSERT_TRUE(Make("python3 '" + P("make.py") + "'"));
  ExtractAndCompare(P("py-deflated.zip"), "");
  ExtractAndCompare(P("py-stored.zip"), "");
}

TEST_F(ExtractRoundTripTest, OwnWriter) {
  BRISKO_SKIP_WITHOUT_POSIX_SHELL();
  const std::string tool = ShellQuote(ProgramPath("brisko-zip"));
  MakeAndCompare({{tool + " a -r ../own.zip .", "own.zip", ""},
                  {tool + " a -0 -r ../own-stored.zip .", "own-stored.zip", ""},
                  {tool + " a -9 -r -P 'own pass' ../own-crypt.zip .", "own-crypt.zip", "own pass"}});
}

}  // namespace
}  // namespace brisko::zip::test
