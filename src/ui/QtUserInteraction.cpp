// Answers the core's questions with the program's dialogs.
#include "ui/QtUserInteraction.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

#include "ui/MessageBoxes.h"
#include "ui/ProjectNameDialog.h"
#include "ui/TimedMessageBox.h"
#include "ui/WidgetHelpers.h"

namespace brisko::ui {
namespace {

QtUserInteraction::PickerHook& Hook() {
  static QtUserInteraction::PickerHook hook;
  return hook;
}

QString& LastFolder() {
  static QString folder;
  return folder;
}

QString StartDir(const std::string& start) {
  if (!start.empty() && QDir(Q(start)).exists()) return Q(start);
  // Without a usable folder the choosers open where the user last chose one, else at home.
  if (!LastFolder().isEmpty() && QDir(LastFolder()).exists()) return LastFolder();
  return QDir::homePath();
}

}  // namespace

void QtUserInteraction::SetPickerHookForTests(PickerHook hook) {
  Hook() = std::move(hook);
}

QWidget* QtUserInteraction::Parent() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return parent_.data();
}

bool QtUserInteraction::Confirm(core::MessageKind kind, const std::string& text) {
  return AskYesNo(Parent(), kind, Q(text));
}

void QtUserInteraction::ShowMessage(core::MessageKind kind, const std::string& text) {
  ShowMessageBox(Parent(), kind, Q(text));
}

void QtUserInteraction::ShowTimedMessage(core::MessageKind kind, const std::string& caption,
                                         const std::string& text, int seconds) {
  TimedMessageBox::ShowTimed(Q(text), kind, seconds, Q(caption), Parent());
}

std::optional<std::string> QtUserInteraction::PickFolder(const std::string& caption,
                                                         const std::string& startFolder) {
  if (Hook()) {
    const auto chosen = Hook()(Q(caption));
    if (!chosen || chosen->isEmpty()) return std::nullopt;
    return chosen->first().toStdString();
  }
  const QString dir = QFileDialog::getExistingDirectory(Parent(), Q(caption), StartDir(startFolder));
  if (dir.isEmpty()) return std::nullopt;
  LastFolder() = dir;
  return QDir::toNativeSeparators(dir).toStdString();
}

std::vector<std::string> QtUserInteraction::PickFiles(const std::string& caption,
                                                      const std::string& startFolder) {
  QStringList files;
  if (Hook()) {
    const auto chosen = Hook()(Q(caption));
    if (chosen) files = *chosen;
  } else {
    QFileDialog dialog(Parent(), Q(caption), StartDir(startFolder));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() == QDialog::Accepted) {
      files = dialog.selectedFiles();
      LastFolder() = dialog.directory().absolutePath();
    }
  }
  std::vector<std::string> out;
  for (const QString& f : files) out.push_back(QDir::toNativeSeparators(f).toStdString());
  return out;
}

std::optional<std::string> QtUserInteraction::AskName(const std::string& caption,
                                                      const std::string& initial) {
  ProjectNameDialog dialog(Q(caption), Q(initial), Parent());
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Name().toStdString();
}

bool QtUserInteraction::RunAddProjectWizard() {
  return wizard_ ? wizard_() : false;
}

bool QtUserInteraction::AskOverwrite(const std::string& caption, const std::string& text) {
  return AskYesNo(Parent(), core::MessageKind::Warning, Q(text));
}

core::OverwriteAnswer QtUserInteraction::AskOverwriteDuringRestore(const std::string&,
                                                                   const std::string& text) {
  return AskOverwriteOfMany(Parent(), Q(text));
}

core::UnsavedAnswer QtUserInteraction::AskUnsavedChanges(const std::string& text) {
  return AskSaveDiscardCancel(Parent(), Q(text));
}

}  // namespace brisko::ui
