// The name dialog of Rename and Copy: a proposed name the user may change.
#include "ui/TFormRename.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/ProjectCommands.h"
#include "ui/QtUserInteraction.h"

namespace brisko::ui {

TFormRename::TFormRename(const QString& caption, const QString& proposed, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFormRename"));
  setWindowTitle(caption);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QString::fromLatin1(core::ProjectCommands::kNameDialogLabel), this));
  edit_ = new QLineEdit(proposed, this);
  edit_->setObjectName(QStringLiteral("EditName"));
  edit_->setMinimumWidth(280);
  edit_->selectAll();
  layout->addWidget(edit_);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch();
  auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
  ok->setObjectName(QStringLiteral("ButtonOk"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Can&cel"), this);
  cancel->setObjectName(QStringLiteral("ButtonCancel"));
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &TFormRename::OnOk);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  setFixedSize(sizeHint());
}

QString TFormRename::Name() const { return edit_->text(); }

void TFormRename::OnOk() {
  QtUserInteraction ui(this);
  if (core::ProjectCommands::NameDialogAccepts(edit_->text().toStdString(), ui)) accept();
}

}  // namespace brisko::ui
