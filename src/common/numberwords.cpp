#include "numberwords.h"

#include "dialogs.h"

namespace tavrin::words {

namespace {

const QString kZero = QStringLiteral("صفر");
const QString kJoiner = QStringLiteral(" و ");

// Index 0 is unused: a zero digit contributes no word inside a group.
const QString kUnits[10] = {
    QString(),
    QStringLiteral("يک"), QStringLiteral("دو"), QStringLiteral("سه"),
    QStringLiteral("چهار"), QStringLiteral("پنج"), QStringLiteral("شش"),
    QStringLiteral("هفت"), QStringLiteral("هشت"), QStringLiteral("نه"),
};
const QString kTens[10] = {
    QString(), QString(),
    QStringLiteral("بيست"), QStringLiteral("سي"), QStringLiteral("چهل"),
    QStringLiteral("پنجاه"), QStringLiteral("شصت"), QStringLiteral("هفتاد"),
    QStringLiteral("هشتاد"), QStringLiteral("نود"),
};
const QString kTeens[10] = {
    QStringLiteral("ده"), QStringLiteral("يازده"), QStringLiteral("دوازده"),
    QStringLiteral("سيزده"), QStringLiteral("چهارده"), QStringLiteral("پانزده"),
    QStringLiteral("شانزده"), QStringLiteral("هفده"), QStringLiteral("هجده"),
    QStringLiteral("نوزده"),
};
const QString kHundreds[10] = {
    QString(),
    QStringLiteral("يکصد"), QStringLiteral("دويست"), QStringLiteral("سيصد"),
    QStringLiteral("چهارصد"), QStringLiteral("پانصد"), QStringLiteral("ششصد"),
    QStringLiteral("هفتصد"), QStringLiteral("هشتصد"), QStringLiteral("نهصد"),
};
// By the position of a group counted from the right; the units group has none.
const QString kScales[5] = {
    QString(),
    QStringLiteral("هزار"), QStringLiteral("ميليون"), QStringLiteral("ميليارد"),
    QStringLiteral("تريليون"),
};
constexpr int kMaxDigits = 15;

// Drops the trailing joiner (or whatever the last three characters are).
void chopJoiner(QString& s)
{
    s.chop(qMin<qsizetype>(kJoiner.size(), s.size()));
}

bool isPlainDigits(const QString& s)
{
    if (s.isEmpty())
        return false;
    for (const QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

QString groupWords(int n)
{
    if (n < 1 || n > 999)
        return {};
    const int h = n / 100;
    const int r = n % 100;
    QString s;
    if (h > 0)
        s += kHundreds[h] + kJoiner;
    if (r >= 10 && r <= 19)
        return s + kTeens[r - 10];
    if (r / 10 > 0)
        s += kTens[r / 10] + kJoiner;
    if (r % 10 > 0)
        s += kUnits[r % 10] + kJoiner;
    chopJoiner(s);
    return s;
}

std::optional<QString> toWords(const QString& digits)
{
    if (!isPlainDigits(digits) || digits.size() > kMaxDigits)
        return std::nullopt;
    if (digits == QLatin1String("0"))
        return kZero;

    const qsizetype padded = (digits.size() + 2) / 3 * 3;
    const QString s = QString(padded - digits.size(), QLatin1Char('0')) + digits;
    const qsizetype groups = padded / 3;
    QString out;
    for (qsizetype b = 0; b < groups; ++b) {
        const int c = s.mid(b * 3, 3).toInt();
        if (c == 0)
            continue;
        out += groupWords(c) + QLatin1Char(' ') + kScales[groups - 1 - b] + kJoiner;
    }
    chopJoiner(out);
    return out;
}

QString amountInWords(const QString& digits)
{
    if (auto w = toWords(digits))
        return *w;
    const std::optional<QString> typed =
        dialogs().input(QStringLiteral("Mablagh Horofi"), QStringLiteral("مبلغ را بحروف وارد نماييد"), digits);
    return typed.value_or(digits);
}

} // namespace tavrin::words
