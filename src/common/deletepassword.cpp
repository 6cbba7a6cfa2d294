#include "deletepassword.h"

#include "dialogs.h"
#include "lookups.h"

#include "db/database.h"

namespace tavrin {

bool askDeletePassword(const QString& prompt)
{
    QString stored;
    try {
        stored = settingValue(QStringLiteral("رمز حذف"));
    } catch (const DbError& e) {
        reportFailure(QStringLiteral("خطا! رمز حذف از تنظيمات خوانده نشد"), e);
        return false;
    }
    const auto answer = dialogs().password(QStringLiteral("Delete Password"), prompt);
    return answer && !stored.isEmpty() && *answer == stored;
}

} // namespace tavrin
