#include "MessagePresenter.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace quor {

namespace {

void showBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
  QMessageBox box(icon, QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace

void MessageBoxPresenter::showMessage(const QString& text) {
  showBox(parent_, QMessageBox::NoIcon, text);
}

void MessageBoxPresenter::showError(const QString& text) {
  showBox(parent_, QMessageBox::Critical, text);
}

}  // namespace quor
