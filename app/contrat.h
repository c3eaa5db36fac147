#pragma once
// The user-agreement page: a read-only memo over the whole page. Moving on is the acceptance.

#include "app/page.h"

class QPlainTextEdit;

namespace app {

class TForm_Contrat final : public TPage {
  Q_OBJECT

 public:
  explicit TForm_Contrat(QWidget* parent = nullptr);

  QPlainTextEdit* Memo;  // owned by the form
};

// The seven lines of the agreement text.
QString ContratText();

}  // namespace app
