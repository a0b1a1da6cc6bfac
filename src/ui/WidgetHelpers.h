// Small conversions and naming helpers shared by the windows.
#pragma once

#include <QDialogButtonBox>
#include <QPushButton>
#include <QString>
#include <string>

namespace brisko::ui {

// The core keeps UTF-8 std::string; the widgets want QString.
inline QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// Gives a widget the object name tests and styles find it by, and returns it for chaining.
template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// The "&Ok" (default) and "Can&cel" buttons of a dialog, named ButtonOk and ButtonCancel.
inline QDialogButtonBox* OkCancelButtons(QWidget* parent) {
  auto* buttons = new QDialogButtonBox(parent);
  Named(buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole), "ButtonOk")
      ->setDefault(true);
  Named(buttons->addButton(QStringLiteral("Can&cel"), QDialogButtonBox::RejectRole), "ButtonCancel");
  return buttons;
}

}  // namespace brisko::ui
