#pragma once
// Random projects with everything the reports count (facilities, unit loans,
// units, storage rooms, parking spaces, applicants and their payments,
// storage and parking assignments, pre-registrations), inserted directly, and
// the reports' per-project algorithm kept as an oracle for the set-based builds.
#include "support/testsupport.h"

#include "reports/report_build.h"
#include "reports/report_texts.h"

#include "common/jalali.h"
#include "common/listquery.h"
#include "db/database.h"
#include "db/schema.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace tavrin::test {

// Rows of one table sent many to a statement (large fixtures).
class BulkInsert {
public:
    BulkInsert(QString table, QStringList columns, int rowsPerStatement = 200)
        : m_table(std::move(table)), m_columns(std::move(columns)), m_per(rowsPerStatement) {}
    ~BulkInsert() { flush(); }
    void add(const QVariantList& row)
    {
        m_values << row;
        if (++m_rows == m_per)
            flush();
    }
    void flush()
    {
        if (m_rows == 0)
            return;
        const QString one = QStringLiteral("(") + QStringList(m_columns.size(), QStringLiteral("?")).join(',') + ')';
        dm().exec(QStringLiteral("insert into %1 (%2) values ").arg(m_table, m_columns.join(',')) +
                      QStringList(m_rows, one).join(','),
                  m_values);
        m_values.clear();
        m_rows = 0;
    }

private:
    QString m_table;
    QStringList m_columns;
    int m_per;
    int m_rows = 0;
    QVariantList m_values;
};

inline const QString kMask = QString::fromLatin1(kEmptyDateMask);
// The supportive contract type typed with the Persian yeh, as some offices store it.
inline QString persianYeh(QString s) { return s.replace(QChar(0x064A), QChar(0x06CC)); }

struct Place {
    QString ostan;
    QString shahrestan;
};
// The county "مرکزي" exists in two provinces; "بم" has pre-registrations only.
inline const QList<Place> kPlaces = {
    {QStringLiteral("تهران"), QStringLiteral("ري")},     {QStringLiteral("تهران"), QStringLiteral("شميرانات")},
    {QStringLiteral("فارس"), QStringLiteral("شيراز")},   {QStringLiteral("فارس"), QStringLiteral("مرکزي")},
    {QStringLiteral("اصفهان"), QStringLiteral("مرکزي")}, {QStringLiteral("کرمان"), QStringLiteral("بم")},
};
// Projects of this type are not in the listed set of the fixtures.
inline const QString kUnlisted = QStringLiteral("خارج");

struct FixtureOptions {
    quint32 seed = 1;
    int projects = 30;
    int maxBuyers = 8;
};

