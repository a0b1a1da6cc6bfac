// The "Backup " tab: the selected project's settings in the groups Source, Destination, Options, Schedule.
#include "ui/BackupTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/Rotation.h"
#include "core/SpinValue.h"
#include "core/view/MainModel.h"
#include "core/view/ProjectCommands.h"
#include "ui/AppImages.h"
#include "ui/DateTimeBridge.h"
#include "ui/DestinationFields.h"
#include "ui/EncryptionChoice.h"
#include "ui/HelpLauncher.h"
#include "ui/ScheduleEditor.h"
#include "ui/SourceFields.h"
#include "ui/SourceListPanel.h"
#include "ui/WidgetHelpers.h"

namespace brisko::ui {
namespace {

void SetTextKeepingCursor(QLineEdit* edit, const std::string& text) {
  if (edit->text().toStdString() != text) edit->setText(Q(text));
}

}  // namespace

BackupTab::BackupTab(core::MainModel& model, QWidget* parent) : QWidget(parent), model_(model) {
  setObjectName(QStringLiteral("TabBackup"));
  HelpLauncher::SetContext(this, kHelpBackupTab);
  BuildSource();
  BuildDestination();
  BuildOptions();
  BuildSchedule();
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(4, 4, 4, 4);
  grid->addWidget(source_, 0, 0, 3, 1);
  grid->addWidget(destination_, 0, 1);
  grid->addWidget(options_, 1, 1);
  grid->addWidget(schedule_, 2, 1);
  grid->setColumnStretch(0, 1);
  Sync();
}

void BackupTab::BuildSource() {
  source_ = Named(new QGroupBox(QStringLiteral("Source"), this), "GroupSource");
  auto* layout = new QVBoxLayout(source_);
  layout->addWidget(new QLabel(QStringLiteral("Select files to backup"), source_));
  sourceFields_ = new SourceFields(
      {QStringLiteral("Include Subdirectories ( if checked, it will also look for the files in subfolders )"),
       QStringLiteral("Only files newer than"), QStringLiteral("Use last backup date")},
      backupList_, model_.Ui(), model_.DataDir(), source_);
  backupPanel_ = sourceFields_->BackupPanel();
  layout->addWidget(sourceFields_, 1);
  layout->addWidget(new QLabel(QStringLiteral("Select files to exclude"), source_));
  excludePanel_ = new SourceListPanel(QStringLiteral("ListboxExclude"), excludeList_, model_.Ui(),
                                      model_.DataDir(), source_);
  layout->addWidget(excludePanel_, 1);

  connect(backupPanel_, &SourceListPanel::changed, this, [this] { Changed(); });
  connect(excludePanel_, &SourceListPanel::changed, this, [this] { Changed(); });
  connect(sourceFields_, &SourceFields::edited, this, [this] { Changed(); });
}

void BackupTab::BuildDestination() {
  destination_ = Named(new QGroupBox(QStringLiteral("Destination"), this), "GroupDestination");
  destinationFields_ = new DestinationFields(
      {QStringLiteral("Prefix:"), QStringLiteral("Suffix:"), QStringLiteral("Filename:")}, destination_);
  (new QVBoxLayout(destination_))->addWidget(destinationFields_);
  connect(destinationFields_, &DestinationFields::prefixEdited, this, [this] { Changed(true); });
  connect(destinationFields_, &DestinationFields::suffixChosen, this, [this] { Changed(true); });
  connect(destinationFields_, &DestinationFields::numberChanged, this, [this] { Changed(true); });
  connect(destinationFields_, &DestinationFields::increaseChanged, this, [this] { Changed(true); });
  connect(destinationFields_, &DestinationFields::fileNameEdited, this, [this] { Changed(); });
  connect(destinationFields_, &DestinationFields::pickFolderClicked, this, &BackupTab::PickSaveFolder);
}

void BackupTab::BuildOptions() {
  options_ = Named(new QGroupBox(QStringLiteral("Options"), this), "GroupOptions");
  auto* grid = new QGridLayout(options_);
  usePassword_ =
      Named(new QCheckBox(QStringLiteral("Use password protect Zip file:"), options_), "CheckBoxPassword");
  grid->addWidget(usePassword_, 0, 0, 1, 4);
  grid->addWidget(new QLabel(QStringLiteral("Enter Password:"), options_), 1, 0);
  password_ = Named(new QLineEdit(options_), "EditPassword");
  password_->setEchoMode(QLineEdit::Password);
  grid->addWidget(password_, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("Retype Password:"), options_), 1, 2);
  retype_ = Named(new QLineEdit(options_), "EditPasswordConfirm");
  retype_->setEchoMode(QLineEdit::Password);
  grid->addWidget(retype_, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("Encryption:"), options_), 2, 0);
  encryption_ = MakeEncryptionChoice(options_);
  grid->addWidget(encryption_, 2, 1, 1, 3);
  storePaths_ =
      Named(new QCheckBox(QStringLiteral("Save full path information to Zip"), options_), "CheckBoxpath");
  grid->addWidget(storePaths_, 3, 0, 1, 4);
  useComment_ = Named(new QCheckBox(QStringLiteral("Add comment:"), options_), "CheckBoxComment");
  grid->addWidget(useComment_, 4, 0);
  comment_ = Named(new QLineEdit(options_), "EditComment");
  grid->addWidget(comment_, 4, 1, 1, 3);
  auto* row = new QHBoxLayout();
  row->addWidget(new QLabel(QStringLiteral("Compression ratio:"), options_));
  level_ = Named(new QSpinBox(options_), "SpinLevel");
  level_->setRange(0, 9);
  level_->setToolTip(QStringLiteral("A value of 9 has the highest compression ratio"));
  row->addWidget(level_);
  row->addSpacing(16);
  row->addWidget(new QLabel(QStringLiteral("Only keep the last "), options_));
  keep_ = Named(new QSpinBox(options_), "SpinKeep");
  keep_->setRange(core::kKeepMin, core::kKeepMax);
  row->addWidget(keep_);
  row->addWidget(new QLabel(QStringLiteral("backups"), options_));
  row->addStretch();
  grid->addLayout(row, 5, 0, 1, 4);
  // Says when an only-newer chain keeps more archives than the keep count.
  keptBeyond_ = Named(new QLabel(options_), "LabelKeptBeyond");
  keptBeyond_->setWordWrap(true);
  keptBeyond_->hide();
  grid->addWidget(keptBeyond_, 6, 0, 1, 4);

  connect(encryption_, &QComboBox::currentIndexChanged, this, [this] { Changed(); });
  for (QCheckBox* box : {usePassword_, storePaths_, useComment_})
    connect(box, &QCheckBox::toggled, this, [this] { Changed(); });
  for (QLineEdit* edit : {password_, retype_, comment_})
    connect(edit, &QLineEdit::textEdited, this, [this] { Changed(); });
  connect(level_, &QSpinBox::valueChanged, this, [this] { Changed(); });
  connect(keep_, &QSpinBox::valueChanged, this, [this] { Changed(); });
}

