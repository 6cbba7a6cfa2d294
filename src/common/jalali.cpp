#include "jalali.h"

#include "nationcode.h"

#include "db/schema.h"

#include <QCalendar>

namespace tavrin::jalali {

QString fromGregorian(const QDate& date)
{
    if (!date.isValid())
        return {};
    static const QCalendar cal(QCalendar::System::Jalali);
    return date.toString(QStringLiteral("yyyy/MM/dd"), cal);
}

QString fromGregorian(int year, int month, int day)
{
    return fromGregorian(QDate(year, month, day));
}

QString today()
{
    return fromGregorian(QDate::currentDate());
}

QString fromIsoText(const QString& isoDate)
{
    // "yyyy-mm-dd", possibly followed by a time: anything else (a Jalali text
    // "1403/01/01" given by mistake) is not read as a Gregorian date.
    const QString t = isoDate.trimmed();
    if (t.size() < 10 || t[4] != u'-' || t[7] != u'-')
        return {};
    for (const int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (t[i] < u'0' || t[i] > u'9')
            return {};
    return fromGregorian(t.left(4).toInt(), t.mid(5, 2).toInt(), t.mid(8, 2).toInt());
}

bool isEmptyDate(const QString& text)
{
    QString t = text;
    t.remove('/');
    return t.trimmed().isEmpty();
}

bool isValidDate(const QString& text)
{
    if (text.size() != 10 || text[4] != u'/' || text[7] != u'/' || text[0] == u'0')
        return false;
    for (const int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < u'0' || text[i] > u'9')
            return false;
    static const QCalendar cal(QCalendar::System::Jalali);
    return QDate(text.left(4).toInt(), text.mid(5, 2).toInt(), text.mid(8, 2).toInt(), cal).isValid();
}

std::optional<QString> wholeDate(const QString& typed)
{
    const QString t = toAsciiDigits(typed).trimmed();
    if (!isValidDate(t))
        return std::nullopt;
    return t;
}

std::optional<QString> fieldDate(const QString& typed)
{
    if (isEmptyDate(typed))
        return QString::fromLatin1(kEmptyDateMask);
    return wholeDate(typed);
}

QString invalidDateMessage(const QString& caption)
{
    return QStringLiteral("خطا! ") + caption.trimmed() + QStringLiteral(" معتبر نيست");
}

QString dateIsSet(const QString& column)
{
    return QStringLiteral("coalesce(ltrim(rtrim(replace(") + column + QStringLiteral(",'/',''))),'')<>''");
}

} // namespace tavrin::jalali