// Inserts random rows; projects go in the first five places only.
inline void makeRandomFixture(const FixtureOptions& o)
{
    QRandomGenerator rnd(o.seed);
    const auto pick = [&](const QVariantList& from) { return from.at(rnd.bounded(int(from.size()))); };
    const auto amount = [&]() -> QVariant { return rnd.bounded(8) == 0 ? QVariant() : QVariant(qint64(rnd.bounded(1, 900)) * 1000000); };
    const QVariant null;
    const QVariantList contractTypes {reptext::kSupportive, persianYeh(reptext::kSupportive),
                                      QStringLiteral("مشارکت مدني"), QStringLiteral(""), null};
    const QVariantList transfers {kMask, kMask, kMask, kMask, QStringLiteral("1402/05/01"), QStringLiteral(""), null,
                                  QStringLiteral("//")};
    const QVariantList numbers {QStringLiteral(""), QStringLiteral(""), null, QStringLiteral("123")};
    const QVariantList deedDates {kMask, kMask, QStringLiteral("1401/01/01"), QStringLiteral(""), null};
    Transaction tx(dm());
    for (int p = 0; p < o.projects; ++p) {
        const Place& place = kPlaces.at(rnd.bounded(5));
        const int kol = rnd.bounded(5, 40);
        const qint64 prj = dm().insert(
            QStringLiteral("projects"),
            {QStringLiteral("ostan"), QStringLiteral("shahrestan"), QStringLiteral("prj_name"), QStringLiteral("prj_cod"),
             QStringLiteral("prj_typ"), QStringLiteral("st_tavrin"), QStringLiteral("prot_typ"), QStringLiteral("vahed_kol"),
             QStringLiteral("vahed_cnt"), QStringLiteral("anbari_cnt"), QStringLiteral("parking_cnt"), QStringLiteral("vahed_f"),
             QStringLiteral("status")},
            {place.ostan, place.shahrestan, QString(QStringLiteral("مهر %1").arg(rnd.bounded(12))),
             QString::number(p % 7), rnd.bounded(6) == 0 ? kUnlisted : QStringLiteral("حمايتي"),
             QStringLiteral("جاري"), QStringLiteral("مشارکتي"), rnd.bounded(12) == 0 ? null : QVariant(kol),
             QVariant(kol - rnd.bounded(5)), rnd.bounded(10), rnd.bounded(10), 0, QStringLiteral("فعال")});
        QVariantList units;
        for (int u = rnd.bounded(7); u > 0; --u)
            units << dm().insert(QStringLiteral("vahedha"),
                                 {QStringLiteral("prj_id"), QStringLiteral("shenase"), QStringLiteral("vam"), QStringLiteral("status")},
                                 {prj, QString::number(u), amount(), rnd.bounded(2) ? QStringLiteral("فعال") : QStringLiteral(" فروخته شد x")});
        for (int f = rnd.bounded(4); f > 0; --f) {
            const qint64 fac = dm().insert(
                QStringLiteral("tashilat"),
                {QStringLiteral("prj_id"), QStringLiteral("bank"), QStringLiteral("etebar_loc"), QStringLiteral("prot_typ"),
                 QStringLiteral("mablagh"), QStringLiteral("daryafti")},
                {prj, QStringLiteral("ملي"), QStringLiteral("ملي"), pick(contractTypes), amount(), amount()});
            for (int l = rnd.bounded(3); l > 0; --l)
                dm().exec(QStringLiteral("insert into vahed_vam (prj_id,tashilat_id,vahed_id,mablagh) values (?,?,?,?)"),
                          {prj, fac, units.isEmpty() ? QVariant(0) : pick(units), amount()});
        }
        for (const char* table : {"anbariha", "parkingha"})
            for (int s = rnd.bounded(5); s > 0; --s)
                dm().exec(QStringLiteral("insert into %1 (prj_id,num,status) values (?,?,?)").arg(QLatin1String(table)),
                          {prj, s, rnd.bounded(2) ? QStringLiteral("فعال") : QStringLiteral(" فروخته شد x")});
        for (int c = rnd.bounded(o.maxBuyers + 1); c > 0; --c) {
            const qint64 cust = dm().insert(
                QStringLiteral("customers"),
                {QStringLiteral("prj_id"), QStringLiteral("vahed_id"), QStringLiteral("ostan"), QStringLiteral("shahrestan"),
                 QStringLiteral("transport_dat"), QStringLiteral("prot_no"), QStringLiteral("mali_no"),
                 QStringLiteral("tahvil_no"), QStringLiteral("sanad_no"), QStringLiteral("sanad_enteghal_dat"),
                 QStringLiteral("mablagh")},
                {prj, units.isEmpty() || rnd.bounded(5) == 0 ? null : pick(units), place.ostan,
                 rnd.bounded(6) == 0 ? QStringLiteral("ديگر") : place.shahrestan, pick(transfers), pick(numbers),
                 pick(numbers), pick(numbers), pick(numbers), pick(deedDates), amount()});
            for (int k = rnd.bounded(4); k > 0; --k)
                dm().exec(QStringLiteral("insert into pardakht (customer_id,mablagh,vosol) values (?,?,?)"),
                          {cust, amount(), amount()});
            for (const char* table : {"anbari", "parking"})
                if (rnd.bounded(3) == 0)
                    dm().exec(QStringLiteral("insert into %1 (customer_id,prj_id,num) values (?,?,?)").arg(QLatin1String(table)),
                              {cust, prj, 1});
        }
    }
    for (const Place& place : kPlaces)
        for (int n = rnd.bounded(4); n > 0; --n)
            dm().exec(QStringLiteral("insert into pishsabt (ostan,shahrestan,lname) values (?,?,?)"),
                      {place.ostan, place.shahrestan, QStringLiteral("x")});
    tx.commit();
}

