#include "app/gradient_separator.h"

#include <QLinearGradient>
#include <QPainter>

namespace app {

TGradientSeparator::TGradientSeparator(QWidget* parent) : QWidget(parent) {}

void TGradientSeparator::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QLinearGradient gradient(0, 0, width(), 0);
  gradient.setColorAt(0.0, QColor(0x84, 0xC1, 0xFF, 0));
  gradient.setColorAt(0.5, QColor(0x1A, 0x42, 0x84));
  gradient.setColorAt(1.0, QColor(0x84, 0xC1, 0xFF, 0));
  painter.fillRect(QRect(0, 0, width(), 1), gradient);
  painter.fillRect(QRect(0, 1, width(), 1), QColor(255, 255, 255, 180));
}

}  // namespace app
