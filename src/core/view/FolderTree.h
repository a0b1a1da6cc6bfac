// What the select-by-wildcard dialog needs of the folder tree it shows.
#pragma once

#include <functional>
#include <string>

namespace brisko::core {

// The tree itself (a browsable tree of folders from the desktop down) belongs to the user interface;
// the dialog logic only reads the selection and follows its changes.
class FolderTree {
 public:
  virtual ~FolderTree() = default;

  // File-system path of the selected folder; empty when nothing is selected or the selected
  // folder has no file-system path (a virtual folder).
  virtual std::string SelectedFolderPath() const = 0;

  // Registers the one callback run after every change of selection, replacing any earlier one.
  virtual void SetSelectionChangedHandler(std::function<void()> handler) = 0;
};

}  // namespace brisko::core
