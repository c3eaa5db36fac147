#pragma once
// The last wizard page, shown once the installation has succeeded.

#include "app/page.h"

namespace app {

class TForm_Finish final : public TPage {
  Q_OBJECT

 public:
  // TODO(finish page): the congratulation texts, the contact block and the read-back of the
  // installation record come with the finish-page work; the form exists now because start-up
  // creates it and the installation procedure shows it.
  explicit TForm_Finish(QWidget* parent = nullptr);
};

}  // namespace app
