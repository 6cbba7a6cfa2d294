#include "common/stale.h"

#include "common/dialogs.h"

#include <QSqlField>

namespace tavrin {

namespace {

bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a.toString() == b.toString();
}

} // namespace

QStringList changedColumns(const QSqlRecord& read, const QSqlRecord& now, const QStringList& columns)
{
    QStringList names = columns;
    if (names.isEmpty())
        for (int i = 0; i < read.count(); ++i)
            names << read.fieldName(i);
    QStringList out;
    for (const QString& c : names) {
        const int at = now.indexOf(c);
        const int was = read.indexOf(c);
        if (at < 0 || was < 0)
            continue;
        if (!sameValue(read.value(was), now.value(at)))
            out << c;
    }
    return out;
}

QString changedByOtherMessage(const QString& recordName)
{
    return QStringLiteral("خطا! اين ") + recordName +
           QStringLiteral(" پس از باز شدن اين پنجره توسط کاربر ديگري تغيير کرده است و ذخيره نشد");
}

bool offerReload(const QString& message)
{
    return dialogs().question(message + QStringLiteral("\nآيا اطلاعات فعلي آن خوانده شود؟"), Buttons::YesNo,
                              MsgKind::Warning, {}) == Answer::Yes;
}

} // namespace tavrin
