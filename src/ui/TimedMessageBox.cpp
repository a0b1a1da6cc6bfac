// A one-button message dialog that closes itself after a number of seconds.
#include "ui/TimedMessageBox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace brisko::ui {
namespace {

QStyle::StandardPixmap KindIcon(core::MessageKind kind) {
  switch (kind) {
    case core::MessageKind::Warning:
      return QStyle::SP_MessageBoxWarning;
    case core::MessageKind::Error:
      return QStyle::SP_MessageBoxCritical;
    case core::MessageKind::Information:
      return QStyle::SP_MessageBoxInformation;
    case core::MessageKind::Confirmation:
      return QStyle::SP_MessageBoxQuestion;
    case core::MessageKind::Custom:
      break;
  }
  return QStyle::SP_CustomBase;
}

// Integer multiply-divide rounded to nearest, as the dialog's measures are defined.
int MulDiv(int value, int num, int den) {
  return (value * num + den / 2) / den;
}

}  // namespace

QString TimedMessageBox::DisplayText(const QString& text) {
  QString out = text;
  out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  out.replace(QChar('\r'), QChar('\n'));
  return out;
}

TimedMessageBox::TimedMessageBox(const QString& text, core::MessageKind kind, int seconds,
                                 const QString& caption, QWidget* parent)
    : QDialog(parent), timer_(new QTimer(this)) {
  setObjectName(QStringLiteral("TimedMessageBox"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(caption.isEmpty() ? QString::fromUtf8(core::KindCaption(kind)) : caption);
  timer_->setSingleShot(true);
  timer_->setInterval(seconds > 0 ? seconds * 1000 : 0);
  // The timer closes the dialog with no result, as if cancelled.
  connect(timer_, &QTimer::timeout, this, &QDialog::reject);
  BuildLayout(text, kind);
}

int TimedMessageBox::Interval() const {
  return timer_->interval();
}

void TimedMessageBox::BuildLayout(const QString& text, core::MessageKind kind) {
  const QFont font = QApplication::font("QMessageBox");
  setFont(font);
  const QFontMetrics fm(font);
  const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const int w = fm.horizontalAdvance(letters) / 52;
  const int h = fm.height();
  const int hMargin = MulDiv(8, w, 4);
  const int vMargin = MulDiv(8, h, 8);
  const int hSpacing = MulDiv(10, w, 4);
  const int vSpacing = MulDiv(10, h, 8);
  const int buttonWidth = std::max(MulDiv(50, w, 4), fm.horizontalAdvance(QStringLiteral("OK")) + 8);
  const int buttonHeight = MulDiv(14, h, 8);

  const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  const QRect avail = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
  const QString shown = DisplayText(text);
  const QRect textRect = fm.boundingRect(QRect(0, 0, avail.width() / 2, 0),
                                         Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, shown);

  const bool hasIcon = kind != core::MessageKind::Custom;
  int blockWidth = textRect.width();
  int blockHeight = textRect.height();
  int textLeft = hMargin;
  if (hasIcon) {
    blockWidth += 32 + hSpacing;
    blockHeight = std::max(blockHeight, 32);
    textLeft += 32 + hSpacing;
    iconLabel_ = new QLabel(this);
    iconLabel_->setObjectName(QStringLiteral("IconLabel"));
    iconLabel_->setPixmap(style()->standardIcon(KindIcon(kind)).pixmap(32, 32));
    iconLabel_->setGeometry(hMargin, vMargin, 32, 32);
  }
  const int clientWidth = std::max(blockWidth, buttonWidth) + 2 * hMargin;
  const int clientHeight = blockHeight + vSpacing + buttonHeight + 2 * vMargin;

  textLabel_ = new QLabel(shown, this);
  textLabel_->setObjectName(QStringLiteral("Message"));
  textLabel_->setWordWrap(true);
  textLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  textLabel_->setTextFormat(Qt::PlainText);
  // A little slack keeps the wrap identical to the measured one.
  textLabel_->setGeometry(textLeft, vMargin, textRect.width() + 2, textRect.height());

  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  okButton_->setObjectName(QStringLiteral("OKButton"));
  okButton_->setDefault(true);
  okButton_->setAutoDefault(true);
  okButton_->setGeometry((clientWidth - buttonWidth) / 2, vMargin + blockHeight + vSpacing, buttonWidth,
                         buttonHeight);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

  setFixedSize(clientWidth, clientHeight);
  move(avail.x() + avail.width() / 2 - width() / 2, avail.y() + avail.height() / 2 - height() / 2);
}

void TimedMessageBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  okButton_->setFocus();
  timer_->start();
}

void TimedMessageBox::ShowTimed(const QString& text, core::MessageKind kind, int seconds,
                                const QString& caption, QWidget* parent) {
  TimedMessageBox form(text, kind, seconds, caption, parent);
  form.exec();
}

}  // namespace brisko::ui
