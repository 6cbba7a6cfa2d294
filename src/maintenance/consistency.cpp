#include "consistency.h"

#include "common/jalali.h"
#include "db/dialect.h"
#include "db/schema.h"

#include <QMap>
#include <QSqlQuery>

#include <functional>

namespace tavrin::maintenance {

namespace {

// The status a sale writes begins with this text (then the buyer's surname);
// a free unit, storage room or parking space carries the free status.
const QString kSoldPrefix = QStringLiteral(" فروخته شد ");
const QString kFree = QStringLiteral("فعال");

QString idText(const QList<qint64>& ids)
{
    QStringList parts;
    for (qint64 id : ids)
        parts << QString::number(id);
    return parts.join(QLatin1Char(','));
}

QString money(const QVariant& v)
{
    return QString::number(toMoney(v));
}

// A reference column as stored: "none" for NULL or an empty text.
QString refText(const QVariant& v, const QString& none)
{
    const QString t = text(v).trimmed();
    return t.isEmpty() ? none : t;
}

class Checker {
public:
    explicit Checker(Database& db) : m_db(db) {}

    QList<Finding> run()
    {
        units();
        spaces(QStringLiteral("anbariha"), QStringLiteral("anbari"), QStringLiteral("anbari_id"),
               QStringLiteral("storage room"), QStringLiteral("انباري"));
        spaces(QStringLiteral("parkingha"), QStringLiteral("parking"), QStringLiteral("parking_id"),
               QStringLiteral("parking space"), QStringLiteral("پارکينگ"));
        totals();
        orphans();
        dates();
        return m_out;
    }

private:
    void add(const QString& rule, const QString& table, const QList<qint64>& ids, const QString& plain,
             const QString& persian)
    {
        m_out.append({rule, table, ids, plain, persian});
    }

    void rows(const QString& sql, const QVariantList& values, const std::function<void(const QSqlQuery&)>& each)
    {
        QSqlQuery q = m_db.exec(sql, values);
        while (q.next())
            each(q);
    }

    QList<qint64> idsOf(const QString& sql, const QVariantList& values)
    {
        QList<qint64> ids;
        rows(sql, values, [&ids](const QSqlQuery& q) { ids << q.value(0).toLongLong(); });
        return ids;
    }

    QString sold(const QString& column) const { return m_db.dialect().likeCondition(column); }
    QVariant soldPattern() const { return QString(m_db.dialect().likeText(kSoldPrefix) + QLatin1Char('%')); }
    // A current holder: his transfer date is not set.
    static QString current(const QString& column) { return QStringLiteral("not (") + jalali::dateIsSet(column) + ')'; }

