#include "TAboutBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ProgramIcon.h"
#include "Version.h"

namespace quor {

TAboutBox::TAboutBox() {
  setObjectName("AboutBox");
  setWindowTitle("About");
  setWindowIcon(programIcon());
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setModal(false);

  auto* icon = new QLabel;
  icon->setObjectName("ProgramIcon");
  icon->setPixmap(programPixmap(48));
  auto* product = new QLabel(kProductName);
  product->setObjectName("ProductName");
  QFont bold = product->font();
  bold.setBold(true);
  product->setFont(bold);
  auto* version = new QLabel(QString("Version ") + kVersion);
  version->setObjectName("Version");
  auto* ok = new QPushButton("OK");
  ok->setObjectName("OKButton");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* texts = new QVBoxLayout;
  texts->addWidget(product);
  texts->addWidget(version);
  texts->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(texts);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace quor
