#include "PrivateSessionBus.h"

#include <QDBusMessage>
#include <QMutexLocker>
#include <algorithm>

namespace quor::testing {

PrivateSessionBus::PrivateSessionBus() {
  daemon_.setProgram("dbus-daemon");
  daemon_.setArguments({"--session", "--nofork", "--print-address=1"});
  daemon_.start();
  if (!daemon_.waitForStarted(5000)) {
    failure_ = "dbus-daemon did not start: " + daemon_.errorString();
    return;
  }
  while (!daemon_.canReadLine() && daemon_.waitForReadyRead(5000)) {
  }
  address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
  if (address_.isEmpty()) failure_ = "dbus-daemon printed no address";
}

PrivateSessionBus::~PrivateSessionBus() {
  for (const QString& name : names_) QDBusConnection::disconnectFromBus(name);
  if (daemon_.state() != QProcess::NotRunning) {
    daemon_.terminate();
    if (!daemon_.waitForFinished(3000)) {
      daemon_.kill();
      daemon_.waitForFinished(3000);
    }
  }
}

QDBusConnection PrivateSessionBus::connect(const QString& name) {
  names_.append(name);
  return QDBusConnection::connectToBus(address_, name);
}

class FakeScreensaverService::Object : public QDBusVirtualObject {
 public:
  QString introspect(const QString&) const override { return {}; }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (message.interface() != "org.freedesktop.ScreenSaver") return false;
    QMutexLocker lock(&mutex);
    calls.push_back({message.member(), message.path(), message.arguments()});
    if (holding) {
      unanswered.push_back(message);
      return true;
    }
    return answer(message, connection);
  }

  // With the mutex held.
  bool answer(const QDBusMessage& message, const QDBusConnection& connection) {
    if (message.member() == "Inhibit") {
      const uint32_t cookie = nextCookie++;
      held.push_back(cookie);
      connection.send(message.createReply(QVariant::fromValue(cookie)));
      return true;
    }
    if (message.member() == "UnInhibit" && !message.arguments().isEmpty()) {
      held.erase(std::remove(held.begin(), held.end(), message.arguments().front().toUInt()),
                 held.end());
      connection.send(message.createReply());
      return true;
    }
    return false;
  }

  mutable QMutex mutex;
  std::vector<ScreensaverCall> calls;
  std::vector<uint32_t> held;
  uint32_t nextCookie = 4711;
  bool holding = false;
  std::vector<QDBusMessage> unanswered;
};

FakeScreensaverService::FakeScreensaverService(PrivateSessionBus& bus, const QString& objectPath)
    : object_(std::make_unique<Object>()),
      connection_(bus.connect("fake-screensaver")),
      path_(objectPath) {
  object_->moveToThread(&thread_);
  thread_.start();
  registered_ = connection_.isConnected() &&
                connection_.registerService("org.freedesktop.ScreenSaver") &&
                connection_.registerVirtualObject(objectPath, object_.get());
}

FakeScreensaverService::~FakeScreensaverService() {
  connection_.unregisterObject(path_);
  connection_.unregisterService("org.freedesktop.ScreenSaver");
  thread_.quit();
  thread_.wait();
}

std::vector<ScreensaverCall> FakeScreensaverService::calls() const {
  QMutexLocker lock(&object_->mutex);
  return object_->calls;
}

std::vector<uint32_t> FakeScreensaverService::heldCookies() const {
  QMutexLocker lock(&object_->mutex);
  return object_->held;
}

void FakeScreensaverService::holdAnswers() const {
  QMutexLocker lock(&object_->mutex);
  object_->holding = true;
}

void FakeScreensaverService::answerHeldCalls() const {
  QMutexLocker lock(&object_->mutex);
  object_->holding = false;
  for (const QDBusMessage& message : object_->unanswered) object_->answer(message, connection_);
  object_->unanswered.clear();
}

}  // namespace quor::testing