    // A sold unit has exactly one current holder (an applicant on it whose
    // transfer date is not set), and a current holder's unit is sold.
    void units()
    {
        rows(QStringLiteral("select id,n from (select v.id as id,(select count(*) from customers c where "
                            "c.vahed_id=v.id and ") +
                 current(QStringLiteral("c.transport_dat")) + QStringLiteral(") as n from vahedha v where ") +
                 sold(QStringLiteral("v.status")) + QStringLiteral(") x where n<>1 order by id"),
             {soldPattern()}, [this](const QSqlQuery& q) {
                 const qint64 id = q.value(0).toLongLong();
                 const int n = q.value(1).toInt();
                 if (n == 0) {
                     add(QStringLiteral("unit-holders"), QStringLiteral("vahedha"), {id},
                         QStringLiteral("unit is marked sold but has no current holder"),
                         QStringLiteral("واحد فروخته شده ثبت شده ولي متقاضي فعلي ندارد"));
                     return;
                 }
                 const QString holders = idText(idsOf(
                     QStringLiteral("select id from customers where vahed_id=? and ") +
                         current(QStringLiteral("transport_dat")) + QStringLiteral(" order by id"),
                     {id}));
                 add(QStringLiteral("unit-holders"), QStringLiteral("vahedha"), {id},
                     QStringLiteral("unit is marked sold but has %1 current holders (customers %2)").arg(n).arg(holders),
                     QStringLiteral("واحد فروخته شده %1 متقاضي فعلي دارد (متقاضيان %2)").arg(n).arg(holders));
             });
        // A unit not marked sold (free, reserved, ...) has at most one current holder too.
        rows(QStringLiteral("select id,n from (select v.id as id,(select count(*) from customers c where "
                            "c.vahed_id=v.id and ") +
                 current(QStringLiteral("c.transport_dat")) + QStringLiteral(") as n from vahedha v where not (") +
                 sold(QStringLiteral("coalesce(v.status,'')")) + QStringLiteral(")) x where n>1 order by id"),
             {soldPattern()}, [this](const QSqlQuery& q) {
                 const qint64 id = q.value(0).toLongLong();
                 const int n = q.value(1).toInt();
                 const QString holders = idText(idsOf(QStringLiteral("select id from customers where vahed_id=? and ") +
                                                          current(QStringLiteral("transport_dat")) + QStringLiteral(" order by id"),
                                                      {id}));
                 add(QStringLiteral("unit-holders"), QStringLiteral("vahedha"), {id},
                     QStringLiteral("unit has %1 current holders (customers %2)").arg(n).arg(holders),
                     QStringLiteral("واحد %1 متقاضي فعلي دارد (متقاضيان %2)").arg(n).arg(holders));
             });
        rows(QStringLiteral("select c.id,c.vahed_id from customers c join vahedha v on v.id=c.vahed_id where ") +
                 current(QStringLiteral("c.transport_dat")) + QStringLiteral(" and v.status=? order by c.id"),
             {kFree}, [this](const QSqlQuery& q) {
                 const QString unit = text(q.value(1));
                 add(QStringLiteral("holder-unit-free"), QStringLiteral("customers"), {q.value(0).toLongLong()},
                     QStringLiteral("current holder of unit %1, which is marked free").arg(unit),
                     QStringLiteral("متقاضي فعلي واحد %1 است ولي وضعيت آن واحد فعال (آزاد) است").arg(unit));
             });
        rows(QStringLiteral("select c.id,c.vahed_id from customers c where ") + current(QStringLiteral("c.transport_dat")) +
                 QStringLiteral(" and c.vahed_id>0 and not exists (select 1 from vahedha v where v.id=c.vahed_id) "
                                "order by c.id"),
             {}, [this](const QSqlQuery& q) {
                 const QString unit = text(q.value(1));
                 add(QStringLiteral("holder-unit-gone"), QStringLiteral("customers"), {q.value(0).toLongLong()},
                     QStringLiteral("current holder of unit %1, which no longer exists").arg(unit),
                     QStringLiteral("متقاضي فعلي واحد %1 است ولي آن واحد ديگر وجود ندارد").arg(unit));
             });
    }

    // A sold storage room or parking space has its assignment row (the sale
    // marks every space of the project with the same block and number, so an
    // assignment of any of them counts); no space is assigned twice; an
    // assignment names a space that exists.
    void spaces(const QString& items, const QString& assign, const QString& assignId, const QString& plainName,
                const QString& persianName)
    {
        const QString rule = assign + QStringLiteral("-sold");
        rows(QStringLiteral("select s.id from ") + items + QStringLiteral(" s where ") + sold(QStringLiteral("s.status")) +
                 QStringLiteral(" and not exists (select 1 from ") + assign + QStringLiteral(" a where a.") + assignId +
                 QStringLiteral("=s.id or (a.prj_id=s.prj_id and a.bolok=s.bolok and a.num=s.num)) order by s.id"),
             {soldPattern()}, [&](const QSqlQuery& q) {
                 add(rule, items, {q.value(0).toLongLong()},
                     plainName + QStringLiteral(" is marked sold but has no assignment row in ") + assign,
                     persianName + QStringLiteral(" فروخته شده ثبت شده ولي به هيچ متقاضي واگذار نشده است"));
             });
        const QList<qint64> twice = idsOf(QStringLiteral("select ") + assignId + QStringLiteral(" from ") + assign +
                                              QStringLiteral(" where ") + assignId + QStringLiteral(">0 group by ") +
                                              assignId + QStringLiteral(" having count(*)>1 order by ") + assignId,
                                          {});
        for (qint64 space : twice) {
            const QList<qint64> ids = idsOf(QStringLiteral("select id from ") + assign + QStringLiteral(" where ") +
                                                assignId + QStringLiteral("=? order by id"),
                                            {space});
            add(assign + QStringLiteral("-twice"), assign, ids,
                QStringLiteral("%1 %2 is assigned %3 times").arg(plainName).arg(space).arg(ids.size()),
                QStringLiteral("%1 %2 بيش از يک بار (%3 بار) واگذار شده است").arg(persianName).arg(space).arg(ids.size()));
        }
        rows(QStringLiteral("select a.id,a.") + assignId + QStringLiteral(" from ") + assign + QStringLiteral(" a where a.") +
                 assignId + QStringLiteral(">0 and not exists (select 1 from ") + items + QStringLiteral(" s where s.id=a.") +
                 assignId + QStringLiteral(") order by a.id"),
             {}, [&](const QSqlQuery& q) {
                 const QString space = text(q.value(1));
                 add(assign + QStringLiteral("-space-gone"), assign, {q.value(0).toLongLong()},
                     QStringLiteral("assignment of %1 %2, which no longer exists in %3").arg(plainName, space, items),
                     QStringLiteral("واگذاري %1 %2 که ديگر وجود ندارد").arg(persianName, space));
             });
    }

