// Shared set-up of the restore tests: a model with scripted answers, an archive folder, a target
// folder, and archives made by `zip` or by the project's writer.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ScriptedInteraction.h"
#include "core/DateTimeValue.h"
#include "core/IniFile.h"
#include "core/ManualClock.h"
#include "core/view/ArchiveBrowser.h"
#include "core/view/MainModel.h"
#include "core/view/RestoreCommands.h"
#include "platform/CivilDate.h"
#include "platform/Platform.h"
#include "support/Commands.h"
#include "support/Files.h"
#include "support/FixedRandom.h"
#include "support/TempDir.h"
#include "zip/read/ArchiveDirectory.h"
#include "zip/write/WriteJob.h"

namespace brisko::core::test {

using namespace ::brisko::test;
namespace fs = std::filesystem;

using platform::LocalMomentToTime;

class RestoreFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* d : {"data", "src", "archives", "target"}) fs::create_directories(root / d);
    dataDir = (root / "data").string() + "/";
    model = std::make_unique<MainModel>(dataDir, clock, ui);
    model->Projects().push_back("Docs");
    model->SetSelected(0);
    browser = std::make_unique<ArchiveBrowser>(model->Settings(), reader);
    commands = std::make_unique<RestoreCommands>(*model, *browser, reader);
    commands->openDocument = [this](const std::string& path) {
      opened.push_back(path);
      return true;
    };
    WriteSource("a.txt", "alpha alpha alpha\n", LocalMomentToTime(2024, 3, 1, 10, 0, 0));
    WriteSource("sub/b.txt", std::string(3000, 'b'), LocalMomentToTime(2024, 3, 2, 11, 30, 4));
  }
  void TearDown() override {
    commands.reset();
    browser.reset();
    model.reset();
  }

  std::string Src(const std::string& rel) const { return (root / "src" / rel).string(); }
  std::string Archives(const std::string& rel = "") const { return (root / "archives" / rel).string(); }
  std::string Target(const std::string& rel = "") const { return (root / "target" / rel).string(); }

  void WriteSource(const std::string& rel, const std::string& content, std::time_t mtime) {
    WriteFileAt(Src(rel), content, mtime);
  }
  static void WriteFileAt(const std::string& path, const std::string& content, std::time_t mtime = 0) {
    WriteFile(path, content);
    if (mtime != 0) platform::SetLastWriteTime(path, mtime);
  }

  // An archive of the source folder made by `zip` (relative names a.txt, sub/b.txt; options "-0" and
  // "-P password" as zip reads them). Where no POSIX shell runs zip, the project's writer stores the
  // same members.
  std::string ZipWithCli(const std::string& name, const std::string& options = "") {
    if (platform::kWindows) return ZipLikeCli(name, options);
    std::string archive = Archives(name);
    std::string cmd = "cd " + ShellQuote((root / "src").string()) + " && zip -q -r -X " + options + " " +
                      ShellQuote(archive) + " a.txt sub/b.txt >/dev/null 2>&1";
    EXPECT_EQ(RunShell(cmd).exitCode, 0) << cmd;
    return archive;
  }

  // The members ZipWithCli stores, written by the project's writer with fixed header bytes: a wrong
  // password then fails the one-byte header check on every run, not on 255 runs out of 256.
  std::string ZipLikeCli(const std::string& name, const std::string& options = "") {
    std::string archive = Archives(name);
    zip::WriteOptions write;
    write.rootDir = (root / "src").string();
    write.relativePaths = true;
    write.filesList = {Src("a.txt"), Src("sub/b.txt")};
    if (options == "-0") write.packLevel = 0;
    if (options.rfind("-P ", 0) == 0) write.password = options.substr(3);
    write.randomSource = &fixedRandom;
    zip::WriteJob writer(std::move(write));
    writer.SetZipName(archive);
    writer.Run();
    return archive;
  }

  // An archive of the source folder written by the project's writer, with stored folders.
  std::string ZipWithWriter(const std::string& name, const std::string& password = "",
                            zip::MemberEncryption encryption = zip::MemberEncryption::Traditional) {
    std::string archive = Archives(name);
    zip::WriteOptions options;
    options.rootDir = (root / "src").string();
    options.relativePaths = true;
    options.recurse = true;
    options.password = password;
    options.encryption = encryption;
    options.filesList = {(root / "src").string() + "/*.*"};
    options.randomSource = &fixedRandom;
    zip::WriteJob writer(std::move(options));
    writer.SetZipName(archive);
    writer.Run();
    return archive;
  }

  // Lists the archive folder and selects the row of `name`.
  void Browse(const std::string& name = "") {
    browser->SetDirectoryView(Archives());
    if (name.empty()) return;
    for (size_t i = 0; i < browser->Archives().size(); ++i)
      if (browser->Archives()[i].name == name) browser->SelectRow(static_cast<int>(i));
    ASSERT_EQ(browser->CurrentName(), name);
  }

  IniFile LogIni() const { return IniFile(dataDir + "log.txt"); }
  std::string LastLog(const std::string& key) const {
    const int total = LogIni().ReadInteger("Common", "Log Total", 0);
    return LogIni().ReadString("Log" + std::to_string(total), key, "");
  }
  int LogTotal() const { return LogIni().ReadInteger("Common", "Log Total", 0); }

  // The texts of the timed messages shown so far.
  std::vector<std::string> TimedTexts() const {
    std::vector<std::string> out;
    for (const auto& c : ui.CallsOf("ShowTimedMessage")) out.push_back(c.text);
    return out;
  }

  TempDir tmp{"restore"};
  const fs::path root = FsPath(tmp.Path());
  std::string dataDir;
  ManualClock clock{*TryEncodeDate(2024, 5, 6) + *TryEncodeTime(9, 0, 0)};
  ScriptedInteraction ui;
  zip::ArchiveDirectory reader;
  std::unique_ptr<MainModel> model;
  std::unique_ptr<ArchiveBrowser> browser;
  std::unique_ptr<RestoreCommands> commands;
  std::vector<std::string> opened;
  FixedRandom fixedRandom;
};

}  // namespace brisko::core::test
