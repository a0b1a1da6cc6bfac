// The add-project wizard: six pages that build a new project, checked page by page.
#include "ui/AddProjectWizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/SpinValue.h"
#include "ui/AppImages.h"
#include "ui/DateTimeBridge.h"
#include "ui/DestinationFields.h"
#include "ui/DialogSize.h"
#include "ui/EncryptionChoice.h"
#include "ui/HelpLauncher.h"
#include "ui/MessageBoxes.h"
#include "ui/ScheduleEditor.h"
#include "ui/SourceFields.h"
#include "ui/SourceListPanel.h"
#include "ui/WidgetHelpers.h"

namespace brisko::ui {

AddProjectWizard::AddProjectWizard(std::string dataDir, std::vector<std::string> projects,
                                   const core::GlobalSettings& settings, core::UserInteraction& ui,
                                   const core::Clock& clock, QWidget* parent)
    : QDialog(parent),
      dataDir_(std::move(dataDir)),
      ui_(ui),
      model_(std::make_unique<core::ProjectWizard>(dataDir_, std::move(projects), settings, clock)) {
  setObjectName(QStringLiteral("AddProjectWizard"));
  auto* layout = new QVBoxLayout(this);
  pages_ = Named(new QStackedWidget(this), "Pages");
  pages_->addWidget(BuildNamePage());
  pages_->addWidget(BuildSourcePage());
  pages_->addWidget(BuildExcludePage());
  pages_->addWidget(BuildDestinationPage());
  pages_->addWidget(BuildOptionsPage());
  pages_->addWidget(BuildSchedulePage());
  layout->addWidget(pages_, 1);

  // Back and Next move between pages; Cancel is the dialog's reject button (Esc too).
  auto* buttons = new QDialogButtonBox(this);
  auto* help = Named(buttons->addButton(QStringLiteral("Help"), QDialogButtonBox::HelpRole), "ButtonHelp");
  back_ = Named(buttons->addButton(QStringLiteral("Back"), QDialogButtonBox::ActionRole), "ButtonBack");
  next_ = Named(buttons->addButton(QStringLiteral("Next"), QDialogButtonBox::ActionRole), "ButtonNext");
  next_->setDefault(true);
  auto* cancel =
      Named(buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole), "ButtonCancel");
  layout->addWidget(buttons);

  connect(help, &QPushButton::clicked, this, [this] { HelpLauncher::Open(model_->HelpContext()); });
  connect(back_, &QPushButton::clicked, this, &AddProjectWizard::OnBack);
  connect(next_, &QPushButton::clicked, this, &AddProjectWizard::OnNext);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  Sync();
  DialogSize::Keep(this, QSize(560, 430));
}

AddProjectWizard::~AddProjectWizard() = default;

QWidget* AddProjectWizard::Page(const char* heading, const QString& further, QWidget* body) {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  auto* title = new QLabel(QString::fromLatin1(heading), page);
  QFont bold = title->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 2);
  title->setFont(bold);
  layout->addWidget(title);
  if (!further.isEmpty()) layout->addWidget(new QLabel(further, page));
  body->setParent(page);
  layout->addWidget(body, 1);
  return page;
}

QWidget* AddProjectWizard::BuildNamePage() {
  auto* body = new QWidget();
  auto* layout = new QVBoxLayout(body);
  name_ = Named(new QLineEdit(body), "EditProjectName");
  layout->addWidget(name_);
  layout->addStretch();
  connect(name_, &QLineEdit::textEdited, this,
          [this](const QString& t) { model_->SetName(t.toStdString()); });
  return Page("Please enter new project name:", QStringLiteral("Project name"), body);
}

QWidget* AddProjectWizard::BuildSourcePage() {
  auto* body = new QWidget();
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(0, 0, 0, 0);
  sourceFields_ = new SourceFields(
      {QStringLiteral("Include Subfolders (if checked,it will also look for files in subfolders)"),
       QStringLiteral("Add only files newer than"), QStringLiteral("Next use the last backup date-time")},
      model_->BackupList(), ui_, dataDir_, body);
  backupPanel_ = sourceFields_->BackupPanel();
  layout->addWidget(sourceFields_, 1);
  connect(sourceFields_, &SourceFields::edited, this, [this] {
    if (syncing_) return;
    sourceFields_->Store(model_->Form());
    Sync();
  });
  return Page("Select files to backup", QStringLiteral("You can select files by filename or wildcard"), body);
}

QWidget* AddProjectWizard::BuildExcludePage() {
  auto* body = new QWidget();
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(0, 0, 0, 0);
  excludePanel_ =
      new SourceListPanel(QStringLiteral("ListboxExclude"), model_->ExcludeList(), ui_, dataDir_, body);
  layout->addWidget(excludePanel_, 1);
  subfolderLabel_ = Named(new QLabel(body), "LabelSubfolders");
  layout->addWidget(subfolderLabel_);
  return Page("Select files to exclude",
              QStringLiteral("You can select files by filename or wildcard  ( Option )"), body);
}

