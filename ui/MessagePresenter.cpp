#include "MessagePresenter.h"

#include <QGuiApplication>
#include <QMessageBox>

#include "ErrorText.h"

namespace quor {

namespace {

void showBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
  const QString lines = QString::fromStdString(messageBoxLines(text.toStdString()));
  QMessageBox box(icon, QGuiApplication::applicationDisplayName(), lines, QMessageBox::Ok, parent);
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
