#include "app/numeric_edit.h"

#include <QLocale>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <cmath>

#include "app/text_1252.h"

namespace app {
namespace {

// The locale's thousands separator, or a no-break space when Windows-1252 cannot store the
// locale's own (French uses U+202F), since the displayed text is what gets recorded.
QChar GroupSeparator() {
  const QString separator = QLocale().groupSeparator();
  if (separator.size() == 1 && IsWindows1252(separator[0])) {
    return separator[0];
  }
  return QChar(0x00A0);
}

}  // namespace

QString FormatWholeGrouped(double value, QChar group_separator) {
  const double rounded = std::round(value);  // halves away from zero
  QString digits = QString::number(std::fabs(rounded), 'f', 0);
  for (qsizetype i = digits.size() - 3; i > 0; i -= 3) {
    digits.insert(i, group_separator);
  }
  return rounded < 0 ? QLatin1Char('(') + digits + QLatin1Char(')') : digits;
}

std::optional<double> ParseTypedNumber(const QString& text) {
  static const QRegularExpression number(QStringLiteral("^-?(\\d+([.,]\\d*)?|[.,]\\d+)$"));
  if (!number.match(text).hasMatch()) {
    return std::nullopt;
  }
  QString plain = text;
  plain.replace(QLatin1Char(','), QLatin1Char('.'));
  bool ok = false;
  const double value = plain.toDouble(&ok);
  return ok ? std::optional<double>(value) : std::nullopt;
}

TNumericEdit::TNumericEdit(const QColor& frame, const QColor& hot_frame, QWidget* parent)
    : TFramedEdit(frame, hot_frame, parent) {
  setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("^-?\\d*([.,]\\d*)?$")), this));
}

void TNumericEdit::focusInEvent(QFocusEvent* event) {
  if (value_.has_value()) {
    setText(QString::number(*value_, 'g', 15));
  }
  TFramedEdit::focusInEvent(event);
}

void TNumericEdit::focusOutEvent(QFocusEvent* event) {
  value_ = ParseTypedNumber(text());
  setText(value_.has_value() ? FormatWholeGrouped(*value_, GroupSeparator()) : QString());
  TFramedEdit::focusOutEvent(event);
}

}  // namespace app
