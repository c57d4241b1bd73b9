#pragma once
#include <QComboBox>
#include <QImage>

namespace quor {

// The owner-drawn waveform list: both the closed box and the drop-down items are drawn by
// WaveFormDrawItem, with a fixed item height.
class WaveFormList : public QComboBox {
 public:
  static constexpr int kItemHeight = 20;
  static constexpr int kPictureRole = Qt::UserRole + 1;

  explicit WaveFormList(QWidget* parent);

  void addPictureItem(const QString& text, const QImage& picture);
  QImage picture(int index) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace quor
