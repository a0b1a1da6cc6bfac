// Keeping only a project's last N archives: the ring of archive paths in StoreNumber.txt.
#pragma once

#include <functional>
#include <string>

#include "core/ProjectKinds.h"

namespace brisko::core {

// Deletes one archive; failures are ignored by the rotation. The default is a plain deletion.
using ArchiveDeleter = std::function<void(const std::string& path)>;
void DeleteArchiveFile(const std::string& path);

// Records `archivePath` in the project's ring (section = project name, keys Max, Head, N1..) and
// deletes the archive of the slot it reuses. Nothing for SuffixKind::None. When the keep count
// was lowered since the last run, the ring is first rebuilt into slots 1..K and the surplus oldest
// archives are deleted.
// Safety beyond the ring rules: the archive just written is never deleted (even when a slot names
// the same path, compared as the platform compares paths), placeholder entries ("NoFile" + number)
// are never passed to the deleter, and the ring is written before anything is deleted, so a
// refused write (SettingsWriteError) deletes nothing.
void RotateArchives(const std::string& dataDir, const std::string& projectName, SuffixKind suffix,
                    int keepCount, const std::string& archivePath,
                    const ArchiveDeleter& deleter = DeleteArchiveFile);

// Copies Max, Head and every non-empty N1..N<Max> of one section to another (one rewrite).
void CopyRotationSection(const std::string& dataDir, const std::string& fromName, const std::string& toName);
// Erases a project's section.
void EraseRotationSection(const std::string& dataDir, const std::string& name);
// A project's new name: copy to the new section, then erase the old one, in one rewrite. Names
// equal without regard to case only rename the section line, so no record is lost.
void RenameRotationSection(const std::string& dataDir, const std::string& oldName,
                           const std::string& newName);

// True when two paths name the same file as the platform compares paths (case-sensitive on POSIX,
// case-insensitive on Windows).
bool SamePath(const std::string& a, const std::string& b);

}  // namespace brisko::core
