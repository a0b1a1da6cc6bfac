// Answers the core's questions with the program's dialogs.
#pragma once

#include <QPointer>
#include <QStringList>
#include <functional>
#include <optional>

#include "core/UserInteraction.h"

class QWidget;

namespace brisko::ui {

class QtUserInteraction : public core::UserInteraction {
 public:
  // Stands in for the desktop's folder and file choosers in tests: gets the caption, returns the
  // chosen paths (nullopt for Cancel).
  using PickerHook = std::function<std::optional<QStringList>(const QString& caption)>;

  explicit QtUserInteraction(QWidget* parent = nullptr) : parent_(parent) {}

  void SetParent(QWidget* parent) { parent_ = parent; }
  // What "Add Project" runs; true when the wizard finished and wrote a project.
  void SetWizardRunner(std::function<bool()> runner) { wizard_ = std::move(runner); }

  static void SetPickerHookForTests(PickerHook hook);

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

 private:
  QWidget* Parent() const;

  QPointer<QWidget> parent_;
  std::function<bool()> wizard_;
};

}  // namespace brisko::ui
