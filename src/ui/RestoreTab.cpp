// The "Restore" tab: a folder of archives, the contents of the selected one, and the restore options.
#include "ui/RestoreTab.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <set>

#include "core/view/MainModel.h"
#include "ui/AppImages.h"
#include "ui/ArchiveContentsModel.h"
#include "ui/ErrorDisplay.h"
#include "ui/GridCellDelegate.h"
#include "ui/HelpLauncher.h"
#include "ui/WidgetHelpers.h"
#include "zip/read/ArchiveDirectory.h"

namespace brisko::ui {
namespace {

void SetCell(QTableWidget* grid, int row, int column, const std::string& text) {
  QTableWidgetItem* item = grid->item(row, column);
  if (!item) {
    item = new QTableWidgetItem();
    grid->setItem(row, column, item);
  }
  item->setText(Q(text));
}

const struct {
  const char* name;
  const char* caption;
  zip::OverwriteRule mode;
} kOverwrite[5] = {
    {"RadioPrompt", "Prompt Before  Overwrite", zip::OverwriteRule::Prompt},
    {"RadioAlways", "Always", zip::OverwriteRule::Always},
    {"RadioNever", "Never", zip::OverwriteRule::Never},
    {"RadioNewer", "If Newer", zip::OverwriteRule::IfNewer},
    {"RadioOlder", "If Older", zip::OverwriteRule::IfOlder},
};

}  // namespace

RestoreTab::RestoreTab(core::MainModel& model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      archive_(std::make_unique<zip::ArchiveDirectory>()),
      browser_(std::make_unique<core::ArchiveBrowser>(model.Settings(), *archive_)),
      commands_(std::make_unique<core::RestoreCommands>(model, *browser_, *archive_)) {
  setObjectName(QStringLiteral("TabRestore"));
  HelpLauncher::SetContext(this, kHelpRestoreTab);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);

  auto* files = new QGroupBox(QStringLiteral("Files"), this);
  files->setObjectName(QStringLiteral("GroupFiles"));
  auto* fl = new QGridLayout(files);
  fl->addWidget(new QLabel(QStringLiteral("Zip folder:"), files), 0, 0);
  directoryView_ = new QLineEdit(files);
  directoryView_->setObjectName(QStringLiteral("DirectoryView"));
  directoryView_->setReadOnly(true);
  fl->addWidget(directoryView_, 0, 1);
  auto* browseView = new QToolButton(files);
  browseView->setObjectName(QStringLiteral("ButtonDirectoryView"));
  browseView->setIcon(AppImages::Tool("browse"));
  fl->addWidget(browseView, 0, 2);

  fl->addWidget(new QLabel(QStringLiteral("Zip file list:"), files), 1, 0);
  zipCount_ = new QLabel(files);
  zipCount_->setObjectName(QStringLiteral("LabelZipNumber"));
  zipCount_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  fl->addWidget(zipCount_, 1, 1, 1, 2);
  archives_ = new QTableWidget(files);
  archives_->setObjectName(QStringLiteral("StringGridZipfilename"));
  GridCellDelegate::Prepare(archives_,
                            {QStringLiteral("Filename"), QStringLiteral("Size(KB)"), QStringLiteral("Date")});
  archives_->setSelectionMode(QAbstractItemView::ContiguousSelection);
  archives_->setToolTip(QStringLiteral(
      "Right-click it to open menu\nDouble-click it to open file\nShift+click to select multi-file"));
  archives_->setContextMenuPolicy(Qt::CustomContextMenu);
  archives_->setColumnWidth(0, 240);
  archives_->setColumnWidth(1, 70);
  archives_->horizontalHeader()->setStretchLastSection(true);
  fl->addWidget(archives_, 2, 0, 1, 3);

  fl->addWidget(new QLabel(QStringLiteral("Zip file details:"), files), 3, 0);
  fileCount_ = new QLabel(files);
  fileCount_->setObjectName(QStringLiteral("LabelfileNumber"));
  fileCount_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  fl->addWidget(fileCount_, 3, 1, 1, 2);
  contentsModel_ = new ArchiveContentsModel(this);
  contents_ = new QTableView(files);
  contents_->setObjectName(QStringLiteral("StringGrid1"));
  contents_->setModel(contentsModel_);
  GridCellDelegate::PrepareView(contents_);
  // Several members, or folders with everything below them, can be chosen for "Restore File".
  contents_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  contents_->setToolTip(QStringLiteral("Select the files or folders to restore (none: the whole archive)"));
  contents_->setColumnWidth(0, 180);
  contents_->setColumnWidth(1, 70);
  contents_->setColumnWidth(2, 230);
  contents_->horizontalHeader()->setStretchLastSection(true);
  fl->addWidget(contents_, 4, 0, 1, 3);
  fl->addWidget(new QLabel(QStringLiteral("Filter:"), files), 5, 0);
  filter_ = new QLineEdit(files);
  filter_->setObjectName(QStringLiteral("EditContentsFilter"));
  filter_->setPlaceholderText(QStringLiteral("part of a name, or a wildcard such as *.txt"));
  filter_->setClearButtonEnabled(true);
  fl->addWidget(filter_, 5, 1, 1, 2);
  fl->setRowStretch(2, 1);
  fl->setRowStretch(4, 2);
  fl->setColumnStretch(1, 1);
  layout->addWidget(files, 1);

  auto* options = new QGroupBox(QStringLiteral("Options"), this);
  options->setObjectName(QStringLiteral("GroupRestoreOptions"));
  auto* ol = new QGridLayout(options);
  ol->addWidget(new QLabel(QStringLiteral("Extract to:"), options), 0, 0);
  directoryRestore_ = new QLineEdit(options);
  directoryRestore_->setObjectName(QStringLiteral("DirectoryRestore"));
  ol->addWidget(directoryRestore_, 0, 1);
  auto* browseRestore = new QToolButton(options);
  browseRestore->setObjectName(QStringLiteral("ButtonDirectoryRestore"));
  browseRestore->setIcon(AppImages::Tool("browse"));
  ol->addWidget(browseRestore, 0, 2);
  useFolder_ = new QCheckBox(QStringLiteral("Use Original Folder Name"), options);
  useFolder_->setObjectName(QStringLiteral("CheckBoxUseFolder"));
  ol->addWidget(useFolder_, 0, 3);
  ol->addWidget(new QLabel(QStringLiteral("Input Password ( If has ):"), options), 1, 0);
  password_ = new QLineEdit(options);
  password_->setObjectName(QStringLiteral("EditRestorePassword"));
  password_->setEchoMode(QLineEdit::Password);
  ol->addWidget(password_, 1, 1);
  auto* radioRow = new QHBoxLayout();
  for (int i = 0; i < 5; ++i) {
    radios_[i] = new QRadioButton(QString::fromLatin1(kOverwrite[i].caption), options);
    radios_[i]->setObjectName(QString::fromLatin1(kOverwrite[i].name));
    radioRow->addWidget(radios_[i]);
    connect(radios_[i], &QRadioButton::toggled, this, [this] { ReadOptions(); });
  }
  radioRow->addStretch();
  ol->addLayout(radioRow, 2, 0, 1, 4);
  ol->setColumnStretch(1, 1);
  layout->addWidget(options);

  // Initial option values come from the commands object.
  useFolder_->setChecked(commands_->options.useOriginalFolder);
  for (int i = 0; i < 5; ++i) radios_[i]->setChecked(kOverwrite[i].mode == commands_->options.overwriteMode);

  browser_->OnChanged = [this] { Sync(); };
  connect(browseView, &QToolButton::clicked, this, [this] { PickFolder(false); });
  connect(browseRestore, &QToolButton::clicked, this, [this] { PickFolder(true); });
  connect(directoryRestore_, &QLineEdit::textEdited, this, [this] { ReadOptions(); });
  connect(useFolder_, &QCheckBox::toggled, this, [this] { ReadOptions(); });
  connect(password_, &QLineEdit::textEdited, this, [this] { ReadOptions(); });
  connect(filter_, &QLineEdit::textChanged, this,
          [this](const QString& text) { contentsModel_->SetFilter(text); });
  connect(archives_, &QTableWidget::itemSelectionChanged, this, &RestoreTab::OnSelectionChanged);
  connect(archives_, &QTableWidget::cellDoubleClicked, this,
          [this] { RunReportingErrors(this, [this] { commands_->OpenCurrent(); }); });
  connect(archives_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    QMenu* menu = BuildPopupMenu();
    menu->popup(archives_->viewport()->mapToGlobal(pos));
  });
  Sync();
}