QWidget* AddProjectWizard::BuildDestinationPage() {
  auto* body = new QWidget();
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(0, 0, 0, 0);
  destination_ = new DestinationFields(
      {QStringLiteral("Prefix"), QStringLiteral("Suffix"), QStringLiteral("Filename")}, body);
  layout->addWidget(destination_);
  layout->addStretch();

  connect(destination_, &DestinationFields::prefixEdited, this, [this](const QString& t) {
    model_->SetPrefix(t.toStdString());
    Sync();
  });
  connect(destination_, &DestinationFields::suffixChosen, this, [this](core::SuffixKind kind) {
    if (syncing_) return;
    model_->ChooseSuffix(kind);
    Sync();
  });
  connect(destination_, &DestinationFields::numberChanged, this, [this](int v) {
    if (syncing_) return;
    model_->SetSuffixNumber(v);
    Sync();
  });
  connect(destination_, &DestinationFields::increaseChanged, this, [this](int v) {
    if (syncing_) return;
    model_->SetIncrease(v);
    Sync();
  });
  connect(destination_, &DestinationFields::fileNameEdited, this,
          [this](const QString& t) { model_->SetFileName(t.toStdString()); });
  connect(destination_, &DestinationFields::pickFolderClicked, this, [this] {
    if (model_->PickSaveFolder(ui_)) Sync();
  });
  return Page("Select location to store backup",
              QStringLiteral("Backup filename can be auto created based on prefix and suffix "), body);
}

QWidget* AddProjectWizard::BuildOptionsPage() {
  auto* body = new QWidget();
  auto* grid = new QGridLayout(body);
  grid->setContentsMargins(0, 0, 0, 0);
  usePassword_ =
      Named(new QCheckBox(QStringLiteral("Use password protect Zip file"), body), "CheckBoxPassword");
  grid->addWidget(usePassword_, 0, 0, 1, 3);
  passwordLabel_ = new QLabel(QStringLiteral("Enter password:"), body);
  password_ = Named(new QLineEdit(body), "EditPassword");
  password_->setEchoMode(QLineEdit::Password);
  retypeLabel_ = new QLabel(QStringLiteral("Retype password:"), body);
  retype_ = Named(new QLineEdit(body), "EditPasswordConfirm");
  retype_->setEchoMode(QLineEdit::Password);
  grid->addWidget(passwordLabel_, 1, 0);
  grid->addWidget(password_, 1, 1, 1, 2);
  grid->addWidget(retypeLabel_, 2, 0);
  grid->addWidget(retype_, 2, 1, 1, 2);
  encryptionLabel_ = new QLabel(QStringLiteral("Encryption:"), body);
  encryption_ = MakeEncryptionChoice(body);
  grid->addWidget(encryptionLabel_, 3, 0);
  grid->addWidget(encryption_, 3, 1, 1, 2);
  useComment_ = Named(new QCheckBox(QStringLiteral("Add comment to Zip file:"), body), "CheckBoxComment");
  comment_ = Named(new QLineEdit(body), "EditComment");
  grid->addWidget(useComment_, 4, 0);
  grid->addWidget(comment_, 4, 1, 1, 2);
  storePaths_ = Named(
      new QCheckBox(QStringLiteral("Store full path information (from the root folder) with all files added"),
                    body),
      "CheckBoxPath");
  grid->addWidget(storePaths_, 5, 0, 1, 3);
  auto* keepRow = new QHBoxLayout();
  keepRow->addWidget(new QLabel(QStringLiteral("Keep the last "), body));
  keep_ = Named(new QSpinBox(body), "SpinKeep");
  keep_->setRange(core::kKeepMin, core::kKeepMax);
  keepRow->addWidget(keep_);
  keepRow->addWidget(new QLabel(QStringLiteral("backups (if exceeds, the oldest backups deleted)"), body));
  keepRow->addStretch();
  grid->addLayout(keepRow, 6, 0, 1, 3);
  auto* levelRow = new QHBoxLayout();
  levelRow->addWidget(new QLabel(QStringLiteral("Compression ratio:"), body));
  levelRow->addWidget(new QLabel(QStringLiteral("(None)"), body));
  level_ = Named(new QSlider(Qt::Horizontal, body), "SliderLevel");
  level_->setRange(0, 9);
  level_->setSingleStep(1);
  level_->setPageStep(1);
  level_->setTickPosition(QSlider::TicksBelow);
  levelRow->addWidget(level_, 1);
  levelRow->addWidget(new QLabel(QStringLiteral("(Max)"), body));
  grid->addLayout(levelRow, 7, 0, 1, 3);
  grid->setRowStretch(8, 1);

  connect(usePassword_, &QCheckBox::toggled, this, [this](bool on) {
    if (syncing_) return;
    model_->Form().usePassword = on;
    Sync();
  });
  connect(password_, &QLineEdit::textEdited, this,
          [this](const QString& t) { model_->Form().password = t.toStdString(); });
  connect(retype_, &QLineEdit::textEdited, this,
          [this](const QString& t) { model_->Form().passwordConfirm = t.toStdString(); });
  connect(encryption_, &QComboBox::currentIndexChanged, this, [this] {
    if (!syncing_) model_->Form().encryption = ChosenEncryption(encryption_);
  });
  connect(useComment_, &QCheckBox::toggled, this, [this](bool on) {
    if (syncing_) return;
    model_->Form().useComment = on;
    Sync();
  });
  connect(comment_, &QLineEdit::textEdited, this,
          [this](const QString& t) { model_->Form().comment = t.toStdString(); });
  connect(storePaths_, &QCheckBox::toggled, this, [this](bool on) {
    if (!syncing_) model_->Form().storePaths = on;
  });
  connect(keep_, &QSpinBox::valueChanged, this, [this](int v) {
    if (!syncing_) model_->Form().storeNumber = v;
  });
  connect(level_, &QSlider::valueChanged, this, [this](int v) {
    if (!syncing_) model_->Form().packLevel = v;
  });
  return Page("Options", QString(), body);
}