    // Totals kept beside their rows: an applicant's collected total (and no
    // payment of his held twice), a unit's loans, its holder's copy of them,
    // and a facility's received amount that the loans given from it never
    // exceed.
    void totals()
    {
        const QString paid = QStringLiteral("(select coalesce(sum(p.vosol),0) from pardakht p where p.customer_id=c.id)");
        rows(QStringLiteral("select c.id,c.pardakht_sum,") + paid + QStringLiteral(" from customers c where "
                                                                                    "coalesce(c.pardakht_sum,0)<>") +
                 paid + QStringLiteral(" order by c.id"),
             {}, [this](const QSqlQuery& q) {
                 const QString stored = money(q.value(1)), sum = money(q.value(2));
                 add(QStringLiteral("pardakht-sum"), QStringLiteral("customers"), {q.value(0).toLongLong()},
                     QStringLiteral("pardakht_sum is %1 but the collected payments add up to %2").arg(stored, sum),
                     QStringLiteral("جمع پرداخت ها %1 ثبت شده ولي جمع مبالغ وصول شده %2 است").arg(stored, sum));
             });
        // A payment is held once: a second payment of the applicant with the same
        // kind, amount, number and date is one the payment window refuses and the
        // copy of pre-registration deposits skips (a deposit copied twice).
        const QString same = QStringLiteral("from pardakht q where q.customer_id=p.customer_id and q.id<p.id and "
                                            "coalesce(q.pardakht_typ,'')=coalesce(p.pardakht_typ,'') and "
                                            "coalesce(q.mablagh,0)=coalesce(p.mablagh,0) and coalesce(q.num,'')=coalesce(p.num,'') "
                                            "and coalesce(q.dat,'')=coalesce(p.dat,'')");
        rows(QStringLiteral("select p.id,p.customer_id,(select min(q.id) ") + same + QStringLiteral(") from pardakht p where exists (select 1 ") +
                 same + QStringLiteral(") order by p.id"),
             {}, [this](const QSqlQuery& q) {
                 const QString customer = text(q.value(1)), first = text(q.value(2));
                 add(QStringLiteral("pardakht-twice"), QStringLiteral("pardakht"), {q.value(2).toLongLong(), q.value(0).toLongLong()},
                     QStringLiteral("payment of customer %1 repeats payment %2 (same kind, amount, number and date)").arg(customer, first),
                     QStringLiteral("پرداخت متقاضي %1 با همان نوع، مبلغ، شماره و تاريخ پرداخت %2 دوباره ثبت شده است").arg(customer, first));
             });
        const QString loans = QStringLiteral("(select coalesce(sum(l.mablagh),0) from vahed_vam l where l.vahed_id=v.id)");
        rows(QStringLiteral("select v.id,v.vam,") + loans + QStringLiteral(" from vahedha v where coalesce(v.vam,0)<>") +
                 loans + QStringLiteral(" order by v.id"),
             {}, [this](const QSqlQuery& q) {
                 const QString stored = money(q.value(1)), sum = money(q.value(2));
                 add(QStringLiteral("unit-vam"), QStringLiteral("vahedha"), {q.value(0).toLongLong()},
                     QStringLiteral("vam is %1 but the unit's loans add up to %2").arg(stored, sum),
                     QStringLiteral("ميزان وام واحد %1 ثبت شده ولي جمع وام هاي آن %2 است").arg(stored, sum));
             });
        rows(QStringLiteral("select c.id,c.vam,v.id,v.vam from customers c join vahedha v on v.id=c.vahed_id where ") +
                 current(QStringLiteral("c.transport_dat")) +
                 QStringLiteral(" and coalesce(c.vam,0)<>coalesce(v.vam,0) order by c.id"),
             {}, [this](const QSqlQuery& q) {
                 const QString stored = money(q.value(1)), unit = text(q.value(2)), unitVam = money(q.value(3));
                 add(QStringLiteral("holder-vam"), QStringLiteral("customers"), {q.value(0).toLongLong()},
                     QStringLiteral("vam is %1 but that of the held unit %2 is %3").arg(stored, unit, unitVam),
                     QStringLiteral("ميزان وام متقاضي %1 است ولي وام واحد %2 او %3 است").arg(stored, unit, unitVam));
             });
        const QString given = QStringLiteral("(select coalesce(sum(l.mablagh),0) from vahed_vam l where l.tashilat_id=t.id)");
        rows(QStringLiteral("select t.id,t.daryafti,") + given + QStringLiteral(" from tashilat t where ") + given +
                 QStringLiteral(">coalesce(t.daryafti,0) order by t.id"),
             {}, [this](const QSqlQuery& q) {
                 const QString received = money(q.value(1)), sum = money(q.value(2));
                 add(QStringLiteral("facility-over"), QStringLiteral("tashilat"), {q.value(0).toLongLong()},
                     QStringLiteral("loans given add up to %1, more than the received amount %2").arg(sum, received),
                     QStringLiteral("جمع وام هاي داده شده %1 بيش از مبلغ دريافتي %2 است").arg(sum, received));
             });
    }

