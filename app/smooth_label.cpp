#include "app/smooth_label.h"

#include <QPainter>

namespace app {

TSmoothLabel::TSmoothLabel(const QString& caption, const QColor& colour, QWidget* parent)
    : QWidget(parent), caption_(caption), colour_(colour) {
  setAccessibleName(caption);
}

void TSmoothLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setFont(font());
  const int flags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;
  painter.setPen(QColor(0, 0, 0, 60));
  painter.drawText(rect().adjusted(1, 1, 0, 0), flags, caption_);
  painter.setPen(colour_);
  painter.drawText(rect().adjusted(0, 0, -1, -1), flags, caption_);
}

}  // namespace app
