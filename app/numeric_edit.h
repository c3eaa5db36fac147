#pragma once
// The numeric edit of the parameters page. While it has the focus it shows the number as
// typed; otherwise it shows it in its display format ",0;(,0)": a whole number with
// thousands separators, a negative one in parentheses. An empty edit stays empty.

#include <optional>

#include "app/framed_edit.h"

namespace app {

// Formats `value` as ",0;(,0)": rounded to a whole number (halves away from zero), digits
// grouped by three with `group_separator`, parentheses instead of the minus sign.
QString FormatWholeGrouped(double value, QChar group_separator);

// Reads a typed number: an optional "-", digits, and an optional "." or "," followed by
// digits. Returns nothing for a text that is not such a number (the empty text included).
std::optional<double> ParseTypedNumber(const QString& text);

class TNumericEdit final : public TFramedEdit {
  Q_OBJECT

 public:
  TNumericEdit(const QColor& frame, const QColor& hot_frame, QWidget* parent);

  // The value last typed, or nothing when the edit is empty.
  std::optional<double> Value() const { return value_; }

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  std::optional<double> value_;
};

}  // namespace app
