#include "ScreensaverInhibitor.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QVariant>
#include <iterator>

namespace quor {

namespace {

constexpr const char* kService = "org.freedesktop.ScreenSaver";
constexpr const char* kInterface = "org.freedesktop.ScreenSaver";
// Desktops differ in where they register the object; the first is the documented one.
constexpr const char* kPaths[] = {"/org/freedesktop/ScreenSaver", "/ScreenSaver"};
// A service that never answers ties up nothing but this one pending call, which then ends.
constexpr int kTimeoutMs = 10000;

}  // namespace

ScreensaverInhibitor::ScreensaverInhibitor() : bus_(QDBusConnection::sessionBus()) {}

ScreensaverInhibitor::ScreensaverInhibitor(const QDBusConnection& bus) : bus_(bus) {}

ScreensaverInhibitor::~ScreensaverInhibitor() {
  release();
}

void ScreensaverInhibitor::update(bool outputActive, bool optionChecked) {
  wanted_ = outputActive && optionChecked;
  // While an inhibition is being asked for, its answer decides (inhibitAnswered).
  if (pending_) return;
  if (wanted_ && !cookie_) inhibit(0);
  if (!wanted_ && cookie_) release();
}

void ScreensaverInhibitor::inhibit(size_t pathIndex) {
  if (!bus_.isConnected()) return;
  QDBusMessage call =
      QDBusMessage::createMethodCall(kService, kPaths[pathIndex], kInterface, "Inhibit");
  call << QString(kApplication) << QString(kReason);
  pending_ = true;
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, kTimeoutMs), &answers_);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &answers_,
                   [this, watcher, pathIndex] {
                     watcher->deleteLater();
                     inhibitAnswered(watcher->reply(), pathIndex);
                   });
}

void ScreensaverInhibitor::inhibitAnswered(const QDBusMessage& reply, size_t pathIndex) {
  pending_ = false;
  if (reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 1 &&
      reply.arguments().front().typeId() == QMetaType::UInt) {
    cookie_ = reply.arguments().front().toUInt();
    path_ = kPaths[pathIndex];
  } else if (pathIndex + 1 < std::size(kPaths)) {
    if (wanted_) inhibit(pathIndex + 1);
    return;
  }
  // The tone may have ended, or the option been cleared, while the answer was on its way.
  if (!wanted_ && cookie_) release();
}

void ScreensaverInhibitor::release() {
  if (!cookie_) return;
  QDBusMessage call = QDBusMessage::createMethodCall(kService, path_, kInterface, "UnInhibit");
  call << *cookie_;
  cookie_.reset();
  // Nothing waits for the answer: a failed release needs no handling, since the service drops
  // a client's inhibitions when the client leaves the bus.
  bus_.send(call);
}

}  // namespace quor
