// One entry of a folder as the folder walk lists it: attributes, times and identity.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "platform/Platform.h"

namespace brisko::platform {

// What a folder entry is; FIFOs, sockets and devices are Special.
enum class EntryType : uint8_t { Regular, Directory, Symlink, Special };

struct DirectoryItem {
  std::string name;         // name without folder
  uint32_t attributes = 0;  // fa* bits of Platform.h
  uint64_t size = 0;        // 0 for folders
  std::time_t created = 0;  // UTC seconds; the status-change time where the file system keeps no birth time
  std::time_t lastWrite = 0;
  std::time_t lastAccess = 0;
  bool isSymlink = false;  // the entry itself is a symbolic link (attributes describe its target)
  EntryType type = EntryType::Special;        // the entry itself
  EntryType targetType = EntryType::Special;  // what a link points at (a dangling link: Symlink); else type
  FileIdentity identity;                      // of the entry itself, a link's own for a link
  // The entry as StatFile reads it: what a link points at (a dangling link: the link itself), and with
  // noFollow (a link's own; for other entries the same as status). Who walks needs no second look.
  FileStat status;
  FileStat linkStatus;
};

}  // namespace brisko::platform
