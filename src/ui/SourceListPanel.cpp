// One backup or exclude list with its six buttons; serves the main window and the wizard.
#include "ui/SourceListPanel.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/ProjectStore.h"
#include "core/view/SelectByWildcard.h"
#include "core/view/SourceList.h"
#include "ui/AppImages.h"
#include "ui/SelectByWildcardDialog.h"
#include "ui/SourceEntryDelegate.h"

namespace brisko::ui {

SourceListPanel::SourceListPanel(const QString& name, core::SourceList& list, core::UserInteraction& ui,
                                 std::string dataDir, QWidget* parent)
    : QWidget(parent), list_(&list), ui_(ui), dataDir_(std::move(dataDir)) {
  setObjectName(name + QStringLiteral("Panel"));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  view_ = new QListWidget(this);
  view_->setObjectName(name);
  view_->setItemDelegate(new SourceEntryDelegate(view_));
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setUniformItemSizes(true);
  layout->addWidget(view_, 1);
  auto* buttons = new QVBoxLayout();
  buttons->setSpacing(1);
  layout->addLayout(buttons);

  const struct {
    const char* role;
    const char* icon;
    const char* tip;
    void (SourceListPanel::*slot)();
  } kButtons[] = {
      {"Wildcard", "browse", "Select files by wildcard", &SourceListPanel::AddByWildcard},
      {"Filename", "document", "Select files by filename", &SourceListPanel::AddByFileName},
      {"Up", "up", "Up a item", &SourceListPanel::MoveUp},
      {"Down", "down", "Down a item", &SourceListPanel::MoveDown},
      {"Delete", "cancel", "Delete a item", &SourceListPanel::DeleteSelected},
      {"DeleteAll", "delete", "Delete all items", &SourceListPanel::DeleteAll},
  };
  for (const auto& b : kButtons) {
    QToolButton* button = AddButton(b.role, b.icon, QString::fromLatin1(b.tip));
    buttons->addWidget(button);
    connect(button, &QToolButton::clicked, this, b.slot);
  }
  buttons->addStretch();
  connect(view_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!refreshing_) list_->Select(row);
  });
  Refresh();
}

QToolButton* SourceListPanel::AddButton(const char* role, const char* icon, const QString& tooltip) {
  auto* button = new QToolButton(this);
  button->setObjectName(objectName().chopped(5) + QString::fromLatin1(role));
  button->setToolTip(tooltip);
  button->setIcon(AppImages::Tool(icon));
  button->setAutoRaise(true);
  button->setFixedSize(24, 22);
  // Arrows drawn by the style where no picture of our own exists.
  if (QString::fromLatin1(icon) == QLatin1String("up")) button->setArrowType(Qt::UpArrow);
  if (QString::fromLatin1(icon) == QLatin1String("down")) button->setArrowType(Qt::DownArrow);
  return button;
}

void SourceListPanel::SetList(core::SourceList& list) {
  list_ = &list;
  Refresh();
}

void SourceListPanel::Refresh() {
  refreshing_ = true;
  view_->clear();
  for (const std::string& entry : list_->Entries()) view_->addItem(QString::fromStdString(entry));
  view_->setCurrentRow(list_->Selected());
  if (list_->Selected() < 0) view_->clearSelection();
  refreshing_ = false;
}

void SourceListPanel::AfterChange() {
  Refresh();
  emit changed();
}

void SourceListPanel::AddByWildcard() {
  SelectByWildcardDialog dialog(dataDir_, ui_, window());
  if (dialog.exec() != QDialog::Accepted) return;
  core::AddEntryByWildcard(*list_, dialog.Model());
  AfterChange();
}

void SourceListPanel::AddByFileName() {
  if (core::AddEntriesByFileName(*list_, ui_)) AfterChange();
}

void SourceListPanel::MoveUp() {
  if (list_->MoveUp()) AfterChange();
}

void SourceListPanel::MoveDown() {
  if (list_->MoveDown()) AfterChange();
}

void SourceListPanel::DeleteSelected() {
  const int before = list_->Count();
  core::DeleteSelectedEntry(*list_, ui_);
  if (list_->Count() != before) AfterChange();
}

void SourceListPanel::DeleteAll() {
  if (list_->Empty()) return;
  list_->Clear();
  AfterChange();
}

}  // namespace brisko::ui
