#include "app/framed_edit.h"

#include <QKeyEvent>

#include "app/text_1252.h"

namespace app {

QValidator::State TWindows1252Validator::validate(QString& input, int&) const {
  for (const QChar c : input) {
    if (!IsWindows1252(c)) {
      return Invalid;
    }
  }
  return Acceptable;
}

TFramedEdit::TFramedEdit(const QColor& frame, const QColor& hot_frame, QWidget* parent)
    : QLineEdit(parent) {
  setValidator(new TWindows1252Validator(this));
  setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid %1; background: #FFFFFF;"
                               "  padding: 0px 2px; }"
                               "QLineEdit:hover, QLineEdit:focus { border: 1px solid %2; }")
                    .arg(frame.name(), hot_frame.name()));
}

void TFramedEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    focusNextChild();
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

}  // namespace app
