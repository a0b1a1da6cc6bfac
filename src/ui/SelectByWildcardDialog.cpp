// The select-by-wildcard dialog: a folder from the tree plus a pattern.
#include "ui/SelectByWildcardDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/ProjectStore.h"
#include "ui/AppImages.h"
#include "ui/DialogSize.h"
#include "ui/HelpLauncher.h"
#include "ui/QtFolderTree.h"
#include "ui/WidgetHelpers.h"
#include "ui/WildcardListDialog.h"

namespace brisko::ui {

SelectByWildcardDialog::SelectByWildcardDialog(std::string dataDir, core::UserInteraction& ui,
                                               QWidget* parent)
    : QDialog(parent), dataDir_(std::move(dataDir)), ui_(ui), model_(core::ReadWildcards(dataDir_)) {
  setObjectName(QStringLiteral("SelectByWildcardDialog"));
  setWindowTitle(QString::fromLatin1(core::SelectByWildcard::kCaption));
  HelpLauncher::SetContext(this, core::SelectByWildcard::kHelpContext);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Folders:"), this));
  tree_ = new QtFolderTree(this);
  tree_->setMinimumSize(380, 260);
  layout->addWidget(tree_, 1);

  auto* wildRow = new QHBoxLayout();
  wildRow->addWidget(new QLabel(QStringLiteral("Wildcard:"), this));
  combo_ = new QComboBox(this);
  combo_->setObjectName(QStringLiteral("ComboWildcard"));
  combo_->setEditable(true);
  // What is typed stays as typed: "*" must not be completed into one of the listed patterns.
  combo_->setCompleter(nullptr);
  wildRow->addWidget(combo_, 1);
  auto* edit = new QToolButton(this);
  edit->setObjectName(QStringLiteral("ButtonEditWildcard"));
  edit->setToolTip(QStringLiteral("Edit Wildcard"));
  edit->setIcon(AppImages::Tool("edit"));
  wildRow->addWidget(edit);
  layout->addLayout(wildRow);

  auto* folderRow = new QHBoxLayout();
  folderRow->addWidget(new QLabel(QStringLiteral("Folder selected:"), this));
  folderLabel_ = new QLabel(this);
  folderLabel_->setObjectName(QStringLiteral("LabelFolder"));
  folderLabel_->setTextFormat(Qt::PlainText);
  folderRow->addWidget(folderLabel_, 1);
  layout->addLayout(folderRow);

  auto* buttons = OkCancelButtons(this);
  layout->addWidget(buttons);

  FillCombo();
  model_.AttachTree(*tree_);
  // The model already follows the tree; the label shows what it holds.
  tree_->SetSelectionChangedHandler([this] {
    model_.SetFolderLabel(tree_->SelectedFolderPath());
    folderLabel_->setText(QString::fromStdString(model_.FolderLabel()));
  });
  folderLabel_->setText(QString::fromStdString(model_.FolderLabel()));

  connect(edit, &QToolButton::clicked, this, [this] {
    WildcardListDialog editor(dataDir_, ui_, this);
    if (editor.exec() == QDialog::Accepted) {
      model_.FillChoices(editor.Patterns());
      FillCombo();
    }
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &SelectByWildcardDialog::OnOk);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  DialogSize::Keep(this);
}

SelectByWildcardDialog::~SelectByWildcardDialog() {
  tree_->SetSelectionChangedHandler({});
}

void SelectByWildcardDialog::FillCombo() {
  combo_->clear();
  for (const std::string& c : model_.Choices()) combo_->addItem(QString::fromStdString(c));
  combo_->setEditText(QString::fromStdString(model_.PatternText()));
}

void SelectByWildcardDialog::OnOk() {
  model_.SetPatternText(combo_->currentText().toStdString());
  model_.SetFolderLabel(folderLabel_->text().toStdString());
  if (model_.Accept(ui_)) accept();
}

}  // namespace brisko::ui
