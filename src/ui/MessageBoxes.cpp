// The ordinary modal message boxes: one per kind, with its caption and icon.
#include "ui/MessageBoxes.h"

#include <QMessageBox>

#include "ui/TMsgForm.h"

namespace brisko::ui {
namespace {

QMessageBox::Icon IconOf(core::MessageKind kind) {
  switch (kind) {
    case core::MessageKind::Warning: return QMessageBox::Warning;
    case core::MessageKind::Error: return QMessageBox::Critical;
    case core::MessageKind::Information: return QMessageBox::Information;
    case core::MessageKind::Confirmation: return QMessageBox::Question;
    case core::MessageKind::Custom: break;
  }
  return QMessageBox::NoIcon;
}

int Run(QWidget* parent, core::MessageKind kind, const QString& text, QMessageBox::StandardButtons buttons,
        QMessageBox::StandardButton escape) {
  QMessageBox box(IconOf(kind), QString::fromUtf8(core::KindCaption(kind)), TMsgForm::DisplayText(text), buttons,
                  parent);
  box.setObjectName(QStringLiteral("MessageBox"));
  box.setTextFormat(Qt::PlainText);
  box.setEscapeButton(escape);
  return box.exec();
}

}  // namespace

void ShowMessageBox(QWidget* parent, core::MessageKind kind, const QString& text) {
  Run(parent, kind, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool AskYesNo(QWidget* parent, core::MessageKind kind, const QString& text) {
  return Run(parent, kind, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace brisko::ui
