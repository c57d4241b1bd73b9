#include "FlashWindow.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

namespace quor {

TfrmFlash::TfrmFlash(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool) {
  setWindowTitle("Flash");
  // The flash must not take the keyboard from the window the user works in.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAutoFillBackground(true);
  setBackground(kFlashBlack);
}

void TfrmFlash::showSurface() {
  show();
}

void TfrmFlash::hideSurface() {
  hide();
}

void TfrmFlash::place(int left, int top, int width, int height) {
  setGeometry(left, top, width, height);
}

void TfrmFlash::setBackground(uint32_t rgb) {
  QPalette colours = palette();
  colours.setColor(QPalette::Window, QColor::fromRgb(rgb));
  setPalette(colours);
  update();
}

uint32_t TfrmFlash::background() const {
  return palette().color(QPalette::Window).rgb() & 0xFFFFFFu;
}

FlashScreenSize TfrmFlash::screenSize() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  const QSize size = screen->size();
  return {size.width(), size.height()};
}

}  // namespace quor
