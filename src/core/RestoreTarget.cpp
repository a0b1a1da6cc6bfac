// Restore-target proposal of the Restore tab.
#include "core/RestoreTarget.h"

#include "core/TextUtil.h"
#include "platform/PathRules.h"

namespace brisko::core {

std::string FolderPartOf(const std::string& path) {
  size_t cut = path.size();
  while (cut > 0 && !platform::IsSeparator(path[cut - 1]) && !platform::IsPathDelimOrDrive(path[cut - 1])) --cut;
  return path.substr(0, cut);
}

std::optional<std::string> ProposeRestoreTarget(const std::vector<std::string>& sources, bool storePaths) {
  if (sources.empty()) return std::nullopt;
  std::string folder = TrimBlanks(FolderPartOf(sources.front()));
  // An empty folder would make the restore land in the process's working folder.
  if (folder.empty()) return std::nullopt;
  if (!storePaths) return folder;
#ifdef _WIN32
  if (folder.size() <= 2) return std::nullopt;
  if (folder.rfind("\\\\", 0) != 0) return folder.substr(0, 3);
  size_t count = 0;
  for (size_t i = 0; i < folder.size(); ++i) {
    if (folder[i] == '\\' && ++count == 4) return folder.substr(0, i);
  }
  return folder;
#else
  // Stored full paths hang from the root; a relative source folder has none to offer.
  if (folder.front() != platform::PathDelim) return std::nullopt;
  return std::string(1, platform::PathDelim);
#endif
}

}  // namespace brisko::core
