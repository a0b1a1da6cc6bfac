// File-system services whose details differ between POSIX and Windows.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace brisko::platform {

// MS-DOS style attribute bits, as stored in ZIP external attributes and used by the finder.
enum : uint32_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSysFile = 0x04,
  kAttrVolumeId = 0x08,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
};

// The native path separator ('/' on POSIX, '\\' on Windows).
#ifdef _WIN32
inline constexpr bool kWindows = true;
inline constexpr char kPathDelim = '\\';
#else
inline constexpr bool kWindows = false;
inline constexpr char kPathDelim = '/';
#endif

// Names that differ only in the case of ASCII letters name the same file.
inline constexpr bool kNamesIgnoreCase = kWindows;
// Files carry Unix modes (permission bits, file type), and symbolic links are kept as links.
inline constexpr bool kUnixModes = !kWindows;

// What tells one file from another and a changed file from an unchanged one. A file opened again is
// the same when SameFile holds; a file read in between was not changed while SameState holds.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;  // 0 where the system does not tell (Windows)
  uint32_t type = 0;   // the S_IFMT bits of st_mode on POSIX; 0 on Windows
  uint64_t size = 0;
  int64_t modifiedNs = 0;  // last write, nanoseconds since the Unix epoch
  int64_t changedNs = 0;   // last status change (POSIX); 0 on Windows
  bool SameFile(const FileIdentity& other) const {
    return device == other.device && inode == other.inode && type == other.type;
  }
  bool SameState(const FileIdentity& other) const {
    return SameFile(other) && size == other.size && modifiedNs == other.modifiedNs &&
           changedNs == other.changedNs;
  }
};

struct FileStat {
  bool exists = false;
  bool isDirectory = false;
  bool isSymlink = false;
  bool isRegular = false;  // a plain file: no folder, link, device, pipe or socket
  uint64_t size = 0;
  std::time_t lastWrite = 0;    // seconds since the Unix epoch (UTC)
  uint32_t lastWriteNanos = 0;  // and the nanoseconds within that second
  uint32_t attributes = 0;      // fa* bits; read-only reflects missing write permission on POSIX
  uint32_t posixMode = 0;       // st_mode on POSIX, 0 elsewhere
  FileIdentity identity;
};

// Reads the attributes of a path without following a final symbolic link when noFollow is set. Paths
// longer than the system's limit are read too.
FileStat StatFile(const std::string& path, bool noFollow = false);

// Sets the last-write time (UTC seconds and nanoseconds within the second; Windows keeps 100 ns), of a
// symbolic link itself when noFollow is set; false when it cannot be set.
bool SetLastWriteTime(const std::string& path, std::time_t when, bool noFollow = false, uint32_t nanos = 0);

// Sets the permission bits (rwx for owner, group, others); false when they cannot be set.
bool SetPermissions(const std::string& path, uint32_t mode);

// The text of a symbolic link; false when path is no link or cannot be read.
bool ReadSymlink(const std::string& path, std::string& target);

// Creates a symbolic link at path holding target verbatim; false when the file system refuses.
bool MakeSymlink(const std::string& target, const std::string& path);

// Maps the read-only bit onto write permission (POSIX) or the attribute (Windows); other bits are kept.
bool SetReadOnly(const std::string& path, bool readOnly);

// The environment variable naming the folder of the user's program settings.
inline constexpr const char* kConfigHomeVariable = kWindows ? "APPDATA" : "XDG_CONFIG_HOME";

// The folder of the user's program settings: `configured` (the value of kConfigHomeVariable) when it is
// an absolute path, else the system's default under `home` (~/.config; the roaming application data
// folder on Windows). Relative values are ignored, as the base-directory convention asks.
std::string ConfigHome(const std::string& configured, const std::string& home);

// Current user's home folder, with no trailing separator.
std::string HomeDir();

// A text that names the current user account and no other (the numeric user id on POSIX, the
// account's security identifier on Windows); empty when the system does not tell.
std::string UserAccountId();

// Folder for temporary files, with no trailing separator.
std::string TempDir();

// Full path of the running executable ("" when unknown).
std::string ExecutablePath();

}  // namespace brisko::platform
