#pragma once
// The input filter of the panel's tablet-offset fields: it lets through
// numbers from 0 to 1 of at most four characters (fractions included, the
// fields hold fractions of the tablet). Rejected typing beeps, except when the
// text merely grew too long.
#include <QValidator>

namespace taviro {

enum class PartialStringVerdict { Valid, InvalidSilently, InvalidWithBeep };

// The decision for a partial string; free of widgets so tests can table it.
PartialStringVerdict judgePartialString(const QString& s);

class OnlyIntegerValueFormatter : public QValidator {
  Q_OBJECT
 public:
  explicit OnlyIntegerValueFormatter(QObject* parent = nullptr);
  State validate(QString& input, int& pos) const override;
};

}  // namespace taviro
