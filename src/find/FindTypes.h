// Attribute sets, the search record and the event types of the file finder.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <initializer_list>
#include <string>

namespace brisko::find {

class TFindFile;

enum TFileAttribute : uint8_t { ffArchive, ffReadonly, ffHidden, ffSystem, ffDirectory };

// A set of TFileAttribute values.
class TFileAttributes {
 public:
  constexpr TFileAttributes() = default;
  constexpr TFileAttributes(std::initializer_list<TFileAttribute> items) {
    for (TFileAttribute a : items) bits_ |= Bit(a);
  }
  // The set described by MS-DOS attribute bits (read-only 1, hidden 2, system 4, folder 16,
  // archive 32); the volume bit has no member and is dropped.
  static TFileAttributes FromDos(uint32_t dos) {
    TFileAttributes s;
    if (dos & 0x01) s.Include(ffReadonly);
    if (dos & 0x02) s.Include(ffHidden);
    if (dos & 0x04) s.Include(ffSystem);
    if (dos & 0x10) s.Include(ffDirectory);
    if (dos & 0x20) s.Include(ffArchive);
    return s;
  }
  constexpr bool Contains(TFileAttribute a) const { return (bits_ & Bit(a)) != 0; }
  constexpr void Include(TFileAttribute a) { bits_ = static_cast<uint8_t>(bits_ | Bit(a)); }
  constexpr void Exclude(TFileAttribute a) { bits_ = static_cast<uint8_t>(bits_ & ~Bit(a)); }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr bool Overlaps(TFileAttributes other) const { return (bits_ & other.bits_) != 0; }
  constexpr bool operator==(const TFileAttributes&) const = default;

 private:
  static constexpr uint8_t Bit(TFileAttribute a) { return static_cast<uint8_t>(1u << a); }
  uint8_t bits_ = 0;
};

// One hit: what the file system says about a found item.
struct TSearchRec {
  std::string Name;             // without folder
  uint64_t Size = 0;            // bytes; 0 for folders
  uint32_t Time = 0;            // last-write time as a local DOS date-time (0 outside 1980..2099)
  uint32_t Attr = 0;            // MS-DOS attribute bits
  std::time_t CreationTime = 0;  // UTC seconds
  std::time_t LastWriteTime = 0;
  std::time_t LastAccessTime = 0;
};

// Folder is the hit's folder without a trailing separator (a root keeps it).
using TFoundEvent = std::function<void(TFindFile& sender, const std::string& folder, TSearchRec& fileInfo)>;
// IgnoreFolder comes in false; true skips the folder and everything below it.
using TNewFolderEvent = std::function<void(TFindFile& sender, const std::string& folder, bool& ignoreFolder)>;
using TNotifyEvent = std::function<void(TFindFile& sender)>;

// Runs a task on the owner's (user-interface) thread; the host connects it to its event loop.
using TPostToOwner = std::function<void(std::function<void()>)>;

}  // namespace brisko::find
