#include "item_rules.h"

#include "common/deletepassword.h"
#include "common/lookups.h"
#include "common/stale.h"
#include "db/database.h"
#include "db/locks.h"

namespace tavrin::items {

std::optional<QSqlRecord> lockProject(qint64 projectId)
{
    return locks::lockAndRead(locks::Row::Project, projectId);
}

bool askDeletePassword()
{
    return tavrin::askDeletePassword(QStringLiteral("لطفا رمز حذف را وارد نماييد:"));
}

QString fieldValue(const QSqlRecord& r, const char* name)
{
    return text(r.value(QString::fromLatin1(name)));
}

QString numberValue(const QSqlRecord& r, const char* name)
{
    return numberText(r.value(QString::fromLatin1(name)));
}

QString numberText(const QVariant& v)
{
    if (v.isNull())
        return QStringLiteral("0");
    bool ok = false;
    const double d = v.toString().toDouble(&ok);
    if (!ok)
        return v.toString();
    QString s = QString::number(d, 'f', 4);
    while (s.contains(QLatin1Char('.')) && (s.endsWith(QLatin1Char('0')) || s.endsWith(QLatin1Char('.'))))
        s.chop(1);
    return s;
}

QString soldStatus(const QString& lname)
{
    return QStringLiteral(" فروخته شد ") + lname;
}

QString freeStatus()
{
    return QStringLiteral("فعال");
}

QStringList changedSinceRead(const QSqlRecord& read, const QSqlRecord& now, const QStringList& columns)
{
    QStringList changed = changedColumns(read, now, columns);
    const QString status = QStringLiteral("status");
    if (changed.contains(status) && text(read.value(status)) == freeStatus() &&
        text(now.value(status)).startsWith(soldStatus(QString())))
        changed.removeAll(status);
    return changed;
}

qint64 recordId(const QSqlRecord& r)
{
    return r.value(QStringLiteral("id")).toLongLong();
}

} // namespace tavrin::items
