// Opening, positioning and syncing files by their UTF-8 names, and replacing one file by another.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/Platform.h"

namespace brisko::platform {

// fopen with a UTF-8 path; errno tells why it failed.
std::FILE* OpenFile(const std::string& path, const char* mode);

// Opens a file to be read for a backup: never waiting on a pipe or a device, never through a final
// symbolic link unless followLinks (Windows follows links), and only when what it opened is a regular
// file; `opened` is the identity
// of the open file. Null on failure, errno telling why (ELOOP for a link, EINVAL for a file that is not
// regular).
std::FILE* OpenSourceFile(const std::string& path, bool followLinks, FileIdentity& opened);

// The identity of an open file now; false when the system cannot tell.
bool IdentityOfOpenFile(std::FILE* file, FileIdentity& identity);

// Creates a file that must not exist yet, open for reading and writing; a link under its name counts
// as existing and is never written through. Owner-only when ownerOnly is set (POSIX permissions).
std::FILE* CreateNewFile(const std::string& path, bool ownerOnly);

// 64-bit positioning; 0 on success as with fseek.
int SeekFile(std::FILE* file, uint64_t position);
int SeekFileEnd(std::FILE* file);
int64_t TellFile(std::FILE* file);

// Pushes a closed file to the disk and drops its pages from the system's cache, so that the next read
// comes from the device and not from what was just written; false when the sync fails. Windows syncs
// only (its cache has no such call).
bool SyncAndDropCachedPages(const std::string& path);

// Renames `from` over `to`, replacing a file there in one step; false when the system refuses. On
// Windows a target that another program holds open is waited for a moment.
bool RenameOver(const std::string& from, const std::string& to);

// Whether the current user can create files in an existing folder.
bool IsWritableFolder(const std::string& folder);

// The file a write through `path` really changes: the final target when path is a symbolic link,
// else path itself.
std::string ResolveLinkTarget(const std::string& path);

}  // namespace brisko::platform
