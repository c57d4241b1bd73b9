#pragma once
#include <QObject>

class QWidget;

namespace quor {

// Keeps a window from taking input while another window needs the user's attention: no key,
// mouse button, wheel, shortcut, menu or close request reaches the window, its controls, its
// menus or its actions. Other windows stay usable, the window's own message boxes included. The
// window's controls keep their look, as a disabled top-level window's do on Windows: disabling the
// window instead would grey and repaint every control, and repaint them again when it ends.
class WindowInputBlock : public QObject {
 public:
  explicit WindowInputBlock(QWidget& window);
  ~WindowInputBlock() override;
  WindowInputBlock(const WindowInputBlock&) = delete;
  WindowInputBlock& operator=(const WindowInputBlock&) = delete;

  void setBlocked(bool blocked);
  bool blocked() const { return blocked_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool ownedByWindow(const QObject* object) const;

  QWidget& window_;
  bool blocked_ = false;
};

}  // namespace quor
