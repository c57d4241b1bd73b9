#include "ScreensaverInhibitor.h"

#include <QDBusMessage>
#include <QVariant>

namespace quor {

namespace {

constexpr const char* kService = "org.freedesktop.ScreenSaver";
constexpr const char* kInterface = "org.freedesktop.ScreenSaver";
// Desktops differ in where they register the object; the first is the documented one.
constexpr const char* kPaths[] = {"/org/freedesktop/ScreenSaver", "/ScreenSaver"};
// A screensaver service that hangs must not freeze the window for the bus's default 25 s.
constexpr int kTimeoutMs = 1000;

}  // namespace

ScreensaverInhibitor::ScreensaverInhibitor() : bus_(QDBusConnection::sessionBus()) {}

ScreensaverInhibitor::ScreensaverInhibitor(const QDBusConnection& bus) : bus_(bus) {}

ScreensaverInhibitor::~ScreensaverInhibitor() {
  release();
}

void ScreensaverInhibitor::update(bool outputActive, bool optionChecked) {
  const bool wanted = outputActive && optionChecked;
  if (wanted && !cookie_) inhibit();
  if (!wanted && cookie_) release();
}

void ScreensaverInhibitor::inhibit() {
  if (!bus_.isConnected()) return;
  for (const char* path : kPaths) {
    QDBusMessage call = QDBusMessage::createMethodCall(kService, path, kInterface, "Inhibit");
    call << QString(kApplication) << QString(kReason);
    const QDBusMessage reply = bus_.call(call, QDBus::Block, kTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 1 &&
        reply.arguments().front().typeId() == QMetaType::UInt) {
      cookie_ = reply.arguments().front().toUInt();
      path_ = path;
      return;
    }
  }
}

void ScreensaverInhibitor::release() {
  if (!cookie_) return;
  QDBusMessage call = QDBusMessage::createMethodCall(kService, path_, kInterface, "UnInhibit");
  call << *cookie_;
  cookie_.reset();
  // A failed release needs no handling: the service drops a client's inhibitions when the
  // client leaves the bus.
  bus_.call(call, QDBus::Block, kTimeoutMs);
}

}  // namespace quor