// The listed projects of the fixtures: every project but the unlisted type.
inline ListQuery listedProjects()
{
    ListQuery q(QStringLiteral("select *"), QStringLiteral("from projects"));
    q.where(QStringLiteral("prj_typ<>?"), {kUnlisted});
    return q;
}

inline reports::BuildRequest request(reports::ReportKind kind, qint64 prsId, const ListQuery& q = listedProjects())
{
    reports::BuildRequest r;
    r.kind = kind;
    r.projects = reports::projectSetOf(q);
    r.prsId = prsId;
    r.stamp = {QStringLiteral("1403/01/01"), QStringLiteral("10:00:00")};
    return r;
}

// A row as comparable text: every column but prs_id, NULL distinct from "" and 0.
inline QString rowKey(const QVariantMap& row)
{
    QStringList parts;
    for (auto it = row.cbegin(); it != row.cend(); ++it)
        if (it.key() != QLatin1String("prs_id"))
            parts << it.key() + '=' + (it.value().isNull() ? QStringLiteral("<null>") : it.value().toString());
    return parts.join('|');
}

inline QStringList sortedKeys(const QList<QVariantMap>& rows)
{
    QStringList keys;
    for (const QVariantMap& r : rows)
        keys << rowKey(r);
    keys.sort();
    return keys;
}

// The user's rows of a work table as the reports read them.
inline QList<QVariantMap> tableRows(reports::ReportKind kind, qint64 prsId)
{
    return reports::readRows(dm(), kind, {QStringLiteral("select * from ") + reports::workTable(kind) +
                                              QStringLiteral(" where prs_id=?"), {prsId}});
}

// ---------------------------------------------------------------- the oracle

// The reports' original per-project algorithm (a few statements per project
// and facility, one per applicant), with the corrected rules: counts on a
// project's first row only, sold spaces are assigned ones, a current buyer has
// no real transfer date, empty sums are 0.
class Oracle {
public:
    explicit Oracle(const ListQuery& listed, bool grantedCountiesOnly = false, qint64 prsId = 0)
        : m_granted(grantedCountiesOnly), m_prsId(prsId)
    {
        // The listed projects in the order of the printed report.
        QSqlQuery q = dm().exec(QStringLiteral("select * ") + listed.from() + listed.whereSql(), listed.values());
        while (q.next())
            m_projects << q.record();
        std::sort(m_projects.begin(), m_projects.end(), [](const QSqlRecord& a, const QSqlRecord& b) {
            const auto key = [](const QSqlRecord& r) {
                return QStringList {text(r.value("ostan")), text(r.value("shahrestan")), text(r.value("prj_name")),
                                    text(r.value("prj_cod")), QStringLiteral("%1").arg(r.value("id").toLongLong(), 12, 10, QLatin1Char('0'))};
            };
            return key(a) < key(b);
        });
    }

