#pragma once
// A label drawn anti-aliased and word-wrapped, with a shadow copy of its caption one pixel
// down and right, as the welcome page shows its texts.

#include <QColor>
#include <QWidget>

namespace app {

class TSmoothLabel final : public QWidget {
  Q_OBJECT

 public:
  TSmoothLabel(const QString& caption, const QColor& colour, QWidget* parent);

  QString Caption() const { return caption_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
  QColor colour_;
};

}  // namespace app
