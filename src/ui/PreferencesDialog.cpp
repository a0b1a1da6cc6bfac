// The Preferences dialog: start with the desktop, log length, number width, prompt, overwrite rule.
#include "ui/PreferencesDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/ActivityLog.h"
#include "platform/Autostart.h"
#include "ui/DialogSize.h"
#include "ui/HelpLauncher.h"
#include "ui/MessageBoxes.h"

namespace brisko::ui {
namespace {

QSpinBox* MakeSpin(QWidget* parent, const char* name, int min, int max, int value) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(QString::fromLatin1(name));
  spin->setRange(min, max);
  spin->setValue(value);
  return spin;
}

}  // namespace

PreferencesDialog::PreferencesDialog(const PreferencesValues& initial, AutostartWriter autostart,
                                     RunFlagsWriter runFlags, QWidget* parent)
    : QDialog(parent), autostart_(std::move(autostart)), runFlags_(std::move(runFlags)) {
  setObjectName(QStringLiteral("PreferencesDialog"));
  setWindowTitle(QStringLiteral("Preferences"));
  HelpLauncher::SetContext(this, kHelpPreferences);

  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("PageControl"));
  layout->addWidget(tabs_);

  // "General"
  auto* general = new QWidget(tabs_);
  general->setObjectName(QStringLiteral("TabGeneral"));
  auto* gLayout = new QVBoxLayout(general);
  auto* runGroup = new QGroupBox(QStringLiteral("Run"), general);
  auto* runLayout = new QVBoxLayout(runGroup);
  autoRun_ = new QCheckBox(QStringLiteral("Run Brisko ZIP Backup when I log in"), runGroup);
  autoRun_->setObjectName(QStringLiteral("CheckBoxAutoRun"));
  minimized_ = new QCheckBox(QStringLiteral("Run Minimized"), runGroup);
  minimized_->setObjectName(QStringLiteral("CheckBoxMinimized"));
  runLayout->addWidget(autoRun_);
  runLayout->addWidget(minimized_);
  gLayout->addWidget(runGroup);
  auto* logGroup = new QGroupBox(QStringLiteral("Log"), general);
  auto* logLayout = new QVBoxLayout(logGroup);
  auto* logRow = new QHBoxLayout();
  logRow->addWidget(new QLabel(QStringLiteral("The Log tab shows the newest"), logGroup));
  logCount_ = MakeSpin(logGroup, "SpinLogCount", 10, 200, initial.logCount);
  logRow->addWidget(logCount_);
  logRow->addWidget(new QLabel(QStringLiteral("items."), logGroup));
  logRow->addStretch();
  logLayout->addLayout(logRow);
  // The file is never cut to a handful of entries: a failure must still be there months later.
  logLayout->addWidget(
      new QLabel(QStringLiteral("The log file keeps at least the newest %1 items.").arg(core::kLogKeptOnTrim),
                 logGroup));
  gLayout->addWidget(logGroup);
  gLayout->addStretch();
  tabs_->addTab(general, QStringLiteral("General"));

  // "Backup"
  auto* backup = new QWidget(tabs_);
  backup->setObjectName(QStringLiteral("TabBackup"));
  auto* bLayout = new QVBoxLayout(backup);
  auto* widthRow = new QHBoxLayout();
  appendZero_ = new QCheckBox(QStringLiteral("If filename suffix is number,when number width"), backup);
  appendZero_->setObjectName(QStringLiteral("CheckBoxAppendZero"));
  width_ = MakeSpin(backup, "SpinWidth", 2, 30, initial.width);
  widthRow->addWidget(appendZero_);
  widthRow->addWidget(width_);
  widthRow->addWidget(new QLabel(QStringLiteral("is less than"), backup));
  widthRow->addStretch();
  bLayout->addLayout(widthRow);
  bLayout->addWidget(new QLabel(QStringLiteral(", append 0 before number"), backup));
  prompt_ = new QCheckBox(QStringLiteral("Prompt before start backup a project"), backup);
  prompt_->setObjectName(QStringLiteral("CheckBoxPrompt"));
  bLayout->addWidget(prompt_);
  auto* existsGroup = new QGroupBox(QStringLiteral("When  backup, if  filename exists:"), backup);
  auto* eLayout = new QHBoxLayout(existsGroup);
  overwrite_ = new QRadioButton(QStringLiteral("Overwrite"), existsGroup);
  overwrite_->setObjectName(QStringLiteral("RadioOverwrite"));
  skip_ = new QRadioButton(QStringLiteral("Skip"), existsGroup);
  skip_->setObjectName(QStringLiteral("RadioSkip"));
  eLayout->addWidget(overwrite_);
  eLayout->addWidget(skip_);
  eLayout->addStretch();
  bLayout->addWidget(existsGroup);
  bLayout->addStretch();
  tabs_->addTab(backup, QStringLiteral("Backup"));

  auto* buttons = new QDialogButtonBox(this);
  auto* close = buttons->addButton(QStringLiteral("Clo&se"), QDialogButtonBox::RejectRole);
  close->setObjectName(QStringLiteral("ButtonClose"));
  close->setDefault(true);
  auto* apply = buttons->addButton(QStringLiteral("&Apply"), QDialogButtonBox::AcceptRole);
  apply->setObjectName(QStringLiteral("ButtonApply"));
  auto* help = buttons->addButton(QStringLiteral("H&elp"), QDialogButtonBox::HelpRole);
  help->setObjectName(QStringLiteral("ButtonHelp"));
  layout->addWidget(buttons);

  autoRun_->setChecked(initial.autoRun);
  minimized_->setChecked(initial.isMinimized);
  appendZero_->setChecked(initial.appendZero);
  prompt_->setChecked(initial.prompt);
  (initial.overwrite ? overwrite_ : skip_)->setChecked(true);
  UpdateRunMinimized();

  connect(autoRun_, &QCheckBox::clicked, this, &PreferencesDialog::UpdateRunMinimized);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons, &QDialogButtonBox::accepted, this, &PreferencesDialog::OnApply);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [] { HelpLauncher::Open(kHelpPreferences); });
  tabs_->setCurrentIndex(0);
  DialogSize::Keep(this);
}

void PreferencesDialog::UpdateRunMinimized() {
  minimized_->setEnabled(autoRun_->isChecked());
}

PreferencesValues PreferencesDialog::Values() const {
  PreferencesValues v;
  v.autoRun = autoRun_->isChecked();
  v.isMinimized = minimized_->isChecked();
  v.logCount = logCount_->value();
  v.appendZero = appendZero_->isChecked();
  v.width = width_->value();
  v.prompt = prompt_->isChecked();
  v.overwrite = overwrite_->isChecked();
  return v;
}

void PreferencesDialog::OnApply() {
  const PreferencesValues v = Values();
  if (autostart_ && !autostart_(v.autoRun)) {
    // The run flags stay as stored; the other preferences are still taken over.
    ShowMessageBox(
        this, core::MessageKind::Error,
        QStringLiteral("Failed to set data for '%1'").arg(QString::fromUtf8(platform::kAutostartName)));
  } else if (runFlags_) {
    runFlags_(v.autoRun, v.isMinimized);
  }
  accept();
}

}  // namespace brisko::ui
