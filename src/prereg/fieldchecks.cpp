#include "prereg/fieldchecks.h"

#include "common/jalali.h"
#include "common/nationcode.h"
#include "db/database.h"
#include "db/schema.h"

#include <QCalendar>
#include <QDate>
#include <QRegularExpression>

namespace tavrin::prereg {

std::optional<QString> dateValue(const QString& text)
{
    if (jalali::isEmptyDate(text))
        return QString::fromLatin1(kEmptyDateMask);
    static const QRegularExpression re(QStringLiteral("^([0-9]{4})/([0-9]{2})/([0-9]{2})$"));
    const auto m = re.match(toAsciiDigits(text).trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                  QCalendar(QCalendar::System::Jalali));
    if (!d.isValid())
        return std::nullopt;
    return m.captured(0);
}

QString badDateMessage(const QString& caption)
{
    return QStringLiteral("خطا! ") + caption + QStringLiteral(" معتبر نيست");
}

void lockPersons()
{
    const QString lock = dm().dialect().lockTableStatement(QStringLiteral("pishsabt"));
    if (!lock.isEmpty())
        dm().exec(lock);
}

} // namespace tavrin::prereg
