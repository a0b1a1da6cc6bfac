// Source list entries and the list operations shared by every list editor.
#include "core/view/SourceList.h"

#include <utility>

#include "core/UserInteraction.h"
#include "zip/names/ZipPaths.h"

namespace brisko::core {

SourceEntryKind ClassifySourceEntry(const std::string& entry) {
  const std::string name = zip::ExtractNamePart(entry);
  if (name.empty() || name.find_first_of("*?<>") != std::string::npos) return SourceEntryKind::Wildcard;
  return SourceEntryKind::File;
}

void SourceList::Select(int index) {
  selected_ = (index >= 0 && index < Count()) ? index : kNoSelection;
}

void SourceList::Assign(std::vector<std::string> entries) {
  entries_ = std::move(entries);
  selected_ = kNoSelection;
}

void SourceList::AppendAndSelect(const std::string& entry) {
  entries_.push_back(entry);
  selected_ = Count() - 1;
}

void SourceList::AppendAll(const std::vector<std::string>& entries) {
  entries_.insert(entries_.end(), entries.begin(), entries.end());
}

bool SourceList::MoveSelectedBy(int step) {
  const int target = selected_ + step;
  if (selected_ == kNoSelection || target < 0 || target >= Count()) return false;
  std::swap(entries_[static_cast<size_t>(selected_)], entries_[static_cast<size_t>(target)]);
  selected_ = target;
  return true;
}

bool SourceList::MoveUp() {
  return MoveSelectedBy(-1);
}

bool SourceList::MoveDown() {
  return MoveSelectedBy(+1);
}

SourceList::DeleteResult SourceList::DeleteSelected() {
  if (entries_.empty()) return DeleteResult::ListEmpty;
  if (selected_ == kNoSelection) return DeleteResult::NothingSelected;
  entries_.erase(entries_.begin() + selected_);
  selected_ = kNoSelection;
  return DeleteResult::Removed;
}

void SourceList::Clear() {
  entries_.clear();
  selected_ = kNoSelection;
}

bool AddEntriesByFileName(SourceList& list, UserInteraction& ui) {
  const std::vector<std::string> chosen = ui.PickFiles("Select files by filename", "");
  if (chosen.empty()) return false;
  list.AppendAll(chosen);
  return true;
}

void DeleteSelectedEntry(SourceList& list, UserInteraction& ui) {
  if (list.DeleteSelected() == SourceList::DeleteResult::NothingSelected)
    ui.ShowMessage(MessageKind::Information, kSelectItemMessage);
}

}  // namespace brisko::core