    struct Child {
        const char* table;
        const char* column;
        const char* parent;
        const char* plain;      // the child row, then its parent, in plain words
        const char* plainParent;
        const char16_t* persian;
        const char16_t* persianParent;
        bool zeroIsNone = false;  // 0 (or NULL) names no parent: the row needs none
    };

    // Rows that belong to a parent row (an applicant, a unit, a facility, a
    // pre-registration, a user) that no longer exists.
    void orphans()
    {
        static const Child children[] = {
            {"pardakht", "customer_id", "customers", "payment", "applicant", u"پرداخت", u"متقاضي"},
            {"shoraka", "customer_id", "customers", "partner", "applicant", u"شريک", u"متقاضي"},
            {"takafol", "customer_id", "customers", "dependant", "applicant", u"فرد تحت تکفل", u"متقاضي"},
            {"takafol", "shoraka_id", "shoraka", "dependant", "partner", u"فرد تحت تکفل", u"شريک", true},
            {"anbari", "customer_id", "customers", "storage room assignment", "applicant", u"واگذاري انباري", u"متقاضي"},
            {"parking", "customer_id", "customers", "parking space assignment", "applicant", u"واگذاري پارکينگ", u"متقاضي"},
            {"customers_pic", "customer_id", "customers", "document", "applicant", u"مدرک پرونده الکترونيک", u"متقاضي"},
            {"savabegh", "cust_id", "customers", "file checklist row", "applicant", u"رديف مدارک پرونده", u"متقاضي"},
            {"vahed_vam", "vahed_id", "vahedha", "unit loan", "unit", u"وام واحد", u"واحد"},
            {"vahed_vam", "tashilat_id", "tashilat", "unit loan", "facility", u"وام واحد", u"تسهيلات", true},
            {"pishpardakht", "pishsabt_id", "pishsabt", "deposit", "pre-registration", u"پيش پرداخت", u"پيش ثبت نام"},
            {"dastrasi", "prs_id", "users", "rights row", "user", u"رديف دسترسي", u"کاربر"},
        };
        for (const Child& c : children) {
            const QString table = QString::fromLatin1(c.table), column = QString::fromLatin1(c.column),
                          parent = QString::fromLatin1(c.parent);
            const QString plain = QString::fromLatin1(c.plain), plainParent = QString::fromLatin1(c.plainParent);
            const QString persian = QString::fromUtf16(c.persian), persianParent = QString::fromUtf16(c.persianParent);
            rows(QStringLiteral("select x.id,x.") + column + QStringLiteral(" from ") + table +
                     QStringLiteral(" x where ") +
                     (c.zeroIsNone ? QStringLiteral("coalesce(x.") + column + QStringLiteral(",0)<>0 and ") : QString()) +
                     QStringLiteral("not exists (select 1 from ") + parent + QStringLiteral(" p where p.id=x.") +
                     column + QStringLiteral(") order by x.id"),
                 {}, [&](const QSqlQuery& q) {
                     add(QStringLiteral("orphan:") + table + QLatin1Char('.') + column, table, {q.value(0).toLongLong()},
                         QStringLiteral("%1 of %2 %3 (%4.%5), which no longer exists")
                             .arg(plain, plainParent, refText(q.value(1), QStringLiteral("none")), table, column),
                         QStringLiteral("%1 مربوط به %2 %3 است که ديگر وجود ندارد")
                             .arg(persian, persianParent, refText(q.value(1), QStringLiteral("(خالي)"))));
                 });
        }
        // Granted counties have no id of their own: the finding names the user.
        rows(QStringLiteral("select x.user_id,x.cmt from dastrasi2 x where not exists (select 1 from users p where "
                            "p.id=x.user_id) order by x.user_id,x.cmt"),
             {}, [this](const QSqlQuery& q) {
                 const QString county = text(q.value(1));
                 add(QStringLiteral("orphan:dastrasi2.user_id"), QStringLiteral("dastrasi2"), {q.value(0).toLongLong()},
                     QStringLiteral("county \"%1\" granted to user %2 (user_id), who no longer exists")
                         .arg(county, refText(q.value(0), QStringLiteral("none"))),
                     QStringLiteral("شهرستان «%1» به کاربر %2 داده شده که ديگر وجود ندارد")
                         .arg(county, refText(q.value(0), QStringLiteral("(خالي)"))));
             });
    }

