#pragma once
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>

namespace quor {

// Leaving a field for a menu, a pop-up or another window is not leaving it for another
// control of the same window.
inline bool leavesForAnotherControl(const QEvent* event) {
  if (event->type() != QEvent::FocusOut) return false;
  const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

inline bool isEnterKey(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace quor
