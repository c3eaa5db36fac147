#include "app/blink_label.h"

#include <QTimer>

namespace app {

TBlinkLabel::TBlinkLabel(const QString& text, const QColor& colour, const QColor& blink_colour,
                         QWidget* parent)
    : QLabel(text, parent), colour_(colour), blink_colour_(blink_colour), timer_(new QTimer(this)) {
  ApplyColour();
  connect(timer_, &QTimer::timeout, this, &TBlinkLabel::Blink);
  timer_->start(kBlinkIntervalMs);
}

void TBlinkLabel::Blink() {
  showing_blink_ = !showing_blink_;
  ApplyColour();
}

void TBlinkLabel::ApplyColour() {
  QPalette palette = this->palette();
  palette.setColor(QPalette::WindowText, CurrentColour());
  setPalette(palette);
}

}  // namespace app
