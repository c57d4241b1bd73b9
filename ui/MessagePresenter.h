#pragma once
#include <QString>

class QWidget;

namespace quor {

// Shows the application's modal message boxes. Tests put a recording presenter in its
// place so that nothing blocks.
class MessagePresenter {
 public:
  virtual ~MessagePresenter() = default;
  // A plain message: one OK button, the application title as caption.
  virtual void showMessage(const QString& text) = 0;
  // The application's error box: error icon, the application title as caption.
  virtual void showError(const QString& text) = 0;
};

// The real boxes, parented to a window so that they sit above it.
class MessageBoxPresenter : public MessagePresenter {
 public:
  explicit MessageBoxPresenter(QWidget* parent) : parent_(parent) {}
  void showMessage(const QString& text) override;
  void showError(const QString& text) override;

 private:
  QWidget* parent_;
};

}  // namespace quor
