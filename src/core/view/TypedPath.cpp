// Paths as users type them: "~" for the home folder, and whether what a source entry names is there.
#include "core/view/TypedPath.h"

#include <filesystem>
#include <system_error>

#include "core/view/SourceList.h"
#include "platform/FsPath.h"
#include "platform/PathRules.h"

namespace brisko::core {

std::string ExpandHome(const std::string& typed, const std::string& home) {
  if (typed.empty() || typed[0] != '~') return typed;
  if (typed.size() > 1 && !platform::IsSeparator(typed[1])) return typed;
  return platform::ExcludeTrailingDelim(home) + typed.substr(1);
}

std::string ExpandHome(const std::string& typed) {
  return ExpandHome(typed, platform::HomeDir());
}

std::vector<std::string> MissingSources(const std::vector<std::string>& entries) {
  std::vector<std::string> missing;
  for (const std::string& entry : entries) {
    const bool wildcard = ClassifySourceEntry(entry) == SourceEntryKind::Wildcard;
    const std::string named = wildcard ? platform::ExtractDirPart(entry) : entry;
    if (!platform::StatFile(named).exists) missing.push_back(entry);
  }
  return missing;
}

bool CreateFolder(const std::string& folder, std::string& error) {
  std::error_code code;
  std::filesystem::create_directories(platform::FsPath(folder), code);
  if (code) {
    error = code.message();
    return false;
  }
  return true;
}

}  // namespace brisko::core
