// The destination fields shared by the Backup tab and the wizard.
#include "ui/DestinationFields.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

#include "core/SpinValue.h"
#include "ui/AppImages.h"
#include "ui/WidgetHelpers.h"

namespace brisko::ui {
namespace {

// Keeps the cursor where it is when the text did not change.
void ShowText(QLineEdit* edit, const std::string& text) {
  if (edit->text().toStdString() != text) edit->setText(Q(text));
}

}  // namespace

DestinationFields::DestinationFields(const Captions& captions, QWidget* parent) : QWidget(parent) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(new QLabel(captions.prefix, this), 0, 0);
  prefix_ = Named(new QLineEdit(this), "EditPrefix");
  grid->addWidget(prefix_, 0, 1, 1, 2);
  grid->addWidget(new QLabel(captions.suffix, this), 1, 0);
  auto* suffixRow = new QHBoxLayout();
  suffixNone_ = Named(new QRadioButton(QStringLiteral("None"), this), "RadioNone");
  suffixDate_ = Named(new QRadioButton(QStringLiteral("Date"), this), "RadioDate");
  suffixNumber_ = Named(new QRadioButton(QStringLiteral("Number"), this), "RadioNumber");
  number_ = Named(new QSpinBox(this), "SpinNumber");
  number_->setRange(core::kNumberMin, core::kCounterMax);
  increaseLabel_ = new QLabel(QStringLiteral("Next increase:"), this);
  increase_ = Named(new QSpinBox(this), "SpinIncrease");
  increase_->setRange(core::kNumberMin, core::kNumberMax);
  for (QWidget* w : std::initializer_list<QWidget*>{suffixNone_, suffixDate_, suffixNumber_, number_})
    suffixRow->addWidget(w);
  suffixRow->addStretch();
  grid->addLayout(suffixRow, 1, 1, 1, 2);
  // The counter step sits under the counter so that the suffix captions are never cut short.
  auto* increaseRow = new QHBoxLayout();
  increaseRow->addStretch();
  increaseRow->addWidget(increaseLabel_);
  increaseRow->addWidget(increase_);
  grid->addLayout(increaseRow, 2, 1, 1, 2);
  grid->addWidget(new QLabel(captions.fileName, this), 3, 0);
  fileName_ = Named(new QLineEdit(this), "EditFileName");
  grid->addWidget(fileName_, 3, 1);
  auto* pickFolder = Named(new QToolButton(this), "ButtonSelectDirectory");
  pickFolder->setToolTip(QStringLiteral("Select directory to save"));
  pickFolder->setIcon(AppImages::Tool("browse"));
  grid->addWidget(pickFolder, 3, 2);
  grid->setColumnStretch(1, 1);

  connect(prefix_, &QLineEdit::textEdited, this, &DestinationFields::prefixEdited);
  const auto suffix = [this](core::SuffixKind kind) {
    return [this, kind](bool on) {
      if (on && !showing_) emit suffixChosen(kind);
    };
  };
  connect(suffixNone_, &QRadioButton::toggled, this, suffix(core::SuffixKind::None));
  connect(suffixDate_, &QRadioButton::toggled, this, suffix(core::SuffixKind::Date));
  connect(suffixNumber_, &QRadioButton::toggled, this, suffix(core::SuffixKind::Number));
  connect(number_, &QSpinBox::valueChanged, this, [this](int v) {
    if (!showing_) emit numberChanged(v);
  });
  connect(increase_, &QSpinBox::valueChanged, this, [this](int v) {
    if (!showing_) emit increaseChanged(v);
  });
  connect(fileName_, &QLineEdit::textEdited, this, &DestinationFields::fileNameEdited);
  connect(pickFolder, &QToolButton::clicked, this, &DestinationFields::pickFolderClicked);
}

void DestinationFields::Show(const core::ProjectForm& form) {
  showing_ = true;
  ShowText(prefix_, form.prefix);
  suffixNone_->setChecked(form.suffix == core::SuffixKind::None);
  suffixDate_->setChecked(form.suffix == core::SuffixKind::Date);
  suffixNumber_->setChecked(form.suffix == core::SuffixKind::Number);
  number_->setValue(form.nextNumber);
  increase_->setValue(form.increase);
  for (QWidget* w : std::initializer_list<QWidget*>{number_, increaseLabel_, increase_})
    w->setEnabled(form.CounterFieldsEnabled());
  ShowText(fileName_, form.fileName);
  showing_ = false;
}

void DestinationFields::Store(core::ProjectForm& form) const {
  form.prefix = prefix_->text().toStdString();
  form.suffix = suffixNone_->isChecked()   ? core::SuffixKind::None
                : suffixDate_->isChecked() ? core::SuffixKind::Date
                                           : core::SuffixKind::Number;
  form.nextNumber = number_->value();
  form.increase = increase_->value();
  form.fileName = fileName_->text().toStdString();
}

}  // namespace brisko::ui
