#pragma once
#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>
#include <memory>
#include <vector>

namespace quor::testing {

// A session bus of the test's own: a dbus-daemon started for the test and stopped with it.
class PrivateSessionBus {
 public:
  PrivateSessionBus();  // check started() afterwards
  ~PrivateSessionBus();

  bool started() const { return !address_.isEmpty(); }
  const QString& address() const { return address_; }
  const QString& failure() const { return failure_; }
  // A new connection of its own under the given name.
  QDBusConnection connect(const QString& name);

 private:
  QProcess daemon_;
  QString address_;
  QString failure_;
  QStringList names_;
};

// One call the fake screensaver received.
struct ScreensaverCall {
  QString member;  // "Inhibit" or "UnInhibit"
  QString path;
  QVariantList arguments;
};

// A stand-in for the desktop's screensaver service that records every call. It answers on a
// thread of its own, so that a test's main thread is free while it works.
class FakeScreensaverService {
 public:
  FakeScreensaverService(PrivateSessionBus& bus, const QString& objectPath);
  ~FakeScreensaverService();

  bool registered() const { return registered_; }
  std::vector<ScreensaverCall> calls() const;
  // The cookies handed out by Inhibit and not yet returned by UnInhibit.
  std::vector<uint32_t> heldCookies() const;
  // A hung service: calls are recorded but not answered until answerHeldCalls().
  void holdAnswers() const;
  void answerHeldCalls() const;

 private:
  class Object;
  QThread thread_;
  std::unique_ptr<Object> object_;
  QDBusConnection connection_;
  QString path_;
  bool registered_ = false;
};

}  // namespace quor::testing
