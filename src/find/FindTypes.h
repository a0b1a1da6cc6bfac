// Attribute sets, the search record and the event types of the file finder.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <initializer_list>
#include <string>

namespace brisko::find {

class FindFile;

enum FileAttribute : uint8_t { kArchive, kReadOnly, kHidden, kSystem, kDirectory };

// A set of FileAttribute values.
class FileAttributes {
 public:
  constexpr FileAttributes() = default;
  constexpr FileAttributes(std::initializer_list<FileAttribute> items) {
    for (FileAttribute a : items) bits_ |= Bit(a);
  }
  // The set described by MS-DOS attribute bits (read-only 1, hidden 2, system 4, folder 16,
  // archive 32); the volume bit has no member and is dropped.
  static FileAttributes FromDos(uint32_t dos) {
    FileAttributes s;
    if (dos & 0x01) s.Include(kReadOnly);
    if (dos & 0x02) s.Include(kHidden);
    if (dos & 0x04) s.Include(kSystem);
    if (dos & 0x10) s.Include(kDirectory);
    if (dos & 0x20) s.Include(kArchive);
    return s;
  }
  constexpr bool Contains(FileAttribute a) const { return (bits_ & Bit(a)) != 0; }
  constexpr void Include(FileAttribute a) { bits_ = static_cast<uint8_t>(bits_ | Bit(a)); }
  constexpr void Exclude(FileAttribute a) { bits_ = static_cast<uint8_t>(bits_ & ~Bit(a)); }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr bool Overlaps(FileAttributes other) const { return (bits_ & other.bits_) != 0; }
  constexpr bool operator==(const FileAttributes&) const = default;

 private:
  static constexpr uint8_t Bit(FileAttribute a) { return static_cast<uint8_t>(1u << a); }
  uint8_t bits_ = 0;
};

// One hit: what the file system says about a found item.
struct FoundFile {
  std::string name;              // without folder
  uint64_t size = 0;             // bytes; 0 for folders
  uint32_t time = 0;             // last-write time as a local DOS date-time (0 outside 1980..2099)
  uint32_t attr = 0;             // MS-DOS attribute bits
  std::time_t creationTime = 0;  // UTC seconds
  std::time_t lastWriteTime = 0;
  std::time_t lastAccessTime = 0;
};

// Folder is the hit's folder without a trailing separator (a root keeps it).
using FoundEvent = std::function<void(FindFile& sender, const std::string& folder, FoundFile& fileInfo)>;
// IgnoreFolder comes in false; true skips the folder and everything below it.
using NewFolderEvent = std::function<void(FindFile& sender, const std::string& folder, bool& ignoreFolder)>;
using NotifyEvent = std::function<void(FindFile& sender)>;

}  // namespace brisko::find
