// The select-by-wildcard dialog's logic.
#include "core/view/SelectByWildcard.h"

#include "core/TextUtil.h"
#include "core/UserInteraction.h"
#include "core/view/FolderTree.h"
#include "core/view/SourceList.h"
#include "zip/names/ZipPaths.h"

namespace brisko::core {

SelectByWildcard::SelectByWildcard(const std::vector<std::string>& remembered) {
  FillChoices(remembered);
}

void SelectByWildcard::FillChoices(const std::vector<std::string>& remembered) {
  choices_ = remembered;
  pattern_ = choices_.empty() ? std::string(kDefaultPattern) : choices_.front();
}

void SelectByWildcard::AttachTree(FolderTree& tree) {
  folder_ = tree.SelectedFolderPath();
  tree.SetSelectionChangedHandler([this, &tree] { folder_ = tree.SelectedFolderPath(); });
}

bool SelectByWildcard::Accept(UserInteraction& ui) const {
  if (TrimBlanks(folder_).empty()) {
    ui.ShowMessage(MessageKind::Warning, kNoFolderMessage);
    return false;
  }
  return true;
}

std::string SelectByWildcard::ComposeEntry() const {
  return zip::IncludeTrailingDelim(folder_) + TrimBlanks(pattern_);
}

void AddEntryByWildcard(SourceList& list, const SelectByWildcard& accepted) {
  list.AppendAndSelect(accepted.ComposeEntry());
}

}  // namespace brisko::core
