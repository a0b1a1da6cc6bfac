// Shared set-up of the backup-run, scheduler and brisko-backup tests: temporary folders, a
// hand-written project.ini, a model with a manual clock and scripted answers.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ScriptedInteraction.h"
#include "core/DateTimeValue.h"
#include "core/IniFile.h"
#include "core/ManualClock.h"
#include "core/view/MainModel.h"
#include "platform/Platform.h"
#include "support/Commands.h"
#include "support/Files.h"
#include "support/OutputThrough.h"
#include "support/RawZipScan.h"
#include "support/TempDir.h"
#include "zip/extract/ArchiveCheck.h"
#include "zip/io/FileStream.h"
#include "zip/io/ZipStream.h"

namespace brisko::core::test {

using namespace ::brisko::test;
namespace fs = std::filesystem;

using Keys = std::vector<std::pair<std::string, std::string>>;

inline DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return *TryEncodeDate(y, mo, d) + *TryEncodeTime(h, mi, s);
}

// unzip's test of every member; where no POSIX shell runs unzip, the engine's own check.
inline bool UnzipTestOk(const std::string& archive) {
  if (platform::kWindows) return zip::CheckArchive(archive, "").Ok();
  return RunShell("unzip -tq " + ShellQuote(archive) + " >/dev/null 2>&1").exitCode == 0;
}

// Member names as unzip lists them (sorted); where no POSIX shell runs unzip, as the independent scan
// of the central directory reads them.
inline std::vector<std::string> ZipMembers(const std::string& archive) {
  std::vector<std::string> names;
  if (platform::kWindows) {
    for (const RawMember& member : ScanRawZip(ReadBytes(archive))) names.push_back(member.name);
    std::sort(names.begin(), names.end());
    return names;
  }
  names = Lines(RunShell("unzip -Z1 " + ShellQuote(archive) + " 2>/dev/null").out);
  std::sort(names.begin(), names.end());
  return names;
}

class BackupFixture : public ::testing::Test {
 protected:
  // Also called again to start over with a fresh tree.
  void SetUp() override {
    MakeTreeWritable(tmp.Path());
    for (const auto& entry : fs::directory_iterator(root)) fs::remove_all(entry.path());
    data = root / "data";
    src = root / "src";
    dest = root / FsPath("dëst");  // a name beyond ASCII reaches the system intact
    fs::create_directories(data);
    fs::create_directories(src);
    fs::create_directories(dest);
    dataDir = data.string() + "/";
    WriteFile("a.txt", "alpha alpha alpha alpha\n");
    WriteFile("b.txt", "bravo\n");
    WriteFile("sub/c.txt", "charlie charlie\n");
  }
  void WriteFile(const std::string& rel, const std::string& content) {
    const fs::path p = src / rel;
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << content;
  }

  // The keys of a project as the program writes them; `overrides` replace or add keys.
  Keys ProjectKeys(const Keys& overrides = {}) const {
    Keys keys = {
        {"Filename prefix", "Docs"},
        {"Suffix", "2"},
        {"Increase Value", "1"},
        {"Value", "0"},
        {"Save Path", Utf8Of(dest) + platform::kPathDelim},
        {"Backup Directory Count", "1"},
        {"Backup0", src.string() + "/*.*"},
        {"No Backup Directory Count", "0"},
        {"Whether include Subdirectory", "1"},
        {"Whether password Project", "0"},
        {"Password", ""},
        {"Whether store path in Zip", "0"},
        {"Whether store comment in Zip", "0"},
        {"Comment", ""},
        {"BackupMode", "3"},
        {"PackLevel", "6"},
        {"Store Number", "50"},
        {"isUseNew", "0"},
        {"isUseToday", "0"},
        {"NewDateTime", "2024-01-01 12:00:00"},
    };
    for (const auto& [key, value] : overrides) {
      auto it = std::find_if(keys.begin(), keys.end(), [&](const auto& kv) { return kv.first == key; });
      if (it != keys.end())
        it->second = value;
      else
        keys.emplace_back(key, value);
    }
    return keys;
  }

  // Writes project.ini by hand: Common (with `common` added) and one section per project.
  void WriteProjectIni(const std::vector<std::pair<std::string, Keys>>& projects, const Keys& common = {}) {
    std::ofstream ini(data / "project.ini", std::ios::binary);
    ini << "[Common]\r\nProject Count=" << projects.size() << "\r\n";
    for (size_t i = 0; i < projects.size(); ++i) ini << "Count" << i << "=" << projects[i].first << "\r\n";
    if (!projects.empty()) ini << "Last Project=" << projects[0].first << "\r\n";
    for (const auto& [key, value] : common) ini << key << "=" << value << "\r\n";
    for (const auto& [name, keys] : projects) {
      ini << "\r\n[" << name << "]\r\n";
      for (const auto& [key, value] : keys) ini << key << "=" << value << "\r\n";
    }
  }
  void WriteOneProject(const Keys& overrides = {}, const Keys& common = {}) {
    WriteProjectIni({{"Docs", ProjectKeys(overrides)}}, common);
  }

  IniFile ProjectIni() const { return IniFile((data / "project.ini").string()); }
  IniFile LogIni() const { return IniFile((data / "log.txt").string()); }

  std::unique_ptr<MainModel> StartModel() {
    auto model = std::make_unique<MainModel>(dataDir, clock, ui);
    model->Start();
    return model;
  }

  // File names in the destination folder, sorted.
  std::vector<std::string> DestFiles() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dest)) names.push_back(Utf8Of(e.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string DestPath(const std::string& name) const { return Utf8Of(dest / name); }

  // The newest log entry's field (Log<Log Total>).
  std::string LastLog(const std::string& key) const {
    const int total = LogIni().ReadInteger("Common", "Log Total", 0);
    return LogIni().ReadString("Log" + std::to_string(total), key, "");
  }

  void SetMTime(const std::string& rel, DateTime localMoment) {
    ASSERT_TRUE(platform::SetLastWriteTime((src / rel).string(), ToTimeT(localMoment)));
  }

  TempDir tmp{"backup"};
  const fs::path root = FsPath(tmp.Path());
  fs::path data, src, dest;
  std::string dataDir;
  ManualClock clock{At(2024, 3, 5, 14, 7, 9)};
  ScriptedInteraction ui;
};

}  // namespace brisko::core::test
