// Keeping only a project's last N archives: the ring of archive paths in StoreNumber.txt.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/ProjectKinds.h"

namespace brisko::core {

// Deletes one archive; failures are ignored by the rotation. The default is a plain deletion.
using ArchiveDeleter = std::function<void(const std::string& path)>;
void DeleteArchiveFile(const std::string& path);

// What an archive holds: every selected file, or only those changed since an earlier run.
enum class ArchiveScope { Full, Incremental };

// Records `archivePath` in the project's ring (section = project name, keys Max, Head, N1..) and
// deletes the archive of the slot it reuses. Nothing for SuffixKind::None. When the keep count
// was lowered since the last run, the ring is first rebuilt into slots 1..K and the surplus oldest
// archives are deleted.
// Safety beyond the ring rules: the archive just written is never deleted (even when a slot names
// the same path, compared as the platform compares paths), placeholder entries ("NoFile" + number)
// are never passed to the deleter, and the ring is written before anything is deleted, so a
// refused write (SettingsWriteError) deletes nothing.
// The chain (keys Chain Count, Chain0..): the latest full archive and the incremental ones after
// it, which a restore needs together. An archive of the chain leaving the ring is held (keys Held
// Count, Held0..) instead of deleted, until a newer full archive starts a new chain. A project
// that has no chain record yet counts its whole ring as the start of the chain.
// Returns the number of archives held beyond the keep count.
size_t RotateArchives(const std::string& dataDir, const std::string& projectName, SuffixKind suffix,
                      int keepCount, const std::string& archivePath,
                      const ArchiveDeleter& deleter = DeleteArchiveFile,
                      ArchiveScope scope = ArchiveScope::Full);

// The archives a project holds beyond its keep count for its chain, oldest first.
std::vector<std::string> HeldArchives(const std::string& dataDir, const std::string& projectName);
// How the Backup tab and the log say it; "" when none are held.
std::string HeldArchivesNote(size_t held, int keepCount);

// Records the archive a run is about to put in place at `path`, with the size and modification
// time of `writtenFile` (the complete file still under its temporary name), so that a later run can
// tell it from a file someone else put under the same name. The stamp recorded before stays valid
// too, in case the new archive never gets in place. Throws SettingsWriteError.
void RecordWrittenArchive(const std::string& dataDir, const std::string& projectName, const std::string& path,
                          const std::string& writtenFile);
// Whether `path` is still an archive last recorded for the project, unchanged.
bool IsLastWrittenArchive(const std::string& dataDir, const std::string& projectName,
                          const std::string& path);

// Whether `path` is an archive the project's ring keeps or holds.
bool IsKeptArchive(const std::string& dataDir, const std::string& projectName, const std::string& path);

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
