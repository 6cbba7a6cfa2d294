#include "rights.h"

#include "dialogs.h"
#include "session.h"

#include "db/database.h"

namespace tavrin {

std::optional<Rights> readRights(qint64 prsId, const QString& pageKey)
{
    const auto row = dm().firstRow(QStringLiteral("select darj,virayesh,hazf,namayesh from dastrasi where prs_id=? and page_name=?"),
                                   {prsId, pageKey});
    if (!row)
        return std::nullopt;
    Rights r;
    r.darj = row->value(0).toBool();
    r.virayesh = row->value(1).toBool();
    r.hazf = row->value(2).toBool();
    r.namayesh = row->value(3).toBool();
    return r;
}

std::optional<Rights> readRights(const QString& pageKey)
{
    return readRights(session().prsId, pageKey);
}

QString noAccessMessage()
{
    return QStringLiteral("شما دسترسي به اين صفحه را نداريد");
}

std::optional<Rights> pageRights(const QString& pageKey, const std::function<void(const Rights&)>& apply,
                                 const QString& readFailed)
{
    std::optional<Rights> r;
    try {
        r = readRights(pageKey);
    } catch (const DbError& e) {
        reportFailure(readFailed, e);
        return std::nullopt;
    }
    if (!r) {
        dialogs().warning(noAccessMessage());
        return std::nullopt;
    }
    if (apply)
        apply(*r);
    if (!r->namayesh) {
        dialogs().warning(noAccessMessage());
        return std::nullopt;
    }
    return r;
}

} // namespace tavrin
