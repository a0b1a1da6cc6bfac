// The ordinary modal message boxes: one per kind, with its caption and icon.
#include "ui/MessageBoxes.h"

#include <QMessageBox>

#include "ui/TimedMessageBox.h"

namespace brisko::ui {
namespace {

QMessageBox::Icon IconOf(core::MessageKind kind) {
  switch (kind) {
    case core::MessageKind::Warning:
      return QMessageBox::Warning;
    case core::MessageKind::Error:
      return QMessageBox::Critical;
    case core::MessageKind::Information:
      return QMessageBox::Information;
    case core::MessageKind::Confirmation:
      return QMessageBox::Question;
    case core::MessageKind::Custom:
      break;
  }
  return QMessageBox::NoIcon;
}

// The default button is the escape button too: a question answered by Enter alone keeps things as
// they are.
int Run(QWidget* parent, core::MessageKind kind, const QString& text, QMessageBox::StandardButtons buttons,
        QMessageBox::StandardButton escape, QMessageBox::StandardButton defaultButton) {
  QMessageBox box(IconOf(kind), QString::fromUtf8(core::KindCaption(kind)),
                  TimedMessageBox::DisplayText(text), buttons, parent);
  box.setObjectName(QStringLiteral("MessageBox"));
  box.setTextFormat(Qt::PlainText);
  box.setEscapeButton(escape);
  box.setDefaultButton(defaultButton);
  return box.exec();
}

}  // namespace

void ShowMessageBox(QWidget* parent, core::MessageKind kind, const QString& text) {
  Run(parent, kind, text, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok);
}

bool AskYesNo(QWidget* parent, core::MessageKind kind, const QString& text) {
  return Run(parent, kind, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::No) ==
         QMessageBox::Yes;
}

core::OverwriteAnswer AskOverwriteOfMany(QWidget* parent, const QString& text) {
  const int button = Run(
      parent, core::MessageKind::Warning, text,
      QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll | QMessageBox::NoToAll | QMessageBox::Cancel,
      QMessageBox::Cancel, QMessageBox::No);
  switch (button) {
    case QMessageBox::Yes:
      return core::OverwriteAnswer::Yes;
    case QMessageBox::YesToAll:
      return core::OverwriteAnswer::YesToAll;
    case QMessageBox::NoToAll:
      return core::OverwriteAnswer::NoToAll;
    case QMessageBox::Cancel:
      return core::OverwriteAnswer::Cancel;
    default:
      return core::OverwriteAnswer::No;
  }
}

core::UnsavedAnswer AskSaveDiscardCancel(QWidget* parent, const QString& text) {
  switch (Run(parent, core::MessageKind::Confirmation, text,
              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Cancel,
              QMessageBox::Save)) {
    case QMessageBox::Save:
      return core::UnsavedAnswer::Save;
    case QMessageBox::Discard:
      return core::UnsavedAnswer::Discard;
    default:
      return core::UnsavedAnswer::Cancel;
  }
}

}  // namespace brisko::ui
