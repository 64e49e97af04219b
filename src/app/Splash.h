#pragma once
// The About box: product name, version, the logo and two pairs of eyes that
// follow the mouse.
#include <QDialog>

class QLabel;
class QPushButton;
class TEyes;

class TSplashform : public QDialog {
  Q_OBJECT
 public:
  explicit TSplashform(QWidget* parent = nullptr);

  QLabel* ProductName = nullptr;
  QLabel* Version = nullptr;
  QLabel* Bits = nullptr;
  QLabel* Logo = nullptr;
  QPushButton* OKButton = nullptr;
  TEyes* Eyes1 = nullptr;
  TEyes* Eyes2 = nullptr;
};
