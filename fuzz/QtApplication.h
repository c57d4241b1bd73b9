#pragma once
#include <QCoreApplication>

namespace quor::fuzz {

// The devices deliver their notifications through Qt's event machinery, which wants an
// application object. Made once and kept for the whole run, as a program keeps its own.
inline void ensureQtApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "quor-fuzz";
  static char* argv[] = {name, nullptr};
  static auto* application = new QCoreApplication(argc, argv);
  (void)application;
}

}  // namespace quor::fuzz
