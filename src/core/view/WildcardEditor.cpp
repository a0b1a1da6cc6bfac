// The remembered-wildcards editor's logic.
#include "core/view/WildcardEditor.h"

#include <algorithm>

#include "core/ProjectStore.h"
#include "core/TextUtil.h"
#include "core/UserInteraction.h"
#include "zip/names/ZipPaths.h"

namespace brisko::core {

bool WildcardEditor::AddWildcard() {
  const std::string pattern = TrimBlanks(edit_);
  if (pattern.empty()) return false;
  edit_.clear();
  const auto& patterns = list_.Entries();
  if (std::any_of(patterns.begin(), patterns.end(),
                  [&](const std::string& p) { return zip::SameTextAscii(p, pattern); }))
    return false;
  list_.Append(pattern);
  return true;
}

void WildcardEditor::DeleteSelected(UserInteraction& ui) {
  if (list_.Selected() == SourceList::kNoSelection) {
    ui.ShowMessage(MessageKind::Information, kSelectItemMessage);
    return;
  }
  list_.DeleteSelected();
}

void WildcardEditor::Save(const std::string& dataDir) const {
  WriteWildcards(dataDir, Patterns());
}

}  // namespace brisko::core
