#pragma once
#include <QColor>
#include <QWidget>

namespace quor {

// The indicator around the ON/OFF button: a rounded rectangle filled red while silent and
// lime green while a tone sounds.
class LedFrame : public QWidget {
 public:
  explicit LedFrame(QWidget* parent) : QWidget(parent) {}

  bool lit() const { return lit_; }
  void setLit(bool lit) {
    lit_ = lit;
    update();
  }
  QColor colour() const { return lit_ ? QColor(0, 255, 0) : QColor(255, 0, 0); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool lit_ = false;
};

}  // namespace quor