    QList<QVariantMap> rows(reports::ReportKind kind) const
    {
        QList<QVariantMap> out;
        QSet<QString> countiesWithRows;
        for (const QSqlRecord& p : m_projects) {
            const QVariant id = p.value("id");
            const auto count = [&](const QString& sql) { return dm().scalar(sql, {id}).toLongLong(); };
            QList<QSqlRecord> buyers, all;
            QSqlQuery c = dm().exec(QStringLiteral("select * from customers where prj_id=?"), {id});
            while (c.next()) {
                all << c.record();
                if (jalali::isEmptyDate(text(c.record().value("transport_dat"))))
                    buyers << c.record();
            }
            const auto filled = [](const QSqlRecord& r, const char* col) { return !r.value(col).isNull() && !r.value(col).toString().isEmpty(); };
            const auto buyersWith = [&](const char* col) {
                return qint64(std::count_if(buyers.begin(), buyers.end(), [&](const QSqlRecord& r) { return filled(r, col); }));
            };
            qint64 price = 0, received = 0;
            for (const QSqlRecord& b : buyers)
                price += reports::wholeNumber(b.value("mablagh")).value_or(0);
            for (const QSqlRecord& a : all)
                received += reports::wholeNumber(dm().scalar(QStringLiteral("select sum(vosol) from pardakht where customer_id=?"),
                                                             {a.value("id")})).value_or(0);
            QList<QSqlRecord> facilities;
            QSqlQuery f = dm().exec(QStringLiteral("select * from tashilat where prj_id=? order by id"), {id});
            while (f.next())
                facilities << f.record();
            const qint64 units = count(QStringLiteral("select count(*) from vahedha where prj_id=?"));
            const qint64 anbariSabt = count(QStringLiteral("select count(*) from anbariha where prj_id=?"));
            const qint64 anbariF = count(QStringLiteral("select count(*) from anbari where prj_id=?"));
            const qint64 parkingSabt = count(QStringLiteral("select count(*) from parkingha where prj_id=?"));
            const qint64 parkingF = count(QStringLiteral("select count(*) from parking where prj_id=?"));
            const auto number = [](const QVariant& v) { return QVariant(reports::wholeNumber(v).value_or(0)); };
            QVariantMap base {{"ostan", text(p.value("ostan"))}, {"shahrestan", text(p.value("shahrestan"))},
                              {"prj_name", text(p.value("prj_name"))}};

            if (kind == reports::ReportKind::UnitProgress) {
                QVariantMap r = base;
                r.insert({{"vahed_kol", number(p.value("vahed_kol"))}, {"vahed_cnt", number(p.value("vahed_cnt"))},
                          {"vahed_tavrin", buyersWith("prot_no")}, {"vahed_tasviye", buyersWith("mali_no")},
                          {"vahed_tahvil", buyersWith("tahvil_no")}, {"vahed_sabt", qint64(buyers.size())},
                          {"vahed_sanad", qint64(std::count_if(buyers.begin(), buyers.end(), [](const QSqlRecord& b) {
                               return !jalali::isEmptyDate(text(b.value("sanad_enteghal_dat")));
                           }))}});
                out << r;
                continue;
            }
            if (kind == reports::ReportKind::FacilitiesUsed) {
                qint64 h = 0, nh = 0;
                for (const QSqlRecord& t : facilities) {
                    const qint64 m = reports::wholeNumber(t.value("mablagh")).value_or(0);
                    (foldText(text(t.value("prot_typ"))) == foldText(reptext::kSupportive) ? h : nh) += m;
                }
                QVariantMap r = base;
                r.insert({{"hemayati", h}, {"nohemayati", nh},
                          {"vam", number(dm().scalar(QStringLiteral("select sum(vam) from vahedha where prj_id=?"), {id}))},
                          {"sanad", qint64(std::count_if(all.begin(), all.end(), [&](const QSqlRecord& a) { return filled(a, "sanad_no"); }))}});
                out << r;
                continue;
            }
            if (kind == reports::ReportKind::Activity) {
                const QString county = text(p.value("ostan")) + '\n' + text(p.value("shahrestan"));
                QVariantMap r = base;
                r.insert({{"prj_cnt", qint64(1)}, {"vahed_kol", number(p.value("vahed_kol"))},
                          {"vahed_vagozari", number(p.value("vahed_cnt"))}, {"vahed", units}, {"anbari", anbariSabt},
                          {"parking", parkingSabt}, {"moteghazi", qint64(all.size())},
                          {"pishsabt", firstOfCounty(p) ? preRegistrations(p.value("ostan"), p.value("shahrestan")) : qint64(0)}});
                countiesWithRows.insert(county);
                out << r;
                continue;
            }
            // Status and comprehensive: a row per facility, the project's counts on the first.
            const int n = std::max(1, int(facilities.size()));
            for (int i = 0; i < n; ++i) {
                const bool first = i == 0;
                const auto firstOnly = [&](const QVariant& v) { return first ? v : QVariant(); };
                QVariantMap r = base;
                r.insert("prj_cod", text(p.value("prj_cod")));
                r.insert("prj_typ", text(p.value("prj_typ")));
                r.insert("vahed_sabt", firstOnly(units));
                r.insert("vahed_f", firstOnly(qint64(buyers.size())));
                r.insert("anbari_sabt", firstOnly(anbariSabt));
                r.insert("anbari_f", firstOnly(anbariF));
                r.insert("parking_sabt", firstOnly(parkingSabt));
                r.insert("parking_f", firstOnly(parkingF));
                if (facilities.isEmpty()) {
                    r.insert({{"bank", QString()}, {"etebar_loc", QString()}, {"prot_typ", QString()}, {"daryafti", qint64(0)},
                              {"vahed_takhsis", qint64(0)}});
                } else {
                    const QSqlRecord& t = facilities.at(i);
                    const auto textOrNull = [&](const char* col) { return t.value(col).isNull() ? QVariant() : QVariant(t.value(col).toString()); };
                    const auto daryafti = reports::wholeNumber(t.value("daryafti"));
                    r.insert({{"bank", textOrNull("bank")}, {"etebar_loc", textOrNull("etebar_loc")},
                              {"prot_typ", textOrNull("prot_typ")}, {"daryafti", daryafti ? QVariant(*daryafti) : QVariant()},
                              {"vahed_takhsis", number(dm().scalar(QStringLiteral("select sum(mablagh) from vahed_vam where tashilat_id=?"),
                                                                   {t.value("id")}))}});
                }
                if (kind == reports::ReportKind::Status) {
                    r.insert({{"st_tavrin", text(p.value("st_tavrin"))}, {"prj_prot_typ", text(p.value("prot_typ"))},
                              {"vahed_kol", firstOnly(number(p.value("vahed_kol")))},
                              {"vahed_cnt", firstOnly(number(p.value("vahed_cnt")))},
                              {"prot_no", firstOnly(buyersWith("prot_no"))}, {"mali_no", firstOnly(buyersWith("mali_no"))},
                              {"tahvil_no", firstOnly(buyersWith("tahvil_no"))}, {"sanad_no", firstOnly(buyersWith("sanad_no"))},
                              {"anbari_cnt", firstOnly(number(p.value("anbari_cnt")))},
                              {"parking_cnt", firstOnly(number(p.value("parking_cnt")))},
                              {"vahed_mablagh", firstOnly(price)}, {"vahed_vosol", firstOnly(received)}});
                }
                out << r;
            }
        }
        if (kind == reports::ReportKind::Activity) {
            QString sql = QStringLiteral("select distinct ostan,shahrestan from pishsabt where id<>-1");
            QVariantList values;
            if (m_granted) {
                sql += QStringLiteral(" and shahrestan in (select cmt from dastrasi2 where user_id=?)");
                values << m_prsId;
            }
            QSqlQuery q = dm().exec(sql, values);
            while (q.next()) {
                if (countiesWithRows.contains(text(q.value(0)) + '\n' + text(q.value(1))))
                    continue;
                out << QVariantMap {{"ostan", q.value(0).isNull() ? QVariant() : QVariant(q.value(0).toString())},
                                    {"shahrestan", q.value(1).isNull() ? QVariant() : QVariant(q.value(1).toString())},
                                    {"prj_name", QVariant()}, {"prj_cnt", QVariant()}, {"vahed_kol", QVariant()},
                                    {"vahed_vagozari", QVariant()}, {"vahed", QVariant()}, {"anbari", QVariant()},
                                    {"parking", QVariant()}, {"moteghazi", QVariant()},
                                    {"pishsabt", preRegistrations(q.value(0), q.value(1))}};
            }
        }
        return out;
    }

private:
    // The listed project of the county (NULL a county of its own) with the lowest id.
    bool firstOfCounty(const QSqlRecord& p) const
    {
        const auto same = [](const QVariant& a, const QVariant& b) { return a.isNull() ? b.isNull() : !b.isNull() && a.toString() == b.toString(); };
        return std::none_of(m_projects.begin(), m_projects.end(), [&](const QSqlRecord& q) {
            return same(q.value("ostan"), p.value("ostan")) && same(q.value("shahrestan"), p.value("shahrestan")) &&
                   q.value("id").toLongLong() < p.value("id").toLongLong();
        });
    }

    static qint64 preRegistrations(const QVariant& ostan, const QVariant& shahrestan)
    {
        return dm().scalar(QStringLiteral("select count(*) from pishsabt where ostan=? and shahrestan=?"), {ostan, shahrestan})
            .toLongLong();
    }

    QList<QSqlRecord> m_projects;
    bool m_granted;
    qint64 m_prsId;
};

} // namespace tavrin::test
