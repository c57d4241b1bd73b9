#include "MessagePresenter.h"

#include <QMessageBox>

#include "ApplicationTitle.h"
#include "ErrorText.h"

namespace quor {

namespace {

void showBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
  const QString lines = QString::fromStdString(messageBoxLines(text.toStdString()));
  QMessageBox box(icon, applicationTitle(), lines, QMessageBox::Ok, parent);
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
