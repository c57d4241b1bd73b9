#include "WindowInputBlock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace quor {

namespace {

bool isInput(const QEvent& event) {
  switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::ToolTip:
    case QEvent::WhatsThis:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      return true;
    case QEvent::Close:
      // The window manager's close button; the program's own closes go through.
      return event.spontaneous();
    default:
      return false;
  }
}

}  // namespace

WindowInputBlock::WindowInputBlock(QWidget& window) : window_(window) {}

WindowInputBlock::~WindowInputBlock() {
  setBlocked(false);
}

void WindowInputBlock::setBlocked(bool blocked) {
  if (blocked == blocked_) return;
  blocked_ = blocked;
  // Only while blocked does every event of the program pass through here.
  if (blocked_) {
    QCoreApplication::instance()->installEventFilter(this);
  } else {
    QCoreApplication::instance()->removeEventFilter(this);
  }
}

bool WindowInputBlock::ownedByWindow(const QObject* object) const {
  for (; object != nullptr; object = object->parent()) {
    if (object == &window_) return true;
    // The window's message boxes are windows of their own and stay usable; its menus, popups
    // over it, do not.
    const auto* widget = qobject_cast<const QWidget*>(object);
    if (widget != nullptr && widget->isWindow() && widget->windowType() != Qt::Popup) return false;
  }
  return false;
}

bool WindowInputBlock::eventFilter(QObject* watched, QEvent* event) {
  if (!isInput(*event) || !ownedByWindow(watched)) return false;
  // An ignored close keeps the window open. Anything else counts as handled: an accepted
  // override keeps the window's shortcuts from firing, and an accepted mouse or key event is
  // not handed on to the parents.
  event->setAccepted(event->type() != QEvent::Close);
  return true;
}

}  // namespace quor
