#pragma once
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace quor {

// Keeps the desktop's screensaver from starting through the freedesktop inhibition on the
// session bus, for exactly as long as a tone plays with "Disable Screensaver when active"
// checked. Without a bus or without a screensaver service on it, nothing is inhibited and
// nothing is reported: the option then simply has no effect. The service is never waited
// for: its answers arrive through the event loop, so a service that hangs blocks nothing.
class ScreensaverInhibitor {
 public:
  ScreensaverInhibitor();  // on the user's session bus
  explicit ScreensaverInhibitor(const QDBusConnection& bus);
  ~ScreensaverInhibitor();  // releases an inhibition still held
  ScreensaverInhibitor(const ScreensaverInhibitor&) = delete;
  ScreensaverInhibitor& operator=(const ScreensaverInhibitor&) = delete;

  // Inhibits when both hold and releases when either stops holding; repeated calls with the
  // same state change nothing.
  void update(bool outputActive, bool optionChecked);
  // The service has granted an inhibition that is still held.
  bool inhibited() const { return cookie_.has_value(); }
  // An inhibition has been asked for and not answered yet.
  bool pending() const { return pending_; }

  static constexpr const char* kApplication = "Quor Generator";
  static constexpr const char* kReason = "A tone is playing";

 private:
  void inhibit(size_t pathIndex);
  void inhibitAnswered(const QDBusMessage& reply, size_t pathIndex);
  void release();

  QDBusConnection bus_;
  bool wanted_ = false;
  bool pending_ = false;
  std::optional<uint32_t> cookie_;
  QString path_;  // the object that granted the inhibition
  // Owns the watchers of unanswered calls: an answer that comes after this object is gone
  // reaches nobody.
  QObject answers_;
};

}  // namespace quor
