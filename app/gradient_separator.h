#pragma once
// A thin horizontal line that fades in from the left and out to the right.

#include <QWidget>

namespace app {

class TGradientSeparator final : public QWidget {
  Q_OBJECT

 public:
  explicit TGradientSeparator(QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace app
