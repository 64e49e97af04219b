#include "app/Splash.h"

#include <QLabel>
#include <QPushButton>

#include "app/Eyes.h"
#include "app/Glyphs.h"
#include "platform/AppGlobals.h"

TSplashform::TSplashform(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("Splashform"));
  setWindowTitle(QStringLiteral("About ") + GlobalApplicationName);
  setFont(QFont(QStringLiteral("Arial"), 8));
  setFixedSize(440, 200);

  Logo = new QLabel(this);
  Logo->setPixmap(ProductLogo(96));
  Logo->setGeometry(8, 8, 96, 96);

  ProductName = new QLabel(GlobalApplicationName, this);
  QFont title(QStringLiteral("Arial"), 16, QFont::Bold);
  ProductName->setFont(title);
  ProductName->setGeometry(120, 30, 300, 32);

  Version = new QLabel(QStringLiteral("Version ") + GlobalVersion, this);
  Version->setFont(QFont(QStringLiteral("Arial"), 10));
  Version->setGeometry(120, 70, 300, 20);

  Bits = new QLabel(QStringLiteral("32-bit version"), this);
  Bits->setGeometry(120, 94, 300, 18);

  Eyes1 = new TEyes(this);
  Eyes1->setGeometry(20, 146, 37, 30);
  Eyes2 = new TEyes(this);
  Eyes2->setGeometry(401, 7, 26, 20);

  OKButton = new QPushButton(QStringLiteral("Ok"), this);
  OKButton->setDefault(true);
  OKButton->setGeometry(340, 160, 80, 26);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}