void BackupTab::BuildSchedule() {
  schedule_ = Named(new QGroupBox(QStringLiteral("Schedule"), this), "GroupSchedule");
  scheduleEditor_ = new ScheduleEditor({{"None", "radioNone"},
                                        {"Daily once at", "radioDaily"},
                                        {"Daily every", "radioEvery"},
                                        {"Weekly every on", "radioWeekly"}},
                                       schedule_);
  (new QVBoxLayout(schedule_))->addWidget(scheduleEditor_);
  connect(scheduleEditor_, &ScheduleEditor::edited, this, [this] { Changed(); });
}

void BackupTab::Changed(bool compose) {
  if (syncing_) return;
  core::ProjectForm& f = model_.Form();
  f.backupList = backupList_.Entries();
  f.excludeList = excludeList_.Entries();
  sourceFields_->Store(f);
  destinationFields_->Store(f);
  f.usePassword = usePassword_->isChecked();
  f.password = password_->text().toStdString();
  f.passwordConfirm = retype_->text().toStdString();
  f.encryption = ChosenEncryption(encryption_);
  f.storePaths = storePaths_->isChecked();
  f.useComment = useComment_->isChecked();
  f.comment = comment_->text().toStdString();
  f.packLevel = level_->value();
  f.storeNumber = keep_->value();
  scheduleEditor_->Store(f);
  if (compose)
    model_.ComposeArchiveName();
  else
    model_.Notify(core::ModelChange::Form);
}

void BackupTab::PickSaveFolder() {
  core::ProjectCommands(model_).ChooseSaveFolder();
}

void BackupTab::Sync() {
  syncing_ = true;
  const core::ProjectForm& f = model_.Form();
  const core::ControlEnabling e = model_.Enabling();
  if (backupList_.Entries() != f.backupList) {
    backupList_.Assign(f.backupList);
    backupPanel_->Refresh();
  }
  if (excludeList_.Entries() != f.excludeList) {
    excludeList_.Assign(f.excludeList);
    excludePanel_->Refresh();
  }
  sourceFields_->Show(f);
  destinationFields_->Show(f);
  usePassword_->setChecked(f.usePassword);
  SetTextKeepingCursor(password_, f.password);
  SetTextKeepingCursor(retype_, f.passwordConfirm);
  ShowEncryption(encryption_, f.encryption);
  storePaths_->setChecked(f.storePaths);
  useComment_->setChecked(f.useComment);
  SetTextKeepingCursor(comment_, f.comment);
  level_->setValue(f.packLevel);
  keep_->setValue(f.storeNumber);
  const std::string held = core::HeldArchivesNote(
      core::HeldArchives(model_.DataDir(), model_.SelectedName()).size(), f.storeNumber);
  keptBeyond_->setText(QString::fromStdString(held));
  keptBeyond_->setVisible(!held.empty());
  scheduleEditor_->Show(f);

  source_->setEnabled(e.groupSource);
  destination_->setEnabled(e.groupDestination);
  options_->setEnabled(e.groupOptions);
  schedule_->setEnabled(e.groupSchedule);
  password_->setEnabled(e.passwordEdits);
  retype_->setEnabled(e.passwordEdits);
  encryption_->setEnabled(e.passwordEdits);
  comment_->setEnabled(e.commentEdit);
  scheduleEditor_->EnableFields(e.scheduleTime, e.scheduleMinutes, e.scheduleWeekday);
  syncing_ = false;
}

void BackupTab::FocusBackupList() {
  if (backupList_.Empty()) return;
  backupList_.Select(0);
  backupPanel_->Refresh();
  backupPanel_->ListWidget()->setFocus();
}

}  // namespace brisko::ui
