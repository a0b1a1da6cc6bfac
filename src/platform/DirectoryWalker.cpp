// The walk's order over the folders the platform lists.
#include "platform/DirectoryWalker.h"

#include "platform/DirectoryWalkerLevel.h"
#include "platform/PathRules.h"

namespace brisko::platform {

DirectoryWalker::DirectoryWalker(const std::string& folder, bool recurse) : recurse_(recurse) {
  const std::string root = IncludeTrailingDelim(folder.empty() ? std::string(".") : folder);
  if (auto level = Open(nullptr, folder.empty() ? std::string(".") : folder, root))
    stack_.push_back(std::move(level));
}

DirectoryWalker::~DirectoryWalker() = default;

bool DirectoryWalker::Next(std::string& folder, DirectoryItem& item) {
  for (;;) {
    if (enter_) {
      enter_ = false;
      const Level& top = *stack_.back();
      const std::string& name = top.items[top.index - 1].name;
      if (auto level = Open(&top, name, top.folder + name + kPathDelim)) stack_.push_back(std::move(level));
    }
    if (stack_.empty()) return false;
    Level& top = *stack_.back();
    if (top.index >= top.items.size()) {
      stack_.pop_back();
      continue;
    }
    item = top.items[top.index++];
    folder = top.folder;
    enter_ = recurse_ && item.type == EntryType::Directory;
    return true;
  }
}

}  // namespace brisko::platform
