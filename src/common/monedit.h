#pragma once
// The two numeric entry fields of the forms: amounts in whole rials shown with
// thousands separators, and decimal numbers (areas, shares, rates).
#include <QLineEdit>

#include <initializer_list>
#include <optional>

namespace tavrin {

// The largest whole amount a money column holds: numeric(19,4) keeps 15
// digits before the decimal point on every backend.
inline constexpr qint64 kMaxAmount = 999'999'999'999'999;
// The length of an amount's entry field: longer than any amount the columns
// hold, so that a pasted amount is kept whole and refused by the save with the
// field's message instead of being cut silently to a smaller one.
inline constexpr int kAmountFieldLength = 24;

// An amount's digits with "," between groups of three counted from the right;
// a leading "-" is kept.  Persian digits count as digits, everything else is
// dropped.  An empty text stays empty.
QString groupAmount(const QString& text);
// A whole amount as it is shown: 9876543 -> "9,876,543".
QString formatAmount(qint64 value);

// Reads an amount shown with separators: removes every "," (and the Arabic
// thousands separator), takes Persian digits as digits and converts.  Nothing
// when the rest is not a whole number or is beyond kMaxAmount (either sign);
// 0 for an empty text.
std::optional<qint64> tryParseAmount(const QString& text);
// The same, 0 when the text is not a whole number.
qint64 parseAmount(const QString& text);

// One part of a price: an area in square metres at a price per square metre.
struct AreaPrice {
    double area = 0;
    qint64 perMetre = 0;
};
// The price of areas at their prices per square metre, in whole rials, as
// every window and the demonstration data compute it: each area is taken to
// six decimals, as typed rather than as its nearest binary fraction (87.6 m²
// at 94,000,000 is 8,234,400,000, not one rial less), the parts are added and
// the sum is rounded once, halves away from zero.  Nothing when an area is
// not a finite number below 10^15 or the sum does not fit a qint64.
std::optional<qint64> areaAmount(std::initializer_list<AreaPrice> parts);
// The same as plain digits, whatever its size (a sum beyond the money columns
// is shown whole, for the save to refuse); "0" when an area is not a number.
QString areaAmountText(std::initializer_list<AreaPrice> parts);

// A decimal number as the real-number field keeps it (digits and "." only;
// the Persian decimal separator counts as "."): nothing when it is not a
// number ("1.2.3", "."), 0 for an empty text.
std::optional<double> tryParseReal(const QString& text);

// Money field: after every change its text is rebuilt by groupAmount and the
// caret goes to the end (typing 9876543 shows 9,876,543; pasting 98,76 shows
// 9,876).
class TMonEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TMonEdit(QWidget* parent = nullptr);

    qint64 value() const { return parseAmount(text()); }
    void setValue(qint64 v) { setText(QString::number(v)); }
};

// Real-number field: after every change only its digits and "." remain and
// the caret goes to the end.
class TRealEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TRealEdit(QWidget* parent = nullptr);

    // 0 for an empty text (and for a text that is not a number).
    double value() const { return tryParseReal(text()).value_or(0.0); }
    // Whether the text converts (an empty text does, as 0).
    bool isNumber() const { return tryParseReal(text()).has_value(); }
    void setValue(double v);
};

} // namespace tavrin
