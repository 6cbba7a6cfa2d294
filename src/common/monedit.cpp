#include "monedit.h"

#include "nationcode.h"

#include <QLocale>
#include <QValidator>

#include <cmath>
#include <limits>

namespace tavrin {

namespace {

constexpr char16_t kArabicDecimalSeparator = 0x066B;
constexpr char16_t kArabicThousandsSeparator = 0x066C;

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Rewrites the text as the field shows it, before the field takes it in, so
// that a change is reported once, with the rebuilt text; after every change
// the caret goes to the end.
class RebuildValidator : public QValidator {
public:
    using Rebuild = QString (*)(const QString&);
    RebuildValidator(Rebuild rebuild, QObject* parent) : QValidator(parent), m_rebuild(rebuild) {}

    State validate(QString& input, int& pos) const override
    {
        input = m_rebuild(input);
        pos = int(input.size());
        return Acceptable;
    }

private:
    Rebuild m_rebuild;
};

QString keepRealChars(const QString& text)
{
    QString out;
    for (QChar c : toAsciiDigits(text)) {
        if (c == QChar(kArabicDecimalSeparator))
            c = QLatin1Char('.');
        if (isAsciiDigit(c) || c == QLatin1Char('.'))
            out += c;
    }
    return out;
}

// Numbers read left to right; the field keeps that order inside right-to-left
// forms and sits against the right edge like the other fields of such a form.
void layOutAsNumber(QLineEdit* e)
{
    e->setLayoutDirection(Qt::LeftToRight);
    e->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
}

} // namespace

QString groupAmount(const QString& text)
{
    const QString ascii = toAsciiDigits(text).trimmed();
    const bool negative = ascii.startsWith(QLatin1Char('-'));
    QString digits;
    for (const QChar c : ascii)
        if (isAsciiDigit(c))
            digits += c;
    QString out;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += QLatin1Char(',');
        out += digits[i];
    }
    return negative ? QLatin1Char('-') + out : out;
}

QString formatAmount(qint64 value)
{
    return groupAmount(QString::number(value));
}

std::optional<qint64> tryParseAmount(const QString& text)
{
    QString s = toAsciiDigits(text);
    s.remove(QLatin1Char(','));
    s.remove(QChar(kArabicThousandsSeparator));
    s = s.trimmed();
    if (s.isEmpty())
        return 0;
    // A sign and digits only: the conversion itself would stop at a NUL
    // character and take the digits before it ("98\0767" read as 98).
    for (qsizetype i = 0; i < s.size(); ++i)
        if (!isAsciiDigit(s[i]) && !(i == 0 && (s[i] == u'-' || s[i] == u'+') && s.size() > 1))
            return std::nullopt;
    bool ok = false;
    const qint64 v = s.toLongLong(&ok);
    if (!ok || v > kMaxAmount || v < -kMaxAmount)
        return std::nullopt;
    return v;
}

qint64 parseAmount(const QString& text)
{
    return tryParseAmount(text).value_or(0);
}

namespace {

constexpr qint64 kAreaScale = 1000000;  // areas in millionths of a square metre

// The exact sum in whole rials, or nothing when an area is not a usable
// number.  128 bits hold any sum of 15-digit areas at the prices the money
// columns hold; a sum beyond even 128 bits (areas near 10^15 at prices near
// the qint64 limit) sets *overflow and gives nothing instead of wrapping.
std::optional<__int128> exactAreaAmount(std::initializer_list<AreaPrice> parts, bool* overflow = nullptr)
{
    if (overflow)
        *overflow = false;
    __int128 sum = 0;  // in millionths of a rial
    for (const AreaPrice& p : parts) {
        if (!std::isfinite(p.area) || std::fabs(p.area) >= 1e15)
            return std::nullopt;
        const __int128 scaled = static_cast<__int128>(std::roundl(static_cast<long double>(p.area) * kAreaScale));
        __int128 part = 0;
        if (__builtin_mul_overflow(scaled, static_cast<__int128>(p.perMetre), &part) ||
            __builtin_add_overflow(sum, part, &sum)) {
            if (overflow)
                *overflow = true;
            return std::nullopt;
        }
    }
    const __int128 whole = sum / kAreaScale, rest = sum % kAreaScale;
    if (2 * (rest < 0 ? -rest : rest) >= kAreaScale)
        return whole + (sum < 0 ? -1 : 1);
    return whole;
}

} // namespace

std::optional<qint64> areaAmount(std::initializer_list<AreaPrice> parts)
{
    const auto sum = exactAreaAmount(parts);
    if (!sum || *sum > std::numeric_limits<qint64>::max() || *sum < std::numeric_limits<qint64>::min())
        return std::nullopt;
    return qint64(*sum);
}

QString areaAmountText(std::initializer_list<AreaPrice> parts)
{
    bool overflow = false;
    const auto sum = exactAreaAmount(parts, &overflow);
    if (overflow) {
        // Beyond 128 bits: the nearest digits, still far too long for the save to take.
        long double approx = 0;
        for (const AreaPrice& p : parts)
            approx += static_cast<long double>(p.area) * p.perMetre;
        return QString::number(double(approx), 'f', 0);
    }
    if (!sum)
        return QStringLiteral("0");
    __int128 v = *sum < 0 ? -*sum : *sum;
    QString digits;
    do {
        digits.prepend(QChar(u'0' + int(v % 10)));
        v /= 10;
    } while (v > 0);
    return *sum < 0 ? QLatin1Char('-') + digits : digits;
}

std::optional<double> tryParseReal(const QString& text)
{
    QString s = toAsciiDigits(text).trimmed();
    s.replace(QChar(kArabicDecimalSeparator), QLatin1Char('.'));
    if (s.isEmpty())
        return 0.0;
    // Only plain decimals: no sign, exponent, blanks, "inf" or "nan".
    for (const QChar c : s)
        if (!isAsciiDigit(c) && c != QLatin1Char('.'))
            return std::nullopt;
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

TMonEdit::TMonEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setValidator(new RebuildValidator(groupAmount, this));
    layOutAsNumber(this);
}

TRealEdit::TRealEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setValidator(new RebuildValidator(keepRealChars, this));
    layOutAsNumber(this);
}

void TRealEdit::setValue(double v)
{
    setText(QString::number(v, 'f', QLocale::FloatingPointShortest));
}

} // namespace tavrin
