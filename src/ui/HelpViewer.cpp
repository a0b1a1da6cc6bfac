// The program's own help window.
#include "ui/HelpViewer.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/DesktopOpener.h"
#include "ui/DialogSize.h"

namespace brisko::ui {

namespace {

QPointer<HelpViewer>& OpenViewer() {
  static QPointer<HelpViewer> viewer;
  return viewer;
}

}  // namespace

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("HelpViewer"));
  setWindowTitle(QStringLiteral("Brisko ZIP Backup help"));
  auto* layout = new QVBoxLayout(this);
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  // Pages link to each other; anything on the web goes to the desktop's browser.
  browser_->setOpenExternalLinks(true);
  layout->addWidget(browser_);

  auto* buttons = new QDialogButtonBox(this);
  auto* back = buttons->addButton(QStringLiteral("&Back"), QDialogButtonBox::ActionRole);
  back->setObjectName(QStringLiteral("ButtonBack"));
  back->setEnabled(false);
  auto* contents = buttons->addButton(QStringLiteral("&Contents"), QDialogButtonBox::ActionRole);
  contents->setObjectName(QStringLiteral("ButtonContents"));
  auto* external = buttons->addButton(QStringLiteral("Open in &Browser"), QDialogButtonBox::ActionRole);
  external->setObjectName(QStringLiteral("ButtonBrowser"));
  auto* close = buttons->addButton(QStringLiteral("Cl&ose"), QDialogButtonBox::RejectRole);
  close->setObjectName(QStringLiteral("ButtonClose"));
  close->setDefault(true);
  layout->addWidget(buttons);

  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(contents, &QPushButton::clicked, this,
          [this] { browser_->setSource(browser_->source().resolved(QUrl(QStringLiteral("1.html")))); });
  connect(external, &QPushButton::clicked, this, [this] { DesktopOpener::Open(browser_->source()); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  DialogSize::Keep(this, QSize(640, 520));
}

void HelpViewer::ShowPage(const QString& path) {
  QPointer<HelpViewer>& viewer = OpenViewer();
  // A modal dialog blocks every window but its own: asked from one, the help window belongs to it.
  QWidget* owner = QApplication::activeModalWidget();
  if (viewer && viewer->parentWidget() != owner) {
    viewer->close();
    viewer = nullptr;
  }
  if (!viewer) {
    viewer = new HelpViewer(owner);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
  }
  viewer->browser_->setSource(QUrl::fromLocalFile(path));
  viewer->show();
  viewer->raise();
  viewer->activateWindow();
}

HelpViewer* HelpViewer::Current() {
  return OpenViewer();
}

QUrl HelpViewer::Source() const {
  return browser_->source();
}

}  // namespace brisko::ui
