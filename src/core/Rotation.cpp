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
#include "zip/ZipPaths.h"

namespace brisko::core {
namespace {

// Rings are never wider than the largest keep count; a hand-edited Max beyond it is read as that.
constexpr int kMaxSlots = 50000;

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

void RotateArchives(const std::string& dataDir, const std::string& projectName, SuffixKind suffix,
                    int keepCount, const std::string& archivePath, const ArchiveDeleter& deleter) {
  if (suffix == SuffixKind::None) return;
  const std::string section = TrimBlanks(projectName);
  const int k = std::max(keepCount, 1);
  std::vector<std::string> doomed;

  IniDocument doc;
  // Record first: if the write is refused, no archive has been deleted.
  StoreNumberFile(dataDir).Update([&](IniDocument& stored) {
    const int max = std::min(stored.ReadInteger(section, "Max", 2), kMaxSlots);
    int head = stored.ReadInteger(section, "Head", 0);

    if (k < max) {
      // The keep count was lowered: the oldest max - k archives go, the rest move to slots 1..k.
      const std::map<int, std::string> slots = SlotValues(stored, section, max);
      std::vector<std::string> byAge;
      for (int i = 1; i <= max; ++i) {
        int slot = ((head + i - 1) % max + max) % max + 1;
        auto it = slots.find(slot);
        byAge.push_back(it != slots.end() ? it->second : Placeholder(slot));
      }
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
    doc = stored;
  });

  // Never delete what the ring still keeps: the archive just written (a name that repeats once
  // the counter stops at 1000, or two runs within one second) or a path held by another slot.
  std::set<std::string> kept;
  for (const auto& [slot, value] : SlotValues(doc, section, k))
    if (!value.empty()) kept.insert(platform::PathKey(value));
  kept.insert(platform::PathKey(archivePath));
  for (const std::string& path : doomed) {
    if (path.empty() || IsPlaceholder(path) || kept.count(platform::PathKey(path))) continue;
    deleter(path);
  }
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
