// An ordered list of backup or exclude entries with the one selection its edit buttons act on.
#pragma once

#include <string>
#include <vector>

namespace brisko::core {

class UserInteraction;

// What an entry names: one file, or a folder plus a pattern (drawn with different images).
enum class SourceEntryKind { File, Wildcard };

// Wildcard when the file-name part is empty or holds any of * ? < >, file otherwise.
SourceEntryKind ClassifySourceEntry(const std::string& entry);

// Message shown when "Delete a item" finds nothing selected.
inline constexpr const char* kSelectItemMessage = "Please select a item by clicking";

// One list as the dialogs and the main window edit it. Entries keep the order they were added or
// moved in; duplicates are allowed. At most one entry is selected; Selected() is kNoSelection otherwise.
class SourceList {
 public:
  static constexpr int kNoSelection = -1;

  // What DeleteSelected did; NothingSelected means the caller owes the user kSelectItemMessage.
  enum class DeleteResult { ListEmpty, NothingSelected, Removed };

  SourceList() = default;
  explicit SourceList(std::vector<std::string> entries) : entries_(std::move(entries)) {}

  const std::vector<std::string>& Entries() const { return entries_; }
  int Count() const { return static_cast<int>(entries_.size()); }
  bool Empty() const { return entries_.empty(); }
  const std::string& At(int index) const { return entries_.at(static_cast<size_t>(index)); }

  int Selected() const { return selected_; }
  // Selects the entry at index; an index outside the list clears the selection.
  void Select(int index);

  // Replaces every entry and clears the selection (loading a project).
  void Assign(std::vector<std::string> entries);

  // Appends one entry and selects it (add by wildcard).
  void AppendAndSelect(const std::string& entry);
  // Appends entries in order; the selection stays as it was (add by file name).
  void Append(const std::string& entry) { entries_.push_back(entry); }
  void AppendAll(const std::vector<std::string>& entries);

  // Exchanges the selected entry with its neighbour and follows it; false when nothing moved.
  bool MoveUp();
  bool MoveDown();

  // Removes the selected entry, leaving nothing selected.
  DeleteResult DeleteSelected();
  // Removes every entry without a question.
  void Clear();

 private:
  bool MoveSelectedBy(int step);

  std::vector<std::string> entries_;
  int selected_ = kNoSelection;
};

// "Select files by filename": asks for existing files and appends every chosen path in the order
// given; the selection stays. Returns false when the user cancelled.
bool AddEntriesByFileName(SourceList& list, UserInteraction& ui);

// "Delete a item": removes the selected entry; with entries but none selected, tells the user to select one.
void DeleteSelectedEntry(SourceList& list, UserInteraction& ui);

}  // namespace brisko::core
