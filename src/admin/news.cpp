#include "news.h"

#include "commtexts.h"
#include "messages.h"

#include "common/fieldcheck.h"
#include "common/jalali.h"
#include "db/database.h"

namespace tavrin::news {

const QString kDateIncomplete = QStringLiteral("تاريخ را کامل وارد نماييد");
const QString kNeedTitle = QStringLiteral("موضوع را وارد نماييد");
const QString kItemMissing = QStringLiteral("اين تازه در سامانه وجود ندارد");
const QString kSaveFailed = QStringLiteral("خطا در ثبت تازه");
const QString kDeleteFailed = QStringLiteral("خطا در حذف تازه");
const QString kSearchFailed = QStringLiteral("خطا در جستجوي تازه ها");

namespace {
const QString kEmpty = QStringLiteral("");

QString notNull(const QString& s)
{
    return s.isNull() ? kEmpty : s;
}
} // namespace

ListQuery listQuery(const std::optional<std::pair<QString, QString>>& dates)
{
    ListQuery q(QStringLiteral("select id,dat,mozo"), QStringLiteral("from tazeha"));
    if (dates)
        q.where(QStringLiteral("dat>=? and dat<=?"), {dates->first, dates->second});
    q.orderBy(QStringLiteral("dat desc"));
    return q;
}

QString refuse(const Item& item, QString* field)
{
    const auto fail = [field](const char* f, const QString& message) {
        if (field)
            *field = QString::fromLatin1(f);
        return message;
    };
    if (!jalali::wholeDate(item.dat))
        return fail("dat", kDateIncomplete);
    if (item.mozo.trimmed().isEmpty())
        return fail("mozo", kNeedTitle);
    if (const auto tooLong = checkTextLengths(QStringLiteral("tazeha"), {{QStringLiteral("mozo"), item.mozo, commtext::kMozo}}))
        return fail("mozo", tooLong->message);
    return {};
}

qint64 insertItem(const Item& item)
{
    return dm().insert(QStringLiteral("tazeha"), {QStringLiteral("dat"), QStringLiteral("mozo"), QStringLiteral("msg")},
                       {*jalali::wholeDate(item.dat), notNull(item.mozo), messages::encodeBody(item.msg)});
}

bool updateItem(qint64 id, const Item& item)
{
    return dm().execAffected(QStringLiteral("update tazeha set dat=?,mozo=?,msg=? where id=?"),
                             {*jalali::wholeDate(item.dat), notNull(item.mozo), messages::encodeBody(item.msg), id}) > 0;
}

bool deleteItem(qint64 id)
{
    return dm().execAffected(QStringLiteral("delete from tazeha where id=?"), {id}) > 0;
}

std::optional<Item> readItem(qint64 id)
{
    const auto row = dm().firstRow(QStringLiteral("select dat,mozo,msg from tazeha where id=?"), {id});
    if (!row)
        return std::nullopt;
    return Item{text(row->value(0)), text(row->value(1)), messages::decodeBody(row->value(2))};
}

void dismiss(qint64 prsId, const QString& today)
{
    Database& db = dm();
    Transaction tx(db);
    db.exec(QStringLiteral("delete from tazeha_readed where prs_id=?"), {prsId});
    db.exec(QStringLiteral("insert into tazeha_readed (prs_id,dat) values (?,?)"), {prsId, today});
    tx.commit();
}

QString unseenQuery()
{
    // (dismissing keeps one row per user; without one, or with an empty date,
    // every dated item is unseen)
    return QStringLiteral("select case when exists (select 1 from tazeha where dat>"
                          "coalesce((select min(dat) from tazeha_readed where prs_id=?),'')) then 1 else 0 end");
}

bool hasUnseen(qint64 prsId)
{
    return dm().scalar(unseenQuery(), {prsId}).toInt() == 1;
}

} // namespace tavrin::news
