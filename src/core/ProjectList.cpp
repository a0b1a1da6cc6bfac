// The project names: case-insensitive lookup, sorted insertion, and the Common section mirror.
#include "core/ProjectList.h"

#include <algorithm>

#include "core/IniFile.h"
#include "core/SettingsFiles.h"
#include "zip/names/ZipPaths.h"

namespace brisko::core {

int IndexOfProject(const std::vector<std::string>& list, std::string_view name) {
  for (size_t i = 0; i < list.size(); ++i)
    if (zip::SameTextAscii(list[i], name)) return static_cast<int>(i);
  return -1;
}

int InsertProjectSorted(std::vector<std::string>& list, const std::string& name) {
  std::string key = zip::LowerAscii(name);
  auto at = std::find_if(list.begin(), list.end(),
                         [&](const std::string& other) { return zip::LowerAscii(other) > key; });
  at = list.insert(at, name);
  return static_cast<int>(at - list.begin());
}

std::vector<std::string> ReadProjectList(const std::string& dataDir) {
  return IniFile(ProjectIniPath(dataDir)).ReadList(kCommonSection, "Project Count", "Count");
}

void WriteProjectList(const std::string& dataDir, const std::vector<std::string>& list) {
  IniFile(ProjectIniPath(dataDir), FileAccess::OwnerOnly)
      .WriteList(kCommonSection, "Project Count", "Count", list);
}

}  // namespace brisko::core
