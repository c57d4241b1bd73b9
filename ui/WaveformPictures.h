#pragma once
#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

class QPainter;

namespace quor {

// The 16 x 16 pictures of the waveform list, by their names "SINE", "SQUARE" and
// "TRIANGULAR". Pure red (255, 0, 0) marks the see-through areas. An unknown name gives a
// null image.
QImage waveformPicture(const QString& name);

// Draws one item of the waveform list into rect: the brush fills the rectangle, the picture
// (if any) goes to (left + 2, top + 3) stretched by one row to 17 rows with its pure red
// shown in the brush colour, and the text starts at the picture's width + 8 (24 without a
// picture), one pixel below the top.
void WaveFormDrawItem(QPainter& painter, const QRect& rect, const QImage& picture,
                      const QString& text, const QColor& brush, const QColor& textColour);

}  // namespace quor
