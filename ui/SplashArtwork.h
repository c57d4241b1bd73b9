#pragma once
#include <QImage>
#include <QRegion>

namespace quor {

inline constexpr int kSplashArtworkWidth = 500;
inline constexpr int kSplashArtworkHeight = 300;

// The start splash's picture, 500 x 300 at 24 bits per pixel: the program's oscilloscope
// screen with its name and a sweep trace. Pure red (255, 0, 0) marks where the splash is
// see-through; no other pixel is pure red, and no edge is blended into it.
QImage splashArtwork();

// The part of a picture that is not pure red.
QRegion nonRedRegion(const QImage& picture);

}  // namespace quor
