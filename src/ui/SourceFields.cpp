// The source fields shared by the Backup tab and the wizard.
#include "ui/SourceFields.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "ui/DateTimeBridge.h"
#include "ui/SourceListPanel.h"
#include "ui/WidgetHelpers.h"

namespace brisko::ui {

SourceFields::SourceFields(const Captions& captions, core::SourceList& backupList, core::UserInteraction& ui,
                           const std::string& dataDir, QWidget* parent)
    : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  backupPanel_ = new SourceListPanel(QStringLiteral("ListboxBackup"), backupList, ui, dataDir, this);
  layout->addWidget(backupPanel_, 1);
  subfolders_ = Named(new QCheckBox(captions.subfolders, this), "CheckBoxSubdir");
  layout->addWidget(subfolders_);
  auto* newerRow = new QHBoxLayout();
  onlyNewer_ = Named(new QCheckBox(captions.onlyNewer, this), "CheckBoxNewer");
  newerDate_ = Named(new QDateEdit(this), "DateNewer");
  newerDate_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  newerDate_->setCalendarPopup(true);
  // A project without a moment holds day 0; it reads as no date rather than as 1899-12-30.
  newerDate_->setMinimumDate(ToQDate(0));
  newerDate_->setSpecialValueText(QStringLiteral("(none)"));
  newerTime_ = Named(new QTimeEdit(this), "TimeNewer");
  newerTime_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
  newerRow->addWidget(onlyNewer_);
  newerRow->addWidget(newerDate_);
  newerRow->addWidget(newerTime_);
  newerRow->addStretch();
  layout->addLayout(newerRow);
  // "Use last backup" belongs to the newer-than moment; its own line keeps every caption whole.
  useLast_ = Named(new QCheckBox(captions.useLast, this), "CheckBoxUseLast");
  auto* useLastRow = new QHBoxLayout();
  useLastRow->addSpacing(24);
  useLastRow->addWidget(useLast_);
  useLastRow->addStretch();
  layout->addLayout(useLastRow);

  const auto edit = [this] {
    if (!showing_) emit edited();
  };
  for (QCheckBox* box : {subfolders_, onlyNewer_, useLast_}) connect(box, &QCheckBox::toggled, this, edit);
  connect(newerDate_, &QDateEdit::dateChanged, this, edit);
  connect(newerTime_, &QTimeEdit::timeChanged, this, edit);
}

void SourceFields::Show(const core::ProjectForm& form) {
  showing_ = true;
  subfolders_->setChecked(form.includeSubfolders);
  onlyNewer_->setChecked(form.onlyNewer);
  useLast_->setChecked(form.useLastBackup);
  useLast_->setEnabled(form.UseLastBackupEnabled());
  newerDate_->setDate(ToQDate(form.newerDate));
  newerTime_->setTime(ToQTime(form.newerTime));
  newerDate_->setEnabled(form.NewerPickersEnabled());
  newerTime_->setEnabled(form.NewerPickersEnabled());
  showing_ = false;
}

void SourceFields::Store(core::ProjectForm& form) const {
  form.includeSubfolders = subfolders_->isChecked();
  form.onlyNewer = onlyNewer_->isChecked();
  form.useLastBackup = useLast_->isChecked();
  form.newerDate = FromQDate(newerDate_->date());
  form.newerTime = FromQTime(newerTime_->time());
}

}  // namespace brisko::ui
