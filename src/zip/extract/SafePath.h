// Extraction targets from stored names, built so that no archive can place a file outside the target
// folder: no ".." parts, no absolute paths, no existing symbolic link followed out of it on the way down.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace brisko::zip {

// Splits a stored folder (native separators) into its parts, dropping empty and "." parts and, where the
// platform has drives, a leading drive. False when a part is ".." or the text holds a NUL byte.
bool SplitStoredFolder(std::string_view folder, std::vector<std::string>& parts);

// True for a file name part that names a file inside its folder: not empty, ".", "..", and no NUL.
bool IsSafeNamePart(std::string_view name);

// base + separator + parts joined by separators (base alone for no parts).
std::string JoinBelow(const std::string& base, const std::vector<std::string>& parts);

// Creates the folders base/parts[0]/parts[1]/... one at a time. False when a part exists as something
// other than a folder, as a symbolic link that leads out of base, or cannot be created. base itself is
// trusted. Folders listed in known were checked before and are not looked at again; checked ones are added to
// it.
bool CreateFoldersBelow(const std::string& base, const std::vector<std::string>& parts,
                        std::unordered_set<std::string>* known = nullptr);

// When path lies below base (by its text), the folder parts between them; false otherwise or when a
// part is "..".
bool RelativeFolderParts(const std::string& base, const std::string& path, std::vector<std::string>& parts);

// A random name for a temporary file in folder; the caller creates it exclusively and tries another
// name when it exists.
std::string TemporaryNameIn(const std::string& folder);

}  // namespace brisko::zip
