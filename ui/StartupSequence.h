#pragma once
#include <functional>
#include <memory>

namespace quor {

inline constexpr int kSplashSteps = 15;
inline constexpr int kSplashOpacityStep = 16;
inline constexpr int kSplashFadeStepMs = 20;
inline constexpr int kSplashHoldStepMs = 50;

// The start splash as the start-up sequence drives it. Destroying it takes it off the screen
// for good.
class SplashSurface {
 public:
  virtual ~SplashSurface() = default;
  virtual void showSplash() = 0;             // at opacity 0
  virtual void setOpacity(int opacity) = 0;  // 0 (invisible) to 255 (opaque)
  virtual void redraw() = 0;                 // at once, not when the event loop gets to it
  virtual void hideSplash() = 0;
};

// How the start lets time pass: sleeps on the user-interface thread, and passes over the
// pending window messages that paint the splash and make its opacity take effect.
class StartupPacing {
 public:
  virtual ~StartupPacing() = default;
  virtual void sleep(int milliseconds) = 0;
  virtual void processMessages() = 0;
};

// The program's pacing. Without waits (QUOR_SKIP_SPLASH_WAITS=1, for tests and benchmarks
// that start the program many times) the sleeps are left out and the messages still handled.
class EventLoopStartupPacing : public StartupPacing {
 public:
  explicit EventLoopStartupPacing(bool waits) : waits_(waits) {}
  void sleep(int milliseconds) override;
  void processMessages() override;

  // Whether the environment asks for the splash's waits (it does unless it says otherwise).
  static bool waitsAsked();

 private:
  bool waits_;
};

// What the start does between the splash's fades and after them.
struct StartupSteps {
  std::function<void()> createWindows;         // every window, hidden, in its order
  std::function<bool()> runCommandLineScript;  // answers whether a script ran
};

// The start-up sequence up to the message loop: the splash fades in and holds, the application
// title is set, the windows are created, the splash fades out and is destroyed, and a script
// named on the command line runs. Answers whether the program ends now, because a script ran,
// instead of entering its message loop.
bool runStartupSequence(std::unique_ptr<SplashSurface> splash, StartupPacing& pacing,
                        const StartupSteps& steps);

}  // namespace quor