QWidget* AddProjectWizard::BuildSchedulePage() {
  auto* body = new QWidget();
  schedule_ = new ScheduleEditor({{"None", "RadioScheduleNone"},
                                  {"Occurs daily once at", "RadioScheduleDaily"},
                                  {"Occurs daily every", "RadioScheduleEvery"},
                                  {"Occurs weekly every on", "RadioScheduleWeekly"}},
                                 body);
  auto* column = new QVBoxLayout(body);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(schedule_);
  column->addStretch(1);
  connect(schedule_, &ScheduleEditor::edited, this, [this] {
    if (syncing_) return;
    schedule_->Store(model_->Form());
    Sync();
  });
  return Page("Schedule",
              QStringLiteral("You can customize a schedule for project to launch the\n"
                             "backup operation within a specified time automatically."),
              body);
}

void AddProjectWizard::Sync() {
  syncing_ = true;
  const core::ProjectForm& f = model_->Form();
  setWindowTitle(Q(model_->Caption()));
  HelpLauncher::SetContext(this, model_->HelpContext());
  pages_->setCurrentIndex(model_->Page());
  back_->setEnabled(model_->BackEnabled());
  next_->setText(QString::fromLatin1(model_->NextCaption()));

  if (name_->text().toStdString() != model_->Name()) name_->setText(Q(model_->Name()));
  sourceFields_->Show(f);
  subfolderLabel_->setText(QString::fromLatin1(model_->SubfolderLabel()));

  destination_->Show(f);

  usePassword_->setChecked(f.usePassword);
  for (QWidget* w : std::initializer_list<QWidget*>{passwordLabel_, retypeLabel_, password_, retype_,
                                                    encryptionLabel_, encryption_})
    w->setEnabled(f.PasswordFieldsEnabled());
  ShowEncryption(encryption_, f.encryption);
  if (password_->text().toStdString() != f.password) password_->setText(Q(f.password));
  if (retype_->text().toStdString() != f.passwordConfirm) retype_->setText(Q(f.passwordConfirm));
  useComment_->setChecked(f.useComment);
  comment_->setEnabled(f.CommentFieldEnabled());
  if (comment_->text().toStdString() != f.comment) comment_->setText(Q(f.comment));
  storePaths_->setChecked(f.storePaths);
  keep_->setValue(f.storeNumber);
  level_->setValue(f.packLevel);

  schedule_->Show(f);
  schedule_->EnableFields(f.ScheduleTimeEnabled(), f.ScheduleMinutesEnabled(), f.ScheduleWeekdayEnabled());
  syncing_ = false;
}

void AddProjectWizard::OnBack() {
  model_->Back();
  Sync();
}

void AddProjectWizard::OnNext() {
  // Typed text reaches the model on every edit; take the edits once more in case of programmatic input.
  model_->SetName(name_->text().toStdString());
  core::ProjectWizard::NextResult result;
  try {
    result = model_->Next(ui_);
  } catch (const std::exception& e) {
    // project.ini refused the new project; the wizard stays open with everything kept.
    ShowMessageBox(this, core::MessageKind::Error, QString::fromStdString(e.what()));
    return;
  }
  if (result == core::ProjectWizard::NextResult::Finished) {
    accept();
    return;
  }
  Sync();
  // Page 1's check may have rewritten entries ("~" expanded).
  if (result == core::ProjectWizard::NextResult::Advanced && model_->Page() <= 2) backupPanel_->Refresh();
}

}  // namespace brisko::ui
