// The select-by-wildcard dialog's logic: a folder from the tree plus a pattern make one list entry.
#pragma once

#include <string>
#include <vector>

namespace brisko::core {

class FolderTree;
class SourceList;
class UserInteraction;

// Model of the dialog "Select files by wildcard". The view shows Choices() in an editable drop-down
// whose text is PatternText(), and FolderLabel() beside "Folder selected:".
class SelectByWildcard {
 public:
  static constexpr const char* kCaption = "Select files by wildcard";
  static constexpr int kHelpContext = 302;
  static constexpr const char* kDefaultPattern = "*.*";
  static constexpr const char* kNoFolderMessage = "Please select a folder!";

  // Fills the drop-down from the remembered wildcards.
  explicit SelectByWildcard(const std::vector<std::string>& remembered);

  // Refills the drop-down (after "Edit Wildcard" closed with OK): the first pattern is chosen, or the
  // text becomes "*.*" when none is remembered; a typed pattern is replaced.
  void FillChoices(const std::vector<std::string>& remembered);

  const std::vector<std::string>& Choices() const { return choices_; }
  const std::string& PatternText() const { return pattern_; }
  void SetPatternText(const std::string& text) { pattern_ = text; }

  // Shows the tree's selection now and after every change. The tree must outlive this object
  // or be detached by the view before it goes.
  void AttachTree(FolderTree& tree);
  const std::string& FolderLabel() const { return folder_; }
  void SetFolderLabel(const std::string& path) { folder_ = path; }

  // "&Ok": false (after the warning) when no folder is selected, so the dialog stays open.
  bool Accept(UserInteraction& ui) const;

  // The entry the dialog produces: folder, a separator unless it ends with one, trimmed pattern.
  std::string ComposeEntry() const;

 private:
  std::vector<std::string> choices_;
  std::string pattern_;
  std::string folder_;
};

// Appends the accepted dialog's entry to the list and selects it.
void AddEntryByWildcard(SourceList& list, const SelectByWildcard& accepted);

}  // namespace brisko::core
