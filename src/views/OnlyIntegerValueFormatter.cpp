#include "views/OnlyIntegerValueFormatter.h"

#include <QApplication>
#include <QLocale>

namespace taviro {
namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

qsizetype skipDigits(const QString& s, qsizetype i) {
  while (i < s.size() && isDigit(s[i])) ++i;
  return i;
}

qsizetype skipSpaces(const QString& s, qsizetype i) {
  while (i < s.size() && s[i].isSpace()) ++i;
  return i;
}

// Reads a decimal number the way a string scanner does: leading white space
// skipped, optional sign, digits with an optional "." part, optional exponent.
// Answers the value and whether only white space follows it.
bool scanWholeNumber(const QString& s, float* value) {
  const qsizetype start = skipSpaces(s, 0);
  qsizetype i = start;
  if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) ++i;
  const qsizetype intEnd = skipDigits(s, i);
  qsizetype end = intEnd;
  bool digits = intEnd > i;
  if (end < s.size() && s[end] == QLatin1Char('.')) {
    const qsizetype fracEnd = skipDigits(s, end + 1);
    digits = digits || fracEnd > end + 1;
    end = fracEnd;
  }
  if (!digits) return false;
  if (end < s.size() && (s[end] == QLatin1Char('e') || s[end] == QLatin1Char('E'))) {
    qsizetype e = end + 1;
    if (e < s.size() && (s[e] == QLatin1Char('+') || s[e] == QLatin1Char('-'))) ++e;
    const qsizetype expEnd = skipDigits(s, e);
    if (expEnd > e) end = expEnd;  // a bare "e" is not part of the number
  }
  QString number = s.mid(start, end - start);
  if (number.endsWith(QLatin1Char('.'))) number.chop(1);
  if (number.startsWith(QLatin1Char('.')) || number.startsWith(QLatin1String("-.")) ||
      number.startsWith(QLatin1String("+."))) {
    number.insert(number.indexOf(QLatin1Char('.')), QLatin1Char('0'));
  }
  bool ok = false;
  *value = QLocale::c().toFloat(number, &ok);
  return ok && skipSpaces(s, end) == s.size();
}

}  // namespace

PartialStringVerdict judgePartialString(const QString& s) {
  if (s.isEmpty()) return PartialStringVerdict::Valid;
  if (s.size() > 4) return PartialStringVerdict::InvalidSilently;
  float value = 0.0f;
  if (scanWholeNumber(s, &value) && value >= 0.0f && value <= 1.0f) {
    return PartialStringVerdict::Valid;
  }
  return PartialStringVerdict::InvalidWithBeep;
}

OnlyIntegerValueFormatter::OnlyIntegerValueFormatter(QObject* parent) : QValidator(parent) {}

QValidator::State OnlyIntegerValueFormatter::validate(QString& input, int&) const {
  switch (judgePartialString(input)) {
    case PartialStringVerdict::Valid:
      return Acceptable;
    case PartialStringVerdict::InvalidWithBeep:
      QApplication::beep();
      return Invalid;
    case PartialStringVerdict::InvalidSilently:
      return Invalid;
  }
  return Invalid;
}

}  // namespace taviro
