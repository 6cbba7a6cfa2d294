#include "jalali.h"

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
    const QString t = isoDate.trimmed();
    if (t.size() < 10)
        return {};
    return fromGregorian(t.left(4).toInt(), t.mid(5, 2).toInt(), t.mid(8, 2).toInt());
}

bool isEmptyDate(const QString& text)
{
    QString t = text;
    t.remove('/');
    return t.trimmed().isEmpty();
}

} // namespace tavrin::jalali
