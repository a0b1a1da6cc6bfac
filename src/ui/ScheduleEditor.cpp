#include "ui/ScheduleEditor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>

#include "core/DateTimeValue.h"
#include "ui/DateTimeBridge.h"
#include "ui/WidgetHelpers.h"

namespace brisko::ui {

ScheduleEditor::ScheduleEditor(const Choices& choices, QWidget* parent) : QWidget(parent) {
  auto radio = [this](const Choice& c) {
    return Named(new QRadioButton(QString::fromLatin1(c.caption), this), c.objectName);
  };
  none_ = radio(choices.none);
  daily_ = radio(choices.daily);
  every_ = radio(choices.every);
  weekly_ = radio(choices.weekly);
  time_ = Named(new QTimeEdit(this), "TimeSchedule");
  time_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
  minutes_ = Named(new QSpinBox(this), "SpinMinutes");
  minutes_->setRange(2, 1000);
  minutesLabel_ = Named(new QLabel(QStringLiteral("minutes"), this), "LabelMinutes");
  weekday_ = Named(new QComboBox(this), "ComboWeekday");
  for (const char* day : core::kWeekdayNames) weekday_->addItem(QString::fromLatin1(day));

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(none_, 0, 0);
  grid->addWidget(daily_, 1, 0);
  grid->addWidget(time_, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("later"), this), 1, 2);
  grid->addWidget(every_, 2, 0);
  grid->addWidget(minutes_, 2, 1);
  grid->addWidget(minutesLabel_, 2, 2);
  grid->addWidget(weekly_, 3, 0);
  grid->addWidget(weekday_, 3, 1);
  grid->addWidget(new QLabel(QStringLiteral("12:00:00"), this), 3, 2);
  grid->setColumnStretch(3, 1);

  auto notify = [this] {
    if (!showing_) emit edited();
  };
  for (QRadioButton* r : {none_, daily_, every_, weekly_})
    connect(r, &QRadioButton::toggled, this, [notify](bool on) {
      if (on) notify();
    });
  connect(time_, &QTimeEdit::timeChanged, this, notify);
  connect(minutes_, &QSpinBox::valueChanged, this, notify);
  connect(weekday_, &QComboBox::currentIndexChanged, this, notify);
}

void ScheduleEditor::Show(const core::ProjectForm& form) {
  showing_ = true;
  none_->setChecked(form.scheduleMode == core::ScheduleMode::None);
  daily_->setChecked(form.scheduleMode == core::ScheduleMode::DailyAt);
  every_->setChecked(form.scheduleMode == core::ScheduleMode::DailyEvery);
  weekly_->setChecked(form.scheduleMode == core::ScheduleMode::Weekly);
  time_->setTime(ToQTime(form.scheduleTime));
  minutes_->setValue(form.scheduleMinutes);
  weekday_->setCurrentIndex(form.scheduleWeekday);
  showing_ = false;
}

void ScheduleEditor::Store(core::ProjectForm& form) const {
  form.scheduleTime = FromQTime(time_->time());
  form.scheduleMinutes = minutes_->value();
  form.scheduleWeekday = weekday_->currentIndex();
  form.ChooseScheduleMode(ShownMode());
}

void ScheduleEditor::EnableFields(bool time, bool minutes, bool weekday) {
  time_->setEnabled(time);
  minutes_->setEnabled(minutes);
  minutesLabel_->setEnabled(minutes);
  weekday_->setEnabled(weekday);
}

core::ScheduleMode ScheduleEditor::ShownMode() const {
  if (daily_->isChecked()) return core::ScheduleMode::DailyAt;
  if (every_->isChecked()) return core::ScheduleMode::DailyEvery;
  if (weekly_->isChecked()) return core::ScheduleMode::Weekly;
  return core::ScheduleMode::None;
}

}  // namespace brisko::ui
