#include "phonebook.h"

#include "reftexts.h"

#include "db/database.h"

namespace tavrin {

QString normalisePhoneSearch(const QString& typed)
{
    QString t = typed;
    t.replace(reftext::kPersianKaf, reftext::kArabicKaf);
    return t;
}

ListQuery phoneQuery(PhoneColumn column, const QString& text)
{
    ListQuery q(QStringLiteral("select *"), QStringLiteral("from phone"));
    q.where(QStringLiteral("name<>?"), {QStringLiteral("")});
    switch (column) {
    case PhoneColumn::Name: q.like(QStringLiteral("name"), text); break;
    case PhoneColumn::Tel: q.like(QStringLiteral("tel"), text); break;
    case PhoneColumn::Cmt: q.like(QStringLiteral("cmt"), text); break;
    }
    q.orderBy(QStringLiteral("name"));
    return q;
}

PhoneInsert addPhone(const QString& name, const QString& tel, const QString& cmt, FieldRefusal* tooLong)
{
    if (name.trimmed().isEmpty())
        return PhoneInsert::EmptyName;
    if (const auto r = checkTextLengths(QStringLiteral("phone"), {{QStringLiteral("name"), name, reftext::kName},
                                                                  {QStringLiteral("tel"), tel, reftext::kTel},
                                                                  {QStringLiteral("cmt"), cmt, reftext::kSharh}})) {
        if (tooLong)
            *tooLong = *r;
        return PhoneInsert::TooLong;
    }
    Database& db = dm();
    Transaction tx(db);
    // Two users adding the same name: the second waits and sees the first's row.
    db.lockTable(QStringLiteral("phone"));
    if (db.firstRow(QStringLiteral("select id from phone where name=?"), {name}))
        return PhoneInsert::Duplicate;
    db.insert(QStringLiteral("phone"), {QStringLiteral("name"), QStringLiteral("tel"), QStringLiteral("cmt")},
              {name, tel.isNull() ? QStringLiteral("") : tel, cmt.isNull() ? QStringLiteral("") : cmt});
    tx.commit();
    return PhoneInsert::Inserted;
}

bool deletePhone(qint64 id)
{
    return dm().execAffected(QStringLiteral("delete from phone where id=?"), {id}) > 0;
}

} // namespace tavrin
