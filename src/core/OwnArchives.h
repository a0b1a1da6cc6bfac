// Recognising a project's own archives and temporary files, so that a destination folder inside a
// source is not backed up into itself and leftovers of a killed run can be cleared away.
#pragma once

#include <string>

namespace brisko::core {

// A name beside `archivePath` that no file has, for writing the new archive before it is put in
// place: the archive's name, a dot, twelve random hex digits and ".part".
std::string TemporaryArchiveName(const std::string& archivePath);

// Whether a file name (without folder) is one the project with this prefix writes: prefix, then
// nothing, a number or a date suffix, then ".zip"; with `temporary`, such a name followed by the
// temporary ending of TemporaryArchiveName. Letter case counts as the platform counts it.
bool IsOwnArchiveName(const std::string& name, const std::string& prefix, bool temporary = false);

// Whether `path` is an archive or temporary file of the project (prefix) in `saveFolder`.
bool IsOwnArchiveFile(const std::string& path, const std::string& saveFolder, const std::string& prefix);

// Removes temporary files of the project left in `saveFolder` by a run that was killed; regular
// files only, never through a link. Failures are ignored: the next run tries again.
void RemoveLeftoverTemporaries(const std::string& saveFolder, const std::string& prefix);

}  // namespace brisko::core
