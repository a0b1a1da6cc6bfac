// Helpers of the GUI tests: temporary data folders, polling waits and answers to modal dialogs.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

namespace brisko::uitest {

// Waits until `done` holds, handling events; false after the timeout.
template <typename Predicate>
inline bool WaitFor(Predicate done, int timeoutMs = 5000) {
  return QTest::qWaitFor(done, timeoutMs);
}

// Answers the modal dialogs opened by the code under test, one handler per dialog in the order
// they appear. Handlers run from fresh single-shot timers, so a handler may itself open dialogs
// that later handlers answer.
class ModalAnswerer {
 public:
  using Handler = std::function<void(QWidget* dialog)>;

  ModalAnswerer() { Schedule(); }
  ~ModalAnswerer() { *alive_ = false; }

  void Then(Handler handler) { handlers_.push_back(std::move(handler)); }
  bool AllAnswered() const { return handlers_.empty(); }
  int Answered() const { return answered_; }
  // Texts of every message box or timed message seen, in order.
  const QStringList& Seen() const { return seen_; }

 private:
  void Schedule() {
    auto alive = alive_;
    QTimer::singleShot(15, [this, alive] {
      if (!*alive) return;
      Poll();
      if (*alive) Schedule();
    });
  }

  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == last_ || handlers_.empty() || !modal->isVisible()) return;
    last_ = modal;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) seen_ << box->text();
    if (auto* label = modal->findChild<QLabel*>(QStringLiteral("Message"))) seen_ << label->text();
    Handler handler = std::move(handlers_.front());
    handlers_.pop_front();
    ++answered_;
    handler(modal);
  }

  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::deque<Handler> handlers_;
  QPointer<QWidget> last_;
  QStringList seen_;
  int answered_ = 0;
};

// Clicks the button of a message box or dialog whose text (without &) is `caption`.
inline void ClickButton(QWidget* dialog, const QString& caption) {
  for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>()) {
    QString text = b->text();
    text.remove(QLatin1Char('&'));
    if (text == caption) {
      b->click();
      return;
    }
  }
  qWarning("button %s not found", qPrintable(caption));
  if (auto* d = qobject_cast<QDialog*>(dialog)) d->reject();
}

inline ModalAnswerer::Handler Press(const QString& caption) {
  return [caption](QWidget* d) { ClickButton(d, caption); };
}

// Message boxes keep Qt's own button texts; the program's Yes/No/OK map onto these.
inline ModalAnswerer::Handler Yes() {
  return Press(QStringLiteral("Yes"));
}
inline ModalAnswerer::Handler No() {
  return Press(QStringLiteral("No"));
}
inline ModalAnswerer::Handler Ok() {
  return Press(QStringLiteral("OK"));
}

// A temporary data folder, with the trailing separator the core expects.
class DataFolder {
 public:
  DataFolder() = default;
  bool IsValid() const { return dir_.isValid(); }
  QString Path() const { return dir_.path(); }
  std::string DataDir() const { return (dir_.path() + QLatin1Char('/')).toStdString(); }
  QString File(const QString& name) const { return dir_.filePath(name); }

 private:
  QTemporaryDir dir_;
};

}  // namespace brisko::uitest
