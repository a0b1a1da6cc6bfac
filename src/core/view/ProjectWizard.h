// The add-project wizard's logic: six pages, their checks, and writing the new project on Finish.
#pragma once

#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/GlobalSettings.h"
#include "core/view/ProjectForm.h"
#include "core/view/SourceList.h"

namespace brisko::core {

class UserInteraction;

// Model of the wizard "AddProjectWizard". The view shows page Page(), the caption Caption(), enables
// "Back" by BackEnabled(), labels the second button NextCaption() and calls Back() / Next().
// Plain controls (check boxes, password, comment, keep count, compression, schedule) bind to Form();
// the prefix, suffix, both suffix numbers and the save folder go through their setters, which
// recompose the file name. Nothing is written before Finish.
class ProjectWizard {
 public:
  static constexpr int kPageCount = 6;
  static constexpr int kFirstHelpContext = 301;

  enum class NextResult { Stayed, Advanced, Finished };

  // dataDir holds project.ini; projects is the main window's project list (for the name check and
  // the list written on Finish); settings give the number padding of the file name.
  ProjectWizard(std::string dataDir, std::vector<std::string> projects, GlobalSettings settings,
                const Clock& clock);

  int Page() const { return page_; }
  // "Add project wizard - Step N of 6".
  std::string Caption() const;
  bool BackEnabled() const { return page_ > 0; }
  // "Next", or "Finish" on the last page.
  const char* NextCaption() const;
  // Help topic of the page: 301 .. 306.
  int HelpContext() const { return kFirstHelpContext + page_; }

  // Goes one page back without any check; nothing on the first page.
  void Back();
  // Checks the page (telling the user what is missing) and advances; on the last page writes the
  // project ("Finish"). Throws SettingsWriteError when project.ini refuses the write.
  NextResult Next(UserInteraction& ui);

  // Page 0.
  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }

  // Pages 1 and 2.
  SourceList& BackupList() { return backup_; }
  SourceList& ExcludeList() { return exclude_; }
  // Page 2's label, following "Include Subfolders" of page 1.
  const char* SubfolderLabel() const;

  // Page 3.
  void SetPrefix(const std::string& prefix);
  void ChooseSuffix(SuffixKind kind);
  void SetSuffixNumber(int number);  // clamped to 1..kCounterMax
  void SetIncrease(int increase);    // clamped to 1..1000
  // The file-name edit as typed by the user (no recomposition).
  void SetFileName(const std::string& fileName) { form_.fileName = fileName; }
  const std::string& FileName() const { return form_.fileName; }
  const std::string& SaveFolder() const { return form_.saveFolder; }
  // "Select directory to save": a folder picked while the name is not blank becomes the save folder.
  // Returns true when the folder changed.
  bool PickSaveFolder(UserInteraction& ui);

  // The remaining controls. Change the prefix, suffix, numbers and file name only through the
  // setters above.
  ProjectForm& Form() { return form_; }
  const ProjectForm& Form() const { return form_; }

 private:
  bool CheckPage(UserInteraction& ui);
  // "~" becomes the home folder; sources that do not exist are shown and kept only if the user says so.
  bool CheckSources(UserInteraction& ui);
  // "~" becomes the home folder; a missing destination folder is created if the user wants it.
  bool CheckDestination(UserInteraction& ui);
  void ComposeFileName();
  void Finish();

  std::string dataDir_;
  std::vector<std::string> projects_;
  GlobalSettings settings_;
  const Clock& clock_;
  int page_ = 0;
  std::string name_;
  SourceList backup_;
  SourceList exclude_;
  ProjectForm form_;
};

}  // namespace brisko::core
