#include "app/finish.h"

namespace app {

TForm_Finish::TForm_Finish(QWidget* parent)
    : TPage(QStringLiteral("Installation terminé"), parent) {
  setObjectName(QStringLiteral("Form_Finish"));
}

}  // namespace app
