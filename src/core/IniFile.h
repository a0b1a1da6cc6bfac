// An INI-format settings file that is opened, read or rewritten, and closed on every call.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/IniDocument.h"

namespace brisko::platform {
class AtomicFile;
}

namespace brisko::core {

// Puts the new content of a settings file into its open temporary; false when not all of it got
// there (as on a full disk). The default appends it; tests pass one that fails.
using ContentWriter = std::function<bool(platform::AtomicFile& file, std::string_view content)>;

// How a rewrite treats the permissions of an existing file (POSIX): keep them, or make the file the
// owner's alone (0600) for files that can hold secrets.
enum class FileAccess { KeepMode, OwnerOnly };

// Nothing is cached between calls: each read opens and parses the file afresh, each write reads,
// changes and rewrites it, so a write by one command is seen by the next read of any other.
// A missing or unreadable file reads as empty (every key gives its default).
//
// Writes never leave a half-written file: the new content goes to a temporary file in the same
// folder which then replaces the old one. New files get mode 0600 on POSIX (they can hold
// passwords); an existing file keeps its mode unless the file is OwnerOnly, which is written with
// mode 0600 whatever mode it had. A refused write throws SettingsWriteError
// ("Unable to write to <path>") and leaves the existing file as it was.
class IniFile {
 public:
  explicit IniFile(std::string path, FileAccess access = FileAccess::KeepMode, ContentWriter writer = {})
      : path_(std::move(path)), access_(access), writer_(std::move(writer)) {}
  const std::string& FileName() const { return path_; }

  // One read of the whole file, for callers that look up many keys in one operation.
  IniDocument Load() const;
  // One read-change-write cycle: all changes made by `change` are written at once or not at all.
  void Update(const std::function<void(IniDocument&)>& change);

  bool SectionExists(std::string_view section) const { return Load().SectionExists(section); }
  bool ValueExists(std::string_view section, std::string_view key) const {
    return Load().ValueExists(section, key);
  }
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const {
    return Load().ReadString(section, key, def);
  }
  int ReadInteger(std::string_view section, std::string_view key, int def) const {
    return Load().ReadInteger(section, key, def);
  }
  bool ReadBool(std::string_view section, std::string_view key, bool def) const {
    return Load().ReadBool(section, key, def);
  }
  std::vector<std::string> ReadList(std::string_view section, std::string_view countKey,
                                    std::string_view stem) const {
    return Load().ReadList(section, countKey, stem);
  }

  void WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Update([&](IniDocument& d) { d.WriteString(section, key, value); });
  }
  void WriteInteger(std::string_view section, std::string_view key, int value) {
    Update([&](IniDocument& d) { d.WriteInteger(section, key, value); });
  }
  void WriteBool(std::string_view section, std::string_view key, bool value) {
    Update([&](IniDocument& d) { d.WriteBool(section, key, value); });
  }
  void WriteList(std::string_view section, std::string_view countKey, std::string_view stem,
                 const std::vector<std::string>& items) {
    Update([&](IniDocument& d) { d.WriteList(section, countKey, stem, items); });
  }
  void EraseSection(std::string_view section) {
    Update([&](IniDocument& d) { d.EraseSection(section); });
  }

 private:
  std::string path_;
  FileAccess access_;
  ContentWriter writer_;
};

// Replaces the file at `path` with `content` through a temporary file in the same folder.
// Throws SettingsWriteError when the folder or the file refuses the write.
void WriteFileAtomically(const std::string& path, const std::string& content,
                         FileAccess access = FileAccess::KeepMode, const ContentWriter& writer = {});

}  // namespace brisko::core
