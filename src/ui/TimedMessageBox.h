// A one-button message dialog that closes itself after a number of seconds.
#pragma once

#include <QDialog>
#include <QString>

#include "core/UserInteraction.h"

class QLabel;
class QPushButton;
class QTimer;

namespace brisko::ui {

class TimedMessageBox : public QDialog {
  Q_OBJECT
 public:
  // Builds the dialog for one message; caption empty means the caption of the kind.
  TimedMessageBox(const QString& text, core::MessageKind kind, int seconds, const QString& caption = {},
                  QWidget* parent = nullptr);

  // Builds, shows modally and returns when the dialog has closed, whichever way.
  static void ShowTimed(const QString& text, core::MessageKind kind, int seconds, const QString& caption = {},
                        QWidget* parent = nullptr);

  // Lifetime in milliseconds (seconds × 1000).
  int Interval() const;

  // A carriage return alone breaks lines inside messages; Qt wants line feeds.
  static QString DisplayText(const QString& text);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildLayout(const QString& text, core::MessageKind kind);

  QTimer* timer_;
  QLabel* iconLabel_ = nullptr;
  QLabel* textLabel_;
  QPushButton* okButton_;
};

}  // namespace brisko::ui
