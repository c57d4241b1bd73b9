#include <QAbstractItemView>
#include <QPainter>

#include "WaveFormList.h"
#include "WaveformPictures.h"
#include "WindowFixture.h"

namespace quor::testing {
namespace {

const QColor kBrush(10, 200, 30);
const QColor kText(0, 0, 0);
constexpr QRgb kRed = 0xFFFF0000;

QImage drawItem(const QImage& picture, const QString& text, QSize size = {121, 20}) {
  QImage canvas(size, QImage::Format_RGB32);
  canvas.fill(Qt::white);
  QPainter painter(&canvas);
  WaveFormDrawItem(painter, QRect(QPoint(0, 0), size), picture, text, kBrush, kText);
  return canvas;
}

TEST(WaveformPicturesTest, ThreeSixteenSquarePicturesWithRedSeeThroughAreas) {
  for (const char* name : {"SINE", "SQUARE", "TRIANGULAR"}) {
    const QImage picture = waveformPicture(name);
    ASSERT_EQ(picture.size(), QSize(16, 16)) << name;
    int red = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) red += picture.pixel(x, y) == kRed;
    }
    EXPECT_GT(red, 100) << name;  // mostly background
    EXPECT_LT(red, 256) << name;  // with a trace on it
  }
  EXPECT_NE(waveformPicture("SINE"), waveformPicture("SQUARE"));
  EXPECT_TRUE(waveformPicture("NOISE").isNull());
}

TEST(WaveformPicturesTest, ThePictureIsDrawnSeventeenRowsHighWithRedInTheBrushColour) {
  // Every row its own colour, and a red see-through column at the left.
  QImage picture(16, 16, QImage::Format_RGB32);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) picture.setPixel(x, y, x == 0 ? kRed : qRgb(0, 10 * y, 200));
  }
  const QImage item = drawItem(picture, "");
  // Each of the 17 drawn rows is a row of the picture, top to bottom, every row at least once,
  // with the red shown in the brush colour.
  auto drawnRowIs = [&](int drawnRow, int sourceRow) {
    for (int x = 0; x < 16; ++x) {
      const QRgb source = picture.pixel(x, sourceRow);
      if (item.pixel(2 + x, 3 + drawnRow) != (source == kRed ? kBrush.rgb() : source)) {
        return false;
      }
    }
    return true;
  };
  int sourceRow = 0;
  for (int drawnRow = 0; drawnRow < 17; ++drawnRow) {
    if (!drawnRowIs(drawnRow, sourceRow)) ++sourceRow;
    ASSERT_LT(sourceRow, 16) << "drawn row " << drawnRow;
    EXPECT_TRUE(drawnRowIs(drawnRow, sourceRow)) << "drawn row " << drawnRow;
  }
  EXPECT_EQ(sourceRow, 15);
  for (int x = 0; x < 121; ++x) {
    EXPECT_NE(item.pixel(x, 19), kRed);
    EXPECT_NE(item.pixel(x, 10), kRed);
  }
  // Rows above the picture and the 17th row's neighbours show the brush.
  EXPECT_EQ(item.pixel(5, 0), kBrush.rgb());
  EXPECT_EQ(item.pixel(0, 10), kBrush.rgb());
}

TEST(WaveformPicturesTest, TheTextStartsAt24PixelsWithOrWithoutAPicture) {
  for (const QImage& picture : {waveformPicture("SINE"), QImage()}) {
    const QImage item = drawItem(picture, "Sine");
    int firstInk = -1;
    for (int x = 18; x < 121 && firstInk < 0; ++x) {
      for (int y = 0; y < 20; ++y) {
        if (qGray(item.pixel(x, y)) < 60) {
          firstInk = x;
          break;
        }
      }
    }
    EXPECT_GE(firstInk, 24);
    EXPECT_LE(firstInk, 27);
  }
}

class WaveFormListTest : public WindowTest {};

TEST_F(WaveFormListTest, ItemsCarryTheirPicturesAndAFixedHeight) {
  auto* list = child<WaveFormList>("WaveForm");
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->itemText(0), "Sine");
  EXPECT_EQ(list->itemText(1), "Square");
  EXPECT_EQ(list->itemText(2), "Triangular");
  EXPECT_EQ(list->picture(1), waveformPicture("SQUARE"));
  EXPECT_EQ(list->currentIndex(), 0);
  const QModelIndex index = list->model()->index(0, 0);
  QStyleOptionViewItem option;
  EXPECT_EQ(list->itemDelegate()->sizeHint(option, index).height(), WaveFormList::kItemHeight);
}

TEST_F(WaveFormListTest, TheHighlightedItemShowsRedInTheSelectionColour) {
  auto* list = child<WaveFormList>("WaveForm");
  QImage canvas(121, 20, QImage::Format_RGB32);
  QPainter painter(&canvas);
  QStyleOptionViewItem option;
  option.rect = QRect(0, 0, 121, 20);
  option.palette = list->palette();
  option.state = QStyle::State_Selected | QStyle::State_Enabled;
  list->itemDelegate()->paint(&painter, option, list->model()->index(2, 0));
  painter.end();
  const QRgb highlight = list->palette().color(QPalette::Highlight).rgb();
  EXPECT_EQ(canvas.pixel(2, 3), highlight);    // the picture's red corner
  EXPECT_EQ(canvas.pixel(0, 0), highlight);    // the fill
  EXPECT_EQ(canvas.pixel(17, 10), highlight);  // between picture and text
}

}  // namespace
}  // namespace quor::testing
