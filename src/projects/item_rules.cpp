#include "item_rules.h"

#include "common/lookups.h"
#include "db/database.h"

namespace tavrin::items {

QStringList ActionResult::texts() const
{
    QStringList out;
    for (const Note& n : notes)
        out << n.text;
    return out;
}

void ActionResult::show() const
{
    for (const Note& n : notes)
        dialogs().message(n.kind, n.text);
}

std::optional<QSqlRecord> lockProject(qint64 projectId)
{
    if (dm().execAffected(QStringLiteral("update projects set vahed_kol=vahed_kol where id=?"), {projectId}) != 1)
        return std::nullopt;
    return dm().firstRow(QStringLiteral("select * from projects where id=?"), {projectId});
}

bool askDeletePassword()
{
    QString expected;
    try {
        expected = settingValue(QStringLiteral("رمز حذف"));
    } catch (const DbError& e) {
        reportFailure(QStringLiteral("خطا! رمز حذف از تنظيمات خوانده نشد"), e);
        return false;
    }
    const auto answer = dialogs().input(QStringLiteral("Delete Password"), QStringLiteral("لطفا رمز حذف را وارد نماييد:"), QStringLiteral("?"));
    return answer && *answer == expected;
}

QString soldStatus(const QString& lname)
{
    return QStringLiteral(" فروخته شد ") + lname;
}

QString freeStatus()
{
    return QStringLiteral("فعال");
}

qint64 recordId(const QSqlRecord& r)
{
    return r.value(QStringLiteral("id")).toLongLong();
}

} // namespace tavrin::items
