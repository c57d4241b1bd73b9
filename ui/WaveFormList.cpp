#include "WaveFormList.h"

#include <QAbstractItemView>
#include <QStylePainter>
#include <QStyledItemDelegate>

#include "WaveformPictures.h"

namespace quor {

namespace {

class WaveFormDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& palette = option.palette;
    WaveFormDrawItem(
        *painter, option.rect, index.data(WaveFormList::kPictureRole).value<QImage>(),
        index.data(Qt::DisplayRole).toString(),
        selected ? palette.color(QPalette::Highlight) : palette.color(QPalette::Base),
        selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text));
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), WaveFormList::kItemHeight};
  }
};

}  // namespace

WaveFormList::WaveFormList(QWidget* parent) : QComboBox(parent) {
  setItemDelegate(new WaveFormDelegate(this));
}

void WaveFormList::addPictureItem(const QString& text, const QImage& picture) {
  addItem(text);
  setItemData(count() - 1, picture, kPictureRole);
}

QImage WaveFormList::picture(int index) const {
  return itemData(index, kPictureRole).value<QImage>();
}

void WaveFormList::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();
  option.currentIcon = QIcon();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  // The item gets the box's full inner height, so the 17-row picture 3 rows down fits.
  QRect field =
      style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  field.setTop(1);
  field.setBottom(height() - 2);
  // A focused closed list shows its item as selected, as the drop-down does.
  const bool selected = hasFocus();
  const QColor brush = palette().color(selected ? QPalette::Highlight : QPalette::Base);
  const QColor text = palette().color(selected ? QPalette::HighlightedText : QPalette::Text);
  if (currentIndex() < 0) {
    painter.fillRect(field, brush);
    return;
  }
  WaveFormDrawItem(painter, field, picture(currentIndex()), currentText(), brush, text);
}

}  // namespace quor
