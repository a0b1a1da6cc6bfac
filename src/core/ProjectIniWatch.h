// Tells a long-running scheduler when project.ini was edited by someone other than its own runs.
#pragma once

#include <string>

namespace brisko::core {

class ProjectIniWatch {
 public:
  explicit ProjectIniWatch(std::string iniPath);

  // True once after the file changed since the last call (or since construction); the caller then
  // reloads the settings.
  bool TakeChange();

  // Brackets the scheduled runs of one tick. The runs write the counter and the newer-than moment
  // themselves; that is no edit, and reloading for it would make every daily project whose time has
  // passed due again at each tick. Anything else that changed meanwhile was edited by hand and is
  // reported by the next TakeChange().
  void BeforeRuns();
  void AfterRuns();

 private:
  std::string iniPath_;
  std::string seenText_;  // compared by content: a second-resolution time misses quick edits
  std::string textBeforeRuns_;
};

// The file's text without the keys a backup run writes itself.
std::string HandEditableText(const std::string& iniPath);

}  // namespace brisko::core
