// The remembered-wildcards editor's logic: a case-insensitively unique, ordered list of patterns.
#pragma once

#include <string>
#include <vector>

#include "core/view/SourceList.h"

namespace brisko::core {

class UserInteraction;

// Model of the dialog "Edit Wildcard". The view shows Patterns() with the selection of List() and
// binds the "Add wildcard:" edit to EditText(). Nothing is stored before Save().
class WildcardEditor {
 public:
  static constexpr const char* kCaption = "Edit Wildcard";
  static constexpr int kHelpContext = 801;
  static constexpr const char* kEditTooltip = "Please enter a new  wildcard";

  explicit WildcardEditor(std::vector<std::string> remembered) : list_(std::move(remembered)) {}

  const std::vector<std::string>& Patterns() const { return list_.Entries(); }
  SourceList& List() { return list_; }
  const std::string& EditText() const { return edit_; }
  void SetEditText(const std::string& text) { edit_ = text; }

  // "Add wildcard": appends the trimmed edit text unless blank or already listed (case ignored);
  // a non-blank edit is emptied either way. Returns true when a pattern was appended.
  bool AddWildcard();

  // "Delete a item": removes the selected pattern; with nothing selected (even in an empty list)
  // tells the user to select one.
  void DeleteSelected(UserInteraction& ui);

  void DeleteAll() { list_.Clear(); }
  bool MoveUp() { return list_.MoveUp(); }
  bool MoveDown() { return list_.MoveDown(); }

  // "&Ok": writes "Wildcard Total" and "Wildcard<i>" to Common of project.ini in dataDir.
  // Throws SettingsWriteError when the file refuses the write.
  void Save(const std::string& dataDir) const;

 private:
  SourceList list_;
  std::string edit_;
};

}  // namespace brisko::core
