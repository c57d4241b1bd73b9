#include "ApplicationTitle.h"

#include "Version.h"

namespace quor {

namespace {

QString& title() {
  static QString current = kProductName;
  return current;
}

}  // namespace

QString applicationTitle() {
  return title();
}

void setApplicationTitle(const QString& text) {
  title() = text;
}

}  // namespace quor
