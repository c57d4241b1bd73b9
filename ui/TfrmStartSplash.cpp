#include "TfrmStartSplash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

#include "SplashArtwork.h"

namespace quor {

TfrmStartSplash::TfrmStartSplash() {
  setObjectName("frmStartSplash");
  // Not a title anyone sees; it keeps the splash apart from the main window "Quor Generator".
  setWindowTitle("Starting Quor Generator");
  setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
  setFixedSize(535, 341);
  QPalette red = palette();
  red.setColor(QPalette::Window, QColor(255, 0, 0));
  setPalette(red);
  setAutoFillBackground(true);

  const QImage picture = splashArtwork();
  imgSplash_ = new QLabel(this);
  imgSplash_->setObjectName("imgSplash");
  imgSplash_->setPixmap(QPixmap::fromImage(picture));
  imgSplash_->setGeometry(8, 9, picture.width(), picture.height());
  setMask(nonRedRegion(picture).translated(imgSplash_->pos()));

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->geometry().center() - rect().center());
  }
}

void TfrmStartSplash::showSplash() {
  setOpacity(0);
  show();
}

void TfrmStartSplash::setOpacity(int opacity) {
  setWindowOpacity(opacity / 255.0);
}

void TfrmStartSplash::redraw() {
  repaint();
}

void TfrmStartSplash::hideSplash() {
  hide();
}

}  // namespace quor