RestoreTab::~RestoreTab() {
  browser_->OnChanged = nullptr;
}

void RestoreTab::ReadOptions() {
  if (syncing_) return;
  browser_->SetDirectoryRestore(directoryRestore_->text().toStdString());
  commands_->options.useOriginalFolder = useFolder_->isChecked();
  commands_->options.password = password_->text().toStdString();
  for (int i = 0; i < 5; ++i)
    if (radios_[i]->isChecked()) commands_->options.overwriteMode = kOverwrite[i].mode;
}

void RestoreTab::Sync() {
  syncing_ = true;
  const QSignalBlocker block(archives_);
  if (directoryView_->text().toStdString() != browser_->DirectoryView())
    directoryView_->setText(Q(browser_->DirectoryView()));
  if (directoryRestore_->text().toStdString() != browser_->DirectoryRestore())
    directoryRestore_->setText(Q(browser_->DirectoryRestore()));

  const auto& rows = browser_->Archives();
  // An empty list still shows one empty row under the headings.
  archives_->setRowCount(std::max<int>(1, static_cast<int>(rows.size())));
  archives_->clearContents();
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const core::ArchiveRow& row = rows[static_cast<size_t>(r)];
    SetCell(archives_, r, 0, row.name);
    SetCell(archives_, r, 1, row.sizeKb);
    SetCell(archives_, r, 2, row.date);
  }
  archives_->clearSelection();
  if (browser_->CurrentRow() >= 0) {
    archives_->setCurrentCell(browser_->CurrentRow(), 0, QItemSelectionModel::NoUpdate);
    const int first = std::max(0, browser_->SelectionFirst());
    const int last = std::max(first, browser_->SelectionLast());
    archives_->setRangeSelected(QTableWidgetSelectionRange(first, 0, last, 2), true);
  }
  zipCount_->setText(Q(browser_->ArchiveCountLabel()));

  if (shownListing_ != browser_->ContentsListing()) {
    // Only a new listing resets the view, so that a selection survives other changes.
    shownListing_ = browser_->ContentsListing();
    contentsModel_->SetRows(&browser_->Contents());
  }
  fileCount_->setText(Q(browser_->ContentsCountLabel()));
  syncing_ = false;
}

