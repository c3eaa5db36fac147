#pragma once
// The first wizard page: the greeting, the installer's version line and the guidance text.

#include "app/page.h"

namespace app {

class TSmoothLabel;

class TForm_Welcome final : public TPage {
  Q_OBJECT

 public:
  explicit TForm_Welcome(QWidget* parent = nullptr);

  TSmoothLabel* SmoothLabel1;  // owned by the form, as are the two below
  TSmoothLabel* SmoothLabel2;
  TSmoothLabel* SmoothLabel3;
};

}  // namespace app
