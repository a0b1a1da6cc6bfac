// The name dialog of Rename and Copy: a proposed name the user may change.
#include "ui/ProjectNameDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/view/ProjectCommands.h"
#include "ui/DialogSize.h"
#include "ui/QtUserInteraction.h"
#include "ui/WidgetHelpers.h"

namespace brisko::ui {

ProjectNameDialog::ProjectNameDialog(const QString& caption, const QString& proposed, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("ProjectNameDialog"));
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QString::fromLatin1(core::ProjectCommands::kNameDialogLabel), this));
  edit_ = new QLineEdit(proposed, this);
  edit_->setObjectName(QStringLiteral("EditName"));
  edit_->setMinimumWidth(280);
  edit_->selectAll();
  layout->addWidget(edit_);
  auto* buttons = OkCancelButtons(this);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &ProjectNameDialog::OnOk);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  DialogSize::Keep(this);
}

QString ProjectNameDialog::Name() const {
  return edit_->text();
}

void ProjectNameDialog::OnOk() {
  QtUserInteraction ui(this);
  if (core::ProjectCommands::NameDialogAccepts(edit_->text().toStdString(), ui)) accept();
}

}  // namespace brisko::ui
