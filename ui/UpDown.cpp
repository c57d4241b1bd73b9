#include "UpDown.h"

#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

#include "Conversions.h"

namespace quor {

namespace {

QToolButton* arrowButton(QWidget* parent, Qt::ArrowType arrow) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace

UpDown::UpDown(QWidget* parent, QLineEdit* buddy, Range range, TextWriter writeText)
    : QWidget(parent),
      buddy_(buddy),
      range_(range),
      writeText_(std::move(writeText)),
      up_(arrowButton(this, Qt::UpArrow)),
      down_(arrowButton(this, Qt::DownArrow)) {
  // Sits against the right edge of its field, as tall as the field.
  const QRect field = buddy->geometry();
  setGeometry(field.right() + 1, field.top(), 15, field.height());
  const int half = field.height() / 2;
  up_->setGeometry(0, 0, 15, half);
  down_->setGeometry(0, half, 15, field.height() - half);
  connect(up_, &QToolButton::clicked, this, [this] { stepUp(); });
  connect(down_, &QToolButton::clicked, this, [this] { stepDown(); });
}

void UpDown::stepBy(int delta) {
  // The field's own number is the starting point whenever it holds one, so that a typed
  // value beyond the range is pulled back into it by the first step.
  const std::string current = buddy_->text().toStdString();
  const bool hasNumber = current.find_first_of("0123456789") != std::string::npos;
  int position = hasNumber ? LenientInteger(current) : range_.position;
  position = std::clamp(position, range_.minimum, range_.maximum);
  range_.position = std::clamp(position + delta, range_.minimum, range_.maximum);
  writeText_(std::to_string(range_.position));
}

}  // namespace quor
