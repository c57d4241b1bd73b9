#pragma once
#include <QWidget>
#include <functional>
#include <string>

class QLineEdit;
class QToolButton;

namespace quor {

// A spin control attached to a text field. Typing into the field is not limited by the
// range; a step reads the field's number, moves it by the step within the range and writes
// it back without thousands separators. The write goes through a callback so that the
// field's change handling runs exactly as for any program change of its text.
class UpDown : public QWidget {
  Q_OBJECT
 public:
  struct Range {
    int minimum;
    int maximum;
    int step;
    int position;
  };
  using TextWriter = std::function<void(const std::string&)>;

  UpDown(QWidget* parent, QLineEdit* buddy, Range range, TextWriter writeText);

  const Range& range() const { return range_; }
  void stepUp() { stepBy(range_.step); }
  void stepDown() { stepBy(-range_.step); }

 private:
  void stepBy(int delta);

  QLineEdit* buddy_;
  Range range_;
  TextWriter writeText_;
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace quor
