#pragma once
#include <QObject>

namespace quor {

// Prints "first-paint <nanoseconds since the epoch>" on standard output when the first widget
// of the program's windows paints, the start splash's left out, so that a benchmark can time
// the start-up from outside.
class FirstPaintReport : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool reported_ = false;
};

// Installs the report on the application when QUOR_REPORT_FIRST_PAINT=1.
void reportFirstPaintIfAsked(QObject* application);

}  // namespace quor
