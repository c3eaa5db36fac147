#pragma once
// A label whose text colour alternates between two colours, to draw the eye to a warning.

#include <QColor>
#include <QLabel>

class QTimer;

namespace app {

class TBlinkLabel final : public QLabel {
  Q_OBJECT

 public:
  TBlinkLabel(const QString& text, const QColor& colour, const QColor& blink_colour,
              QWidget* parent);

  // The colour the text shows now.
  QColor CurrentColour() const { return showing_blink_ ? blink_colour_ : colour_; }

  // Switches to the other colour; the label's timer calls it every kBlinkIntervalMs.
  void Blink();

  static constexpr int kBlinkIntervalMs = 500;

 private:
  void ApplyColour();

  QColor colour_;
  QColor blink_colour_;
  bool showing_blink_ = false;
  QTimer* timer_;  // owned by the label
};

}  // namespace app