void RestoreTab::OnSelectionChanged() {
  if (syncing_ || !browser_->HasArchives()) return;
  const QList<QTableWidgetSelectionRange> ranges = archives_->selectedRanges();
  if (ranges.isEmpty()) return;
  const int first = ranges.first().topRow();
  const int last = ranges.first().bottomRow();
  const int count = static_cast<int>(browser_->Archives().size());
  if (first >= count) return;
  const bool extend = (QApplication::keyboardModifiers() & Qt::ShiftModifier) && first != last;
  RunReportingErrors(this, [&] {
    if (extend) {
      browser_->SelectRange(first, std::min(last, count - 1));
    } else {
      const int row =
          archives_->currentRow() >= 0 && archives_->currentRow() < count ? archives_->currentRow() : first;
      browser_->SelectRow(row);
    }
  });
}

void RestoreTab::PickFolder(bool restoreTarget) {
  const std::string start = restoreTarget ? browser_->DirectoryRestore() : browser_->DirectoryView();
  const auto folder = model_.Ui().PickFolder("Please select directory", start);
  if (!folder) return;
  if (restoreTarget) {
    browser_->SetDirectoryRestore(*folder);
    Sync();
  } else {
    RunReportingErrors(this, [&] { browser_->SetDirectoryView(*folder); });
  }
}

