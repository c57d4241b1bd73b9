#include "StartupSequence.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdlib>
#include <cstring>

#include "ApplicationTitle.h"
#include "Version.h"

namespace quor {

void EventLoopStartupPacing::sleep(int milliseconds) {
  if (waits_) QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void EventLoopStartupPacing::processMessages() {
  QCoreApplication::processEvents();
}

bool EventLoopStartupPacing::waitsAsked() {
  const char* skip = std::getenv("QUOR_SKIP_SPLASH_WAITS");
  return skip == nullptr || std::strcmp(skip, "1") != 0;
}

bool runStartupSequence(std::unique_ptr<SplashSurface> splash, StartupPacing& pacing,
                        const StartupSteps& steps) {
  splash->showSplash();
  // It never becomes quite opaque: the last step of the fade-in is 240.
  for (int i = 1; i <= kSplashSteps; ++i) {
    splash->setOpacity(kSplashOpacityStep * i);
    pacing.sleep(kSplashFadeStepMs);
    pacing.processMessages();
  }
  splash->redraw();
  for (int i = 1; i <= kSplashSteps; ++i) {
    pacing.sleep(kSplashHoldStepMs);
    pacing.processMessages();
  }
  setApplicationTitle(kProductName);
  steps.createWindows();
  for (int i = 1; i <= kSplashSteps; ++i) {
    splash->setOpacity(256 - kSplashOpacityStep * i);
    pacing.sleep(kSplashFadeStepMs);
    pacing.processMessages();
  }
  splash->hideSplash();
  splash.reset();
  return steps.runCommandLineScript();
}

}  // namespace quor
