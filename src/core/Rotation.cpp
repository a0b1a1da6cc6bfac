// The ring of kept archives per project in StoreNumber.txt.
#include "core/Rotation.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <vector>

#include "core/IniFile.h"
#include "core/SettingsFiles.h"
#include "core/TextUtil.h"
#include "platform/PathRules.h"
#include "platform/Platform.h"
#include "zip/names/ZipPaths.h"

namespace brisko::core {
namespace {

// Rings are never wider than the largest keep count; a hand-edited Max beyond it is read as that.
constexpr int kMaxSlots = 50000;

constexpr const char* kChainCount = "Chain Count";
constexpr const char* kChainStem = "Chain";
constexpr const char* kHeldCount = "Held Count";
constexpr const char* kHeldStem = "Held";
constexpr const char* kLastArchive = "Last Archive";
constexpr const char* kLastArchiveStamp = "Last Archive Stamp";

// Size and modification time: what tells a file from its replacement by someone else.
std::string StampOf(const platform::FileStat& st) {
  return std::to_string(st.size) + " " + std::to_string(static_cast<long long>(st.lastWrite));
}

std::string SlotKey(int slot) {
  return "N" + std::to_string(slot);
}
std::string Placeholder(int slot) {
  return "NoFile" + std::to_string(slot);
}

bool IsPlaceholder(const std::string& text) {
  if (text.size() <= 6 || text.compare(0, 6, "NoFile") != 0) return false;
  return std::all_of(text.begin() + 6, text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The slot number of a key "N<slot>" (decimal, no leading zero), or 0.
int SlotOfKey(const std::string& key) {
  if (key.size() < 2 || key.size() > 7 || (key[0] != 'N' && key[0] != 'n') || key[1] == '0') return 0;
  int slot = 0;
  for (size_t i = 1; i < key.size(); ++i) {
    if (key[i] < '0' || key[i] > '9') return 0;
    slot = slot * 10 + (key[i] - '0');
  }
  return slot;
}

// Slot values of a section read in one pass; the first of duplicate keys wins, as on reading.
std::map<int, std::string> SlotValues(const IniDocument& doc, const std::string& section, int maxSlot) {
  std::map<int, std::string> slots;
  for (const auto& [key, value] : doc.Values(section)) {
    int slot = SlotOfKey(key);
    if (slot >= 1 && slot <= maxSlot) slots.emplace(slot, value);
  }
  return slots;
}

// The ring's entries oldest first (slots never written read as their placeholder).
std::vector<std::string> RingByAge(const IniDocument& doc, const std::string& section, int max, int head) {
  const std::map<int, std::string> slots = SlotValues(doc, section, max);
  std::vector<std::string> byAge;
  for (int i = 1; i <= max; ++i) {
    int slot = ((head + i - 1) % max + max) % max + 1;
    auto it = slots.find(slot);
    byAge.push_back(it != slots.end() ? it->second : Placeholder(slot));
  }
  return byAge;
}

IniFile StoreNumberFile(const std::string& dataDir) {
  return IniFile(StoreNumberPath(dataDir));
}

void CopySection(IniDocument& doc, const std::string& from, const std::string& to) {
  int max = std::min(doc.ReadInteger(from, "Max", 2), kMaxSlots);
  doc.WriteInteger(to, "Max", max);
  doc.WriteInteger(to, "Head", doc.ReadInteger(from, "Head", 0));
  for (int k = 1; k <= max; ++k) {
    std::string value = doc.ReadString(from, SlotKey(k), "");
    if (!value.empty()) doc.WriteString(to, SlotKey(k), value);
  }
  for (const char* list : {kChainStem, kHeldStem}) {
    const std::string countKey = std::string(list) + " Count";
    if (doc.ValueExists(from, countKey))
      doc.WriteList(to, countKey, list, doc.ReadList(from, countKey, list));
  }
  for (const char* key : {kLastArchive, kLastArchiveStamp})
    if (doc.ValueExists(from, key)) doc.WriteString(to, key, doc.ReadString(from, key, ""));
}

}  // namespace

bool SamePath(const std::string& a, const std::string& b) {
  return platform::PathKey(a) == platform::PathKey(b);
}

void DeleteArchiveFile(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path p = fs::u8path(path);
  if (path.empty() || fs::is_directory(fs::symlink_status(p, ec))) return;
  fs::remove(p, ec);  // failures are ignored by design
}

size_t RotateArchives(const std::string& dataDir, const std::string& projectName, SuffixKind suffix,
                      int keepCount, const std::string& archivePath, const ArchiveDeleter& deleter,
                      ArchiveScope scope) {
  if (suffix == SuffixKind::None) return 0;
  const std::string section = TrimBlanks(projectName);
  const int k = std::max(keepCount, 1);
  std::vector<std::string> doomed;
  std::vector<std::string> held;

  IniDocument doc;
  // Record first: if the write is refused, no archive has been deleted.
  StoreNumberFile(dataDir).Update([&](IniDocument& stored) {
    const int max = std::min(stored.ReadInteger(section, "Max", 2), kMaxSlots);
    int head = stored.ReadInteger(section, "Head", 0);
    const std::vector<std::string> byAge = RingByAge(stored, section, max, head);

    std::vector<std::string> chain = stored.ReadList(section, kChainCount, kChainStem);
    if (scope == ArchiveScope::Full) {
      chain.clear();
    } else if (!stored.ValueExists(section, kChainCount)) {
      // Recorded before chains were: the ring's archives may be the base of this one.
      for (const std::string& path : byAge)
        if (!IsPlaceholder(path)) chain.push_back(path);
    }
    chain.push_back(archivePath);

    if (k < max) {
      // The keep count was lowered: the oldest max - k archives go, the rest move to slots 1..k.
      doomed.assign(byAge.begin(), byAge.begin() + (max - k));
      for (int slot = 1; slot <= k; ++slot)
        stored.WriteString(section, SlotKey(slot), byAge[static_cast<size_t>(max - k + slot - 1)]);
      head = k;
    }
    stored.WriteInteger(section, "Max", k);
    if (k < head || head < 0) head = 0;
    head = head % k + 1;
    stored.WriteInteger(section, "Head", head);
    doomed.push_back(stored.ReadString(section, SlotKey(head), ""));
    stored.WriteString(section, SlotKey(head), archivePath);

    // Archives of the chain are held, not deleted; held ones a new chain no longer needs go.
    std::set<std::string> inChain;
    for (const std::string& path : chain) inChain.insert(platform::PathKey(path));
    const std::vector<std::string> wasHeld = stored.ReadList(section, kHeldCount, kHeldStem);
    doomed.insert(doomed.begin(), wasHeld.begin(), wasHeld.end());
    std::set<std::string> heldKeys;
    std::vector<std::string> deletable;
    for (const std::string& path : doomed) {
      if (path.empty() || IsPlaceholder(path)) continue;
      const std::string key = platform::PathKey(path);
      if (inChain.count(key) == 0) {
        deletable.push_back(path);
      } else if (heldKeys.insert(key).second) {
        held.push_back(path);
      }
    }
    doomed = std::move(deletable);
    stored.WriteList(section, kChainCount, kChainStem, chain);
    stored.WriteList(section, kHeldCount, kHeldStem, held);
    doc = stored;
  });

  // Never delete what the ring still keeps: the archive just written (a name that repeats, as two
  // runs within one second may give) or a path held by another slot.
  std::set<std::string> kept;
  for (const auto& [slot, value] : SlotValues(doc, section, k))
    if (!value.empty()) kept.insert(platform::PathKey(value));
  for (const std::string& path : held) kept.insert(platform::PathKey(path));
  kept.insert(platform::PathKey(archivePath));
  for (const std::string& path : doomed) {
    if (kept.count(platform::PathKey(path))) continue;
    deleter(path);
  }
  // A held archive also in the ring counts once.
  size_t beyond = 0;
  std::set<std::string> inRing;
  for (const auto& [slot, value] : SlotValues(doc, section, k)) inRing.insert(platform::PathKey(value));
  for (const std::string& path : held) beyond += inRing.count(platform::PathKey(path)) == 0;
  return beyond;
}

std::vector<std::string> HeldArchives(const std::string& dataDir, const std::string& projectName) {
  return StoreNumberFile(dataDir).ReadList(TrimBlanks(projectName), kHeldCount, kHeldStem);
}

std::string HeldArchivesNote(size_t held, int keepCount) {
  if (held == 0) return "";
  return std::to_string(held) + " archive(s) kept beyond the last " + std::to_string(keepCount) +
         ": the newer ones hold only files changed since, so a restore needs them until the next full backup";
}

void RecordWrittenArchive(const std::string& dataDir, const std::string& projectName, const std::string& path,
                          const std::string& writtenFile) {
  const platform::FileStat st = platform::StatFile(writtenFile, true);
  StoreNumberFile(dataDir).Update([&](IniDocument& doc) {
    const std::string section = TrimBlanks(projectName);
    std::string stamps = StampOf(st);
    if (SamePath(doc.ReadString(section, kLastArchive, ""), path)) {
      const std::string before = doc.ReadString(section, kLastArchiveStamp, "");
      stamps += ";" + before.substr(0, before.find(';'));
    }
    doc.WriteString(section, kLastArchive, path);
    doc.WriteString(section, kLastArchiveStamp, stamps);
  });
}

bool IsLastWrittenArchive(const std::string& dataDir, const std::string& projectName,
                          const std::string& path) {
  const IniDocument doc = StoreNumberFile(dataDir).Load();
  const std::string section = TrimBlanks(projectName);
  const platform::FileStat st = platform::StatFile(path, true);
  if (!st.isRegular || !SamePath(doc.ReadString(section, kLastArchive, ""), path)) return false;
  const std::string stamps = ";" + doc.ReadString(section, kLastArchiveStamp, "") + ";";
  return stamps.find(";" + StampOf(st) + ";") != std::string::npos;
}

bool IsKeptArchive(const std::string& dataDir, const std::string& projectName, const std::string& path) {
  const IniDocument doc = StoreNumberFile(dataDir).Load();
  const std::string section = TrimBlanks(projectName);
  const int max = std::min(doc.ReadInteger(section, "Max", 2), kMaxSlots);
  const std::string key = platform::PathKey(path);
  for (const auto& [slot, value] : SlotValues(doc, section, max))
    if (platform::PathKey(value) == key) return true;
  for (const std::string& value : doc.ReadList(section, kHeldCount, kHeldStem))
    if (platform::PathKey(value) == key) return true;
  return false;
}

void CopyRotationSection(const std::string& dataDir, const std::string& fromName, const std::string& toName) {
  const std::string from = TrimBlanks(fromName);
  const std::string to = TrimBlanks(toName);
  if (zip::SameTextAscii(from, to)) return;
  StoreNumberFile(dataDir).Update([&](IniDocument& doc) {
    if (doc.SectionExists(from)) CopySection(doc, from, to);
  });
}

void EraseRotationSection(const std::string& dataDir, const std::string& name) {
  StoreNumberFile(dataDir).EraseSection(TrimBlanks(name));
}

void RenameRotationSection(const std::string& dataDir, const std::string& oldName,
                           const std::string& newName) {
  const std::string from = TrimBlanks(oldName);
  const std::string to = TrimBlanks(newName);
  StoreNumberFile(dataDir).Update([&](IniDocument& doc) {
    if (!doc.SectionExists(from)) return;
    if (zip::SameTextAscii(from, to)) {
      // Copying onto itself and erasing would lose the record.
      doc.RenameSection(from, to);
      return;
    }
    CopySection(doc, from, to);
    doc.EraseSection(from);
  });
}

}  // namespace brisko::core
