#include "QtEventLoop.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

namespace quor {

namespace {

// Ends a notifier's or timer's callbacks at once; the object itself goes once the event that
// may be running its callback is done.
class QtEntry : public EventLoop::Registration {
 public:
  explicit QtEntry(QObject* object) : object_(object) {}
  ~QtEntry() override {
    if (!object_) return;
    QObject::disconnect(object_, nullptr, nullptr, nullptr);
    if (auto* timer = qobject_cast<QTimer*>(object_.data())) timer->stop();
    if (auto* notifier = qobject_cast<QSocketNotifier*>(object_.data()))
      notifier->setEnabled(false);
    object_->deleteLater();
  }

 private:
  QPointer<QObject> object_;
};

}  // namespace

QtEventLoop::QtEventLoop() {
  setThreadEventLoop(this);
}

QtEventLoop::~QtEventLoop() {
  setThreadEventLoop(nullptr);
}

EventLoop::Handle QtEventLoop::watchReadable(int fd, std::function<void()> onReadable) {
  auto* notifier = new QSocketNotifier(static_cast<qintptr>(fd), QSocketNotifier::Read);
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, std::move(onReadable));
  return std::make_unique<QtEntry>(notifier);
}

EventLoop::Handle QtEventLoop::startTimer(std::chrono::milliseconds interval, bool singleShot,
                                          std::function<void()> onTimeout) {
  auto* timer = new QTimer;
  timer->setSingleShot(singleShot);
  timer->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer, &QTimer::timeout, timer, std::move(onTimeout));
  timer->start(interval);
  return std::make_unique<QtEntry>(timer);
}

void QtEventLoop::post(std::function<void()> task) {
  QMetaObject::invokeMethod(&context_, std::move(task), Qt::QueuedConnection);
}

void QtEventLoop::processEvents(bool waitForMore) {
  QCoreApplication::processEvents(
      waitForMore ? QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
}

}  // namespace quor
