// The about box: version, support address and web site.
#include "ui/Taboutform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/HelpLauncher.h"
#include "ui/LinkLabel.h"
#include "ui/ProductInfo.h"

namespace brisko::ui {

Taboutform::Taboutform(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Taboutform"));
  setWindowTitle(QStringLiteral("About  Brisko ZIP Backup"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  HelpLauncher::SetContext(this, kHelpAbout);

  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout();
  auto* icon = new QLabel(this);
  icon->setPixmap(QPixmap(QStringLiteral(":/icons/app.png")));
  top->addWidget(icon);
  auto* product = new QLabel(QString::fromUtf8(kProductLine), this);
  product->setObjectName(QStringLiteral("ProductName"));
  QFont big = product->font();
  big.setBold(true);
  big.setPointSize(big.pointSize() + 3);
  product->setFont(big);
  top->addWidget(product);
  top->addStretch();
  layout->addLayout(top);

  auto* grid = new QGridLayout();
  grid->addWidget(new QLabel(QStringLiteral("Technical Support: "), this), 0, 0);
  auto* mail = new LinkLabel(QString::fromUtf8(kSupportMail),
                             QUrl(QStringLiteral("mailto:") + QString::fromUtf8(kSupportMail)), this);
  mail->setObjectName(QStringLiteral("LinkMail"));
  grid->addWidget(mail, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Website: "), this), 1, 0);
  auto* web = new LinkLabel(QString::fromUtf8(kProductUrl), QUrl(QString::fromUtf8(kProductUrl)), this);
  web->setObjectName(QStringLiteral("LinkWeb"));
  grid->addWidget(web, 1, 1);
  layout->addLayout(grid);

  auto* buttons = new QHBoxLayout();
  buttons->addStretch();
  auto* close = new QPushButton(QStringLiteral("Cl&ose"), this);
  close->setObjectName(QStringLiteral("ButtonClose"));
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  buttons->addWidget(close);
  layout->addLayout(buttons);
  setFixedSize(sizeHint().expandedTo(QSize(340, 0)));
}

}  // namespace brisko::ui
