// Answers the core's questions with the program's dialogs.
#pragma once

#include <QPointer>
#include <QStringList>
#include <functional>
#include <optional>

#include "core/UserInteraction.h"

class QWidget;

namespace brisko::ui {

// The desktop's folder and file choosers; tests give a stand-in that answers without a dialog.
class FilePicker {
 public:
  virtual ~FilePicker() = default;
  // The chosen folder, empty for Cancel; startFolder may be empty or missing.
  virtual QString PickFolder(QWidget* parent, const QString& caption, const QString& startFolder) = 0;
  // The chosen files, empty for Cancel.
  virtual QStringList PickFiles(QWidget* parent, const QString& caption, const QString& startFolder) = 0;
};

class QtUserInteraction : public core::UserInteraction {
 public:
  explicit QtUserInteraction(QWidget* parent = nullptr) : parent_(parent) {}

  void SetParent(QWidget* parent) { parent_ = parent; }
  // What "Add Project" runs; true when the wizard finished and wrote a project.
  void SetWizardRunner(std::function<bool()> runner) { wizard_ = std::move(runner); }
  // Where notices of unattended work go (the window's notifier); without one they are shown as
  // messages.
  void SetNoticeHandler(std::function<void(const core::Notice&)> handler) { notice_ = std::move(handler); }

  // Answers PickFolder and PickFiles with picker (not owned) instead of the desktop's dialogs; nullptr
  // goes back to the dialogs.
  void SetFilePicker(FilePicker* picker) { picker_ = picker; }

  bool Confirm(core::MessageKind kind, const std::string& text) override;
  void ShowMessage(core::MessageKind kind, const std::string& text) override;
  void ShowTimedMessage(core::MessageKind kind, const std::string& caption, const std::string& text,
                        int seconds) override;
  std::optional<std::string> PickFolder(const std::string& caption, const std::string& startFolder) override;
  std::vector<std::string> PickFiles(const std::string& caption, const std::string& startFolder) override;
  std::optional<std::string> AskName(const std::string& caption, const std::string& initial) override;
  bool RunAddProjectWizard() override;
  bool AskOverwrite(const std::string& caption, const std::string& text) override;
  core::OverwriteAnswer AskOverwriteDuringRestore(const std::string& caption,
                                                  const std::string& text) override;
  core::UnsavedAnswer AskUnsavedChanges(const std::string& text) override;
  void NotifyUnattended(const core::Notice& notice) override {
    if (notice_)
      notice_(notice);
    else
      core::UserInteraction::NotifyUnattended(notice);
  }

 private:
  QWidget* Parent() const;

  QPointer<QWidget> parent_;
  std::function<bool()> wizard_;
  std::function<void(const core::Notice&)> notice_;
  FilePicker* picker_ = nullptr;
};

}  // namespace brisko::ui
