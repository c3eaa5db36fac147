#pragma once
// The single-line edit of the parameters page: a thin frame that lights up under the mouse,
// Enter moving on to the next control, and only characters that the Windows code page can
// store, since every text typed here is recorded as Windows-1252.

#include <QColor>
#include <QLineEdit>
#include <QValidator>

namespace app {

// Accepts a text when every character of it has a Windows-1252 byte.
class TWindows1252Validator final : public QValidator {
  Q_OBJECT

 public:
  explicit TWindows1252Validator(QObject* parent) : QValidator(parent) {}
  State validate(QString& input, int& pos) const override;
};

class TFramedEdit : public QLineEdit {
  Q_OBJECT

 public:
  // `frame` and `hot_frame`: the frame colour at rest and under the mouse.
  TFramedEdit(const QColor& frame, const QColor& hot_frame, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace app