void RestoreTab::Enter() {
  RunReportingErrors(this, [this] { browser_->EnterRestoreTab(model_.Form()); });
  Sync();
}

void RestoreTab::Refresh() {
  // A run that ends while the user works here leaves the archive and the members they chose.
  const std::string archive = browser_->CurrentName();
  const std::vector<std::string> members = SelectedMembers();
  RunReportingErrors(this, [&] {
    browser_->Refresh();
    const auto& rows = browser_->Archives();
    for (size_t i = 0; i < rows.size(); ++i)
      if (rows[i].name == archive && static_cast<int>(i) != browser_->CurrentRow())
        browser_->SelectRow(static_cast<int>(i));
  });
  Sync();
  if (members.empty() || browser_->CurrentName() != archive) return;
  const std::set<std::string> chosen(members.begin(), members.end());
  QItemSelection selection;
  for (int row = 0; row < contentsModel_->rowCount(); ++row) {
    const QModelIndex index = contentsModel_->index(row, 0);
    if (chosen.count(index.data(ArchiveContentsModel::kStoredNameRole).toString().toStdString()) != 0)
      selection.select(index, index);
  }
  contents_->selectionModel()->select(selection, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

std::vector<std::string> RestoreTab::SelectedMembers() const {
  std::vector<std::string> names;
  for (const QModelIndex& index : contents_->selectionModel()->selectedRows())
    names.push_back(index.data(ArchiveContentsModel::kStoredNameRole).toString().toStdString());
  return names;
}

void RestoreTab::Restore() {
  ReadOptions();
  commands_->selection = SelectedMembers();
  RunReportingErrors(this, [this] { commands_->Restore(); });
  Sync();
}

QMenu* RestoreTab::BuildPopupMenu() {
  delete popup_;
  popup_ = new QMenu(this);
  popup_->setObjectName(QStringLiteral("PopupMenuString"));
  QMenu* sortMenu = nullptr;
  for (const core::PopupMenuItem& item : browser_->PopupMenu()) {
    const QString name = Q(item.name);
    const bool sortItem = item.tag >= core::kSortTagByName && item.tag <= core::kSortTagDescending;
    if (name == QLatin1String("Sort1")) {
      sortMenu = popup_->addMenu(Q(item.caption));
      sortMenu->setObjectName(name);
      sortMenu->menuAction()->setObjectName(name);
      continue;
    }
    QMenu* target = sortItem && sortMenu ? sortMenu : popup_;
    QAction* action = item.caption == "-" ? target->addSeparator() : target->addAction(Q(item.caption));
    action->setObjectName(name);
    action->setVisible(item.visible);
    if (sortItem) {
      action->setCheckable(true);
      action->setChecked(item.checked);
      const int tag = item.tag;
      connect(action, &QAction::triggered, this,
              [this, tag] { RunReportingErrors(this, [&] { browser_->ChooseSortItem(tag); }); });
      // The two radio groups are separated inside the submenu.
      if (tag == core::kSortTagByDate) sortMenu->addSeparator();
    } else if (name == QLatin1String("OpenZipFile1")) {
      connect(action, &QAction::triggered, this,
              [this] { RunReportingErrors(this, [this] { commands_->OpenCurrent(); }); });
    } else if (name == QLatin1String("MenuCopy")) {
      connect(action, &QAction::triggered, this,
              [this] { RunReportingErrors(this, [this] { commands_->CopyCurrent(); }); });
    } else if (name == QLatin1String("menuDelete")) {
      connect(action, &QAction::triggered, this, [this] {
        RunReportingErrors(this, [this] { commands_->DeleteSelected(); });
        Sync();
      });
    } else if (name == QLatin1String("menuTest")) {
      connect(action, &QAction::triggered, this, [this] {
        ReadOptions();
        RunReportingErrors(this, [this] { commands_->TestCurrent(); });
      });
    } else if (name == QLatin1String("menuRestore")) {
      connect(action, &QAction::triggered, this, &RestoreTab::Restore);
    }
  }
  return popup_;
}

}  // namespace brisko::ui
