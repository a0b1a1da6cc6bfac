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

// The desktop's own choosers; they open where the user last chose when no usable start is given.
class DialogFilePicker : public FilePicker {
 public:
  QString PickFolder(QWidget* parent, const QString& caption, const QString& startFolder) override {
    const QString dir =
        QFileDialog::getExistingDirectory(parent, caption, StartDir(startFolder.toStdString()));
    if (!dir.isEmpty()) LastFolder() = dir;
    return dir;
  }
  QStringList PickFiles(QWidget* parent, const QString& caption, const QString& startFolder) override {
    QFileDialog dialog(parent, caption, StartDir(startFolder.toStdString()));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted) return {};
    LastFolder() = dialog.directory().absolutePath();
    return dialog.selectedFiles();
  }
};

FilePicker& Dialogs() {
  static DialogFilePicker picker;
  return picker;
}

}  // namespace

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
  FilePicker& picker = picker_ ? *picker_ : Dialogs();
  const QString dir = picker.PickFolder(Parent(), Q(caption), Q(startFolder));
  if (dir.isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(dir).toStdString();
}

std::vector<std::string> QtUserInteraction::PickFiles(const std::string& caption,
                                                      const std::string& startFolder) {
  FilePicker& picker = picker_ ? *picker_ : Dialogs();
  const QStringList files = picker.PickFiles(Parent(), Q(caption), Q(startFolder));
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
