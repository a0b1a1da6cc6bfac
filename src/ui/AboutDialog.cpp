// The about box: version, licence and the help that comes with the program.
#include "ui/AboutDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/DialogSize.h"
#include "ui/HelpLauncher.h"
#include "ui/LinkLabel.h"
#include "ui/ProductInfo.h"

namespace brisko::ui {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutDialog"));
  setWindowTitle(QStringLiteral("About  Brisko ZIP Backup"));
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

  auto* form = new QFormLayout();
  auto* version = new QLabel(QString::fromLatin1(kBriskoVersion), this);
  version->setObjectName(QStringLiteral("LabelVersion"));
  form->addRow(QStringLiteral("Version: "), version);
  auto* licence = new QLabel(QString::fromLatin1(kLicence), this);
  licence->setObjectName(QStringLiteral("LabelLicence"));
  form->addRow(QStringLiteral("Licence: "), licence);
  // The help pages installed with the program stand in for support and web addresses.
  const QString helpPage = HelpLauncher::PageFor(kHelpMain);
  auto* help = new LinkLabel(QStringLiteral("Contents of the help"), QUrl::fromLocalFile(helpPage), this);
  help->setObjectName(QStringLiteral("LinkHelp"));
  help->setToolTip(QDir::toNativeSeparators(helpPage));
  connect(help, &LinkLabel::activated, this, [] { HelpLauncher::Open(kHelpMain); });
  form->addRow(QStringLiteral("Help: "), help);
  layout->addLayout(form);
  layout->addStretch();

  auto* buttons = new QDialogButtonBox(this);
  auto* close = buttons->addButton(QStringLiteral("Cl&ose"), QDialogButtonBox::AcceptRole);
  close->setObjectName(QStringLiteral("ButtonClose"));
  close->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  DialogSize::Keep(this, QSize(380, 0));
}

}  // namespace brisko::ui
