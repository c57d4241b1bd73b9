#pragma once
#include <QFont>

namespace quor {

// The windows' font: a sans-serif face at 11 pixels, the size the layout's places and sizes
// were made for. DejaVu Sans Condensed has about the width of the classic 11-pixel dialog
// font, so captions fit their controls; plain DejaVu Sans stands in where it is missing.
inline QFont windowFont() {
  QFont font("DejaVu Sans Condensed");
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  return font;
}

}  // namespace quor