    // A stored date is a whole valid date or no date (the empty date mask, '',
    // NULL, "//", blanks): every column the schema marks as a date.  One
    // statement reads each column's distinct set values; jalali::isValidDate,
    // the rule of every save, judges them; the rows holding a value that is
    // neither are then read by value.
    void dates()
    {
        struct DateColumn {
            QString table, column, key;  // key: the row's id, or the table's first column where it has none
        };
        QList<DateColumn> columns;
        QStringList parts;
        for (const TableDef& t : schema().tables) {
            const QString key = t.column(QStringLiteral("id")) ? QStringLiteral("id") : t.columns.first().name;
            for (const QString& c : t.dateColumns()) {
                parts << QStringLiteral("select %1 as k,%2 as v from %3 where %4 group by %2")
                             .arg(columns.size())
                             .arg(c, t.name, jalali::dateIsSet(c));
                columns.append({t.name, c, key});
            }
        }
        if (parts.isEmpty())
            return;
        QMap<int, QStringList> bad;
        rows(parts.join(QStringLiteral(" union all ")) + QStringLiteral(" order by 1,2"), {}, [&bad](const QSqlQuery& q) {
            const QString value = text(q.value(1));
            if (!jalali::isValidDate(value))
                bad[q.value(0).toInt()] << value;
        });
        constexpr int kChunk = 100;
        for (auto it = bad.cbegin(); it != bad.cend(); ++it) {
            const DateColumn& c = columns.at(it.key());
            for (int from = 0; from < it->size(); from += kChunk) {
                const QStringList values = it->mid(from, kChunk);
                QVariantList bound;
                for (const QString& v : values)
                    bound << v;
                const QString marks = QStringList(values.size(), QStringLiteral("?")).join(QLatin1Char(','));
                rows(QStringLiteral("select %1,%2 from %3 where %2 in (%4) order by %1").arg(c.key, c.column, c.table, marks),
                     bound, [&](const QSqlQuery& q) {
                         const QString value = text(q.value(1));
                         add(QStringLiteral("date:") + c.table + QLatin1Char('.') + c.column, c.table,
                             {q.value(0).toLongLong()},
                             QStringLiteral("%1 holds \"%2\", which is neither a date (yyyy/mm/dd) nor empty")
                                 .arg(c.column, value),
                             QStringLiteral("ستون %1 مقدار «%2» دارد که نه تاريخ معتبر است و نه خالي").arg(c.column, value));
                     });
            }
        }
    }

    Database& m_db;
    QList<Finding> m_out;
};

} // namespace

QString Finding::plainLine() const
{
    return table + QLatin1Char(' ') + idText(ids) + QStringLiteral(": ") + plain;
}

QString Finding::persianLine() const
{
    return QStringLiteral("جدول ") + table + QStringLiteral(" شناسه ") + idText(ids) + QStringLiteral(": ") + persian;
}

QList<Finding> checkConsistency(Database& db)
{
    // One reading of the whole database: on the servers a repeatable-read
    // snapshot, on SQLite the transaction's lock; nothing is written, and the
    // transaction is rolled back when it goes out of scope.
    Transaction tx(db);
    if (db.backend() == Backend::PostgreSQL && db.transactionDepth() == 1)
        db.exec(QStringLiteral("set transaction isolation level repeatable read"));
    return Checker(db).run();
}

} // namespace tavrin::maintenance
