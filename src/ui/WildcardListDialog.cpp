// The editor of remembered wildcards.
#include "ui/WildcardListDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/ProjectStore.h"
#include "ui/AppImages.h"
#include "ui/DialogSize.h"
#include "ui/HelpLauncher.h"

namespace brisko::ui {

WildcardListDialog::WildcardListDialog(std::string dataDir, core::UserInteraction& ui, QWidget* parent)
    : QDialog(parent), dataDir_(std::move(dataDir)), ui_(ui), model_(core::ReadWildcards(dataDir_)) {
  setObjectName(QStringLiteral("WildcardListDialog"));
  setWindowTitle(QString::fromLatin1(core::WildcardEditor::kCaption));
  HelpLauncher::SetContext(this, core::WildcardEditor::kHelpContext);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Wildcard list:"), this));
  auto* listRow = new QHBoxLayout();
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("ListWildcard"));
  listRow->addWidget(list_, 1);
  auto* side = new QVBoxLayout();
  auto tool = [&](const char* name, const char* tip, Qt::ArrowType arrow, const char* icon) {
    auto* b = new QToolButton(this);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(QString::fromLatin1(tip));
    if (arrow != Qt::NoArrow) b->setArrowType(arrow);
    if (icon) b->setIcon(AppImages::Tool(icon));
    b->setFixedSize(24, 22);
    side->addWidget(b);
    return b;
  };
  auto* del = tool("ButtonDelete", "Delete a item", Qt::NoArrow, "cancel");
  auto* delAll = tool("ButtonDeleteAll", "Delete all items", Qt::NoArrow, "delete");
  auto* up = tool("ButtonUp", "Up a item", Qt::UpArrow, nullptr);
  auto* down = tool("ButtonDown", "Down a item", Qt::DownArrow, nullptr);
  side->addStretch();
  listRow->addLayout(side);
  layout->addLayout(listRow);

  layout->addWidget(new QLabel(QStringLiteral("Add wildcard:"), this));
  auto* addRow = new QHBoxLayout();
  edit_ = new QLineEdit(this);
  edit_->setObjectName(QStringLiteral("EditWildcard"));
  edit_->setToolTip(QString::fromLatin1(core::WildcardEditor::kEditTooltip));
  addRow->addWidget(edit_, 1);
  auto* add = new QToolButton(this);
  add->setObjectName(QStringLiteral("ButtonAdd"));
  add->setToolTip(QStringLiteral("Add wildcard"));
  add->setIcon(AppImages::Tool("add"));
  addRow->addWidget(add);
  layout->addLayout(addRow);

  auto* buttons = new QDialogButtonBox(this);
  auto* help = new QPushButton(QStringLiteral("Help"), this);
  help->setObjectName(QStringLiteral("ButtonHelp"));
  auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
  ok->setObjectName(QStringLiteral("ButtonOk"));
  auto* cancel = new QPushButton(QStringLiteral("Can&cel"), this);
  cancel->setObjectName(QStringLiteral("ButtonCancel"));
  // Enter belongs to the pattern box (it adds the pattern), never to a button that closes the dialog.
  for (QPushButton* b : {help, ok, cancel}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
  buttons->addButton(help, QDialogButtonBox::HelpRole);
  buttons->addButton(ok, QDialogButtonBox::AcceptRole);
  buttons->addButton(cancel, QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);

  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!refreshing_) model_.List().Select(row);
  });
  connect(add, &QToolButton::clicked, this, [this] {
    model_.SetEditText(edit_->text().toStdString());
    model_.AddWildcard();
    edit_->setText(QString::fromStdString(model_.EditText()));
    Refresh();
  });
  connect(edit_, &QLineEdit::returnPressed, add, &QToolButton::click);
  connect(del, &QToolButton::clicked, this, [this] {
    model_.DeleteSelected(ui_);
    Refresh();
  });
  connect(delAll, &QToolButton::clicked, this, [this] {
    model_.DeleteAll();
    Refresh();
  });
  connect(up, &QToolButton::clicked, this, [this] {
    if (model_.MoveUp()) Refresh();
  });
  connect(down, &QToolButton::clicked, this, [this] {
    if (model_.MoveDown()) Refresh();
  });
  connect(help, &QPushButton::clicked, this, [] { HelpLauncher::Open(core::WildcardEditor::kHelpContext); });
  connect(ok, &QPushButton::clicked, this, &WildcardListDialog::OnOk);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  Refresh();
  DialogSize::Keep(this, QSize(360, 340));
}

void WildcardListDialog::Refresh() {
  refreshing_ = true;
  list_->clear();
  for (const std::string& p : model_.Patterns()) list_->addItem(QString::fromStdString(p));
  list_->setCurrentRow(model_.List().Selected());
  if (model_.List().Selected() < 0) list_->clearSelection();
  refreshing_ = false;
}

void WildcardListDialog::OnOk() {
  core::WriteWildcards(dataDir_, model_.Patterns());
  accept();
}

}  // namespace brisko::ui
