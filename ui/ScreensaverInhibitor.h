#pragma once
#include <QDBusConnection>
#include <QString>
#include <cstdint>
#include <optional>

namespace quor {

// Keeps the desktop's screensaver from starting through the freedesktop inhibition on the
// session bus, for exactly as long as a tone plays with "Disable Screensaver when active"
// checked. Without a bus or without a screensaver service on it, nothing is inhibited and
// nothing is reported: the option then simply has no effect.
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
  bool inhibited() const { return cookie_.has_value(); }

  static constexpr const char* kApplication = "Quor Generator";
  static constexpr const char* kReason = "A tone is playing";

 private:
  void inhibit();
  void release();

  QDBusConnection bus_;
  std::optional<uint32_t> cookie_;
  QString path_;  // the object that granted the inhibition
};

}  // namespace quor
