// Restore-target proposal of the Restore tab.
#include "core/view/RestoreTarget.h"

#include "core/TextUtil.h"
#include "platform/PathRules.h"

namespace brisko::core {

std::string FolderPartOf(const std::string& path) {
  size_t cut = path.size();
  while (cut > 0 && !platform::IsSeparator(path[cut - 1]) && !platform::IsPathDelimOrDrive(path[cut - 1]))
    --cut;
  return path.substr(0, cut);
}

std::optional<std::string> ProposeRestoreTarget(const std::vector<std::string>& sources, bool storePaths) {
  if (sources.empty()) return std::nullopt;
  std::string folder = TrimBlanks(FolderPartOf(sources.front()));
  // An empty folder would make the restore land in the process's working folder.
  if (folder.empty()) return std::nullopt;
  if (!storePaths) return folder;
  // Stored full paths hang from the root; a relative source folder has none to offer.
  std::string root = platform::PathRoot(folder);
  if (root.empty()) return std::nullopt;
  return root;
}

}  // namespace brisko::core
