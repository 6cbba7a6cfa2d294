#include "transfer.h"

#include "dbcopy.h"
#include "maintenance_texts.h"
#include "portable.h"

#include "applicants/applicant_texts.h"
#include "applicants/child_texts.h"
#include "common/activitylog.h"
#include "common/history.h"
#include "common/jalali.h"
#include "common/listquery.h"
#include "projects/item_rules.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <optional>

namespace tavrin {

namespace {

// How a row of a table that does not move with the applicants is found again
// in the target: by these columns (a column that itself refers to another
// table is compared through that table's match).
const QHash<QString, QStringList>& matchColumns()
{
    static const QHash<QString, QStringList> m = {
        {QStringLiteral("projects"), {QStringLiteral("ostan"), QStringLiteral("shahrestan"), QStringLiteral("prj_cod"), QStringLiteral("prj_name")}},
        {QStringLiteral("vahedha"), {QStringLiteral("prj_id"), QStringLiteral("shenase")}},
        {QStringLiteral("anbariha"), {QStringLiteral("prj_id"), QStringLiteral("bolok"), QStringLiteral("pos"), QStringLiteral("num")}},
        {QStringLiteral("parkingha"), {QStringLiteral("prj_id"), QStringLiteral("bolok"), QStringLiteral("pos"), QStringLiteral("num")}},
    };
    return m;
}

// Items sold to the applicant who holds them (sell()).
bool isSaleItem(const QString& table)
{
    return table == QLatin1String("vahedha") || table == QLatin1String("anbariha") || table == QLatin1String("parkingha");
}

QString missingReason(const QString& table)
{
    if (table == QLatin1String("projects"))
        return maintext::kWhyNoProject;
    if (table == QLatin1String("vahedha"))
        return maintext::kWhyNoUnit;
    if (table == QLatin1String("anbariha"))
        return maintext::kWhyNoAnbari;
    if (table == QLatin1String("parkingha"))
        return maintext::kWhyNoParking;
    return maintext::kWhyNoRow + table;
}

bool isIdentity(const ColumnDef& c)
{
    return c.type == ColType::Identity || c.type == ColType::BigIdentity;
}

// A reference that refers to nothing.
bool isNoReference(const QVariant& v)
{
    return v.isNull() || v.toString().trimmed().isEmpty() || v.toLongLong() == 0;
}

struct Refused {
    QString reason;
};

class Transfer {
public:
    Transfer(Database& source, Database& target) : m_src(source), m_dst(target)
    {
        for (const TableDef* t : applicantTables()) {
            if (!m_src.tableExists(t->name))
                continue;   // an older source without the table: nothing of it moves
            Moved m;
            m.table = t;
            m.columns = portable::sharedColumns(*t, m_src.columns(t->name), m_dst.columns(t->name));
            for (const ColumnDef* c : m.columns) {
                if (c->references == QLatin1String("customers") && m.owner.isEmpty())
                    m.owner = c->name;
            }
            if (m.owner.isEmpty()) {
                // A child of a child (through its parent's rows of this applicant).
                for (const ColumnDef* c : m.columns)
                    if (!c->references.isEmpty() && movedIndex(c->references) >= 0 && m.owner.isEmpty())
                        m.owner = c->name;
            }
            if (t->name != QLatin1String("customers") && m.owner.isEmpty())
                continue;
            m_moved << m;
        }
    }

    TransferReport run(const QString& code, const QString& user, const Progress& progress)
    {
        TransferReport report;
        if (m_moved.isEmpty() || m_moved.first().table->name != QLatin1String("customers"))
            throw DbError(QStringLiteral("the source has no table customers"), QString());
        const Moved& customers = m_moved.first();
        ReadSnapshot snapshot(m_src);
        QList<QSqlRecord> applicants;
        {
            QSqlQuery q = m_src.exec(QStringLiteral("select %1 from customers where coalesce(sabt_cod,'')=? order by id")
                                         .arg(portable::columnList(customers.columns)),
                                     {code});
            while (q.next())
                applicants << q.record();
        }
        Transaction tx(m_dst);
        // No one else adds or edits an applicant between the duplicate checks
        // and the commit (SQLite's transaction already holds the write lock).
        if (const QString lock = m_dst.dialect().lockTableStatement(QStringLiteral("customers")); !lock.isEmpty())
            m_dst.exec(lock);
        for (int i = 0; i < applicants.size(); ++i) {
            const QSqlRecord& a = applicants[i];
            tavrin::report(progress, i, applicants.size(), personName(a));
            Gathered g = gather(a);
            try {
                check(g);
                sell(g);
            } catch (const Refused& why) {
                report.refused << refusal(a, why.reason);
                continue;
            }
            write(g, report);
            ++report.applicants;
        }
        tavrin::report(progress, applicants.size(), applicants.size());
        if (report.applicants > 0)
            writeLog(m_dst, user,
                     maintext::kTransferLog + code + QStringLiteral(" : ") + QString::number(report.applicants) +
                         QStringLiteral(" / ") + QString::number(report.refused.size()));
        tx.commit();
        snapshot.end();
        report.outcome = TransferReport::Outcome::Done;
        return report;
    }

private:
    struct Moved {
        const TableDef* table = nullptr;
        QList<const ColumnDef*> columns;
        QString owner;   // the column holding the parent's id ("" for customers)
    };
    // The rows of one applicant, per moved table (same order as m_moved).
    struct Gathered {
        QList<QList<QSqlRecord>> rows;
        QList<QSet<qint64>> ids;
        qint64 unitInTarget = 0;
    };

    int movedIndex(const QString& table) const
    {
        for (int i = 0; i < m_moved.size(); ++i)
            if (m_moved[i].table->name == table)
                return i;
        return -1;
    }

    static QString personName(const QSqlRecord& r)
    {
        const QString name = QString(text(r.value(QStringLiteral("fname"))) + ' ' + text(r.value(QStringLiteral("lname")))).trimmed();
        return name.isEmpty() ? text(r.value(QStringLiteral("comp_name"))) : name;
    }

    static Refusal refusal(const QSqlRecord& a, const QString& reason)
    {
        return Refusal {a.value(QStringLiteral("id")).toLongLong(), personName(a), text(a.value(QStringLiteral("nation"))),
                        text(a.value(QStringLiteral("prj_name"))), text(a.value(QStringLiteral("shenase"))), reason};
    }

    // The applicant's row and the rows of every table that belongs to it.
    Gathered gather(const QSqlRecord& applicant)
    {
        Gathered g;
        g.rows.resize(m_moved.size());
        g.ids.resize(m_moved.size());
        g.rows[0] << applicant;
        g.ids[0] << applicant.value(QStringLiteral("id")).toLongLong();
        for (int i = 1; i < m_moved.size(); ++i) {
            const Moved& m = m_moved[i];
            const ColumnDef* owner = m.table->column(m.owner);
            const QSet<qint64>& parents = g.ids[movedIndex(owner->references)];
            if (parents.isEmpty())
                continue;
            QStringList marks;
            QVariantList values;
            for (qint64 id : parents) {
                marks << QStringLiteral("?");
                values << id;
            }
            QSqlQuery q = m_src.exec(QStringLiteral("select %1 from %2 where %3 in (%4) order by id")
                                         .arg(portable::columnList(m.columns), m.table->name, m.owner, marks.join(',')),
                                     values);
            while (q.next()) {
                g.rows[i] << q.record();
                g.ids[i] << q.value(QStringLiteral("id")).toLongLong();
            }
        }
        return g;
    }

    // Every value can be written, every reference leads somewhere, and the
    // target does not hold the applicant for the same unit yet.
    void check(Gathered& g)
    {
        for (int i = 0; i < m_moved.size(); ++i) {
            const Moved& m = m_moved[i];
            for (const QSqlRecord& row : g.rows[i]) {
                for (int c = 0; c < m.columns.size(); ++c) {
                    const ColumnDef& col = *m.columns[c];
                    try {
                        portable::bindValue(col, row.value(c));
                    } catch (const portable::BadValue&) {
                        throw Refused {maintext::kWhyBadValue + m.table->name + '.' + col.name};
                    }
                    if (col.references.isEmpty() || isNoReference(row.value(c)))
                        continue;
                    const int parent = movedIndex(col.references);
                    if (parent >= 0) {
                        if (!g.ids[parent].contains(row.value(c).toLongLong()))
                            throw Refused {maintext::kWhyDangling + m.table->name};
                    } else if (!match(col.references, row.value(c).toLongLong())) {
                        throw Refused {missingReason(col.references)};
                    }
                }
            }
        }
        const QSqlRecord& a = g.rows[0].first();
        const QVariant unit = a.value(QStringLiteral("vahed_id"));
        g.unitInTarget = isNoReference(unit) ? 0 : *match(QStringLiteral("vahedha"), unit.toLongLong());
        if (isDuplicate(a, g.unitInTarget))
            throw Refused {maintext::kWhyDuplicate};
    }

    // The units, storage rooms and parking spaces the applicant's rows refer
    // to, as the target's ids: units first, then storage rooms and parking
    // spaces, each in ascending id (the order every writer locks them in).
    QList<std::pair<QString, qint64>> saleItems(const Gathered& g)
    {
        QList<std::pair<QString, qint64>> out;
        for (int i = 0; i < m_moved.size(); ++i) {
            const Moved& m = m_moved[i];
            for (const QSqlRecord& row : g.rows[i])
                for (int c = 0; c < m.columns.size(); ++c) {
                    const ColumnDef& col = *m.columns[c];
                    if (isSaleItem(col.references) && !isNoReference(row.value(c))) {
                        const std::pair<QString, qint64> item {col.references, *match(col.references, row.value(c).toLongLong())};
                        if (!out.contains(item))
                            out << item;
                    }
                }
        }
        std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
            const auto rank = [](const QString& t) { return t == QLatin1String("vahedha") ? 0 : t == QLatin1String("anbariha") ? 1 : 2; };
            return std::pair(rank(a.first), a.second) < std::pair(rank(b.first), b.second);
        });
        return out;
    }

    // The surname of whoever holds the item in the target: a current holder of
    // a unit (his transfer date not set); for a storage room or parking space,
    // the applicant of an assignment row carrying its id, or of an older row
    // without the id that names it by project, block, number and position.
    std::optional<QString> holderOf(const QString& table, qint64 id)
    {
        std::optional<QSqlRecord> row;
        if (table == QLatin1String("vahedha")) {
            row = m_dst.firstRow(QStringLiteral("select lname from customers where vahed_id=? and not (") +
                                     jalali::dateIsSet(QStringLiteral("transport_dat")) + QStringLiteral(") order by id"),
                                 {id});
        } else {
            const QString rows = table == QLatin1String("anbariha") ? QStringLiteral("anbari") : QStringLiteral("parking");
            row = m_dst.firstRow(
                QStringLiteral("select c.lname from %1 a left join customers c on a.customer_id=c.id where a.%1_id=? or "
                               "(coalesce(a.%1_id,0)=0 and exists (select 1 from %2 s where s.id=? and s.prj_id=a.prj_id "
                               "and s.bolok=a.bolok and s.num=a.num and s.pos=a.pos)) order by a.id")
                    .arg(rows, table),
                {id, id});
        }
        if (!row)
            return std::nullopt;
        return text(row->value(0));
    }

    // An applicant who holds his unit (his transfer date not set) buys it and
    // his storage rooms and parking spaces as the applicant window sells
    // them: each item still free is marked sold to him by the sale's
    // conditional update, which also locks its row until the commit; an item
    // someone in the target holds already refuses him with the sale's message
    // (the items marked for him are then free again).  An item that is neither
    // free nor held keeps its status.  A former holder buys nothing.
    void sell(const Gathered& g)
    {
        const QSqlRecord& a = g.rows[0].first();
        if (!jalali::isEmptyDate(text(a.value(QStringLiteral("transport_dat")))))
            return;
        const QString sold = items::soldStatus(text(a.value(QStringLiteral("lname"))));
        QList<std::pair<QString, qint64>> marked;
        for (const auto& [table, id] : saleItems(g)) {
            if (m_dst.execAffected(QStringLiteral("update %1 set status=? where id=? and status=?").arg(table),
                                   {sold, id, items::freeStatus()}) == 1)
                marked << std::pair {table, id};
            if (const auto holder = holderOf(table, id)) {
                for (const auto& [t, i] : marked)
                    m_dst.exec(QStringLiteral("update %1 set status=? where id=?").arg(t), {items::freeStatus(), i});
                const QString soldTo = table == QLatin1String("vahedha")    ? custext::kUnitSoldTo
                                       : table == QLatin1String("anbariha") ? childtext::kStorageSoldTo
                                                                            : childtext::kParkingSoldTo;
                throw Refused {soldTo + *holder};
            }
        }
    }

    // A folded, exact comparison of a text column with a value (NULL as "").
    QString textEquals(const QString& column) const
    {
        return m_dst.dialect().fold(QStringLiteral("coalesce(%1,'')").arg(column)) + QStringLiteral("=?");
    }

    bool isDuplicate(const QSqlRecord& a, qint64 unitInTarget)
    {
        QStringList who;
        QVariantList values;
        const QString nation = text(a.value(QStringLiteral("nation"))).trimmed();
        if (!nation.isEmpty()) {
            who << QStringLiteral("nation=?");
            values << nation;
        } else {
            // Without a national code (a legal person): the same names.
            for (const char* c : {"fname", "lname", "comp_name"}) {
                const QString column = QString::fromLatin1(c);
                who << textEquals(column);
                values << foldText(text(a.value(column)).trimmed());
            }
        }
        QStringList same;
        for (const char* c : {"ostan", "shahrestan", "prj_name", "shenase"}) {
            const QString column = QString::fromLatin1(c);
            same << textEquals(column);
            values << foldText(text(a.value(column)).trimmed());
        }
        QString unit = '(' + same.join(QStringLiteral(" and ")) + ')';
        if (unitInTarget > 0) {
            unit = QStringLiteral("(vahed_id=? or %1)").arg(unit);
            values.insert(values.size() - same.size(), unitInTarget);
        }
        return m_dst.scalar(QStringLiteral("select count(*) from customers where %1 and %2")
                                .arg(who.join(QStringLiteral(" and ")), unit),
                            values)
                   .toLongLong() > 0;
    }

    // The target's id of a source row of a table that does not move, found by
    // its particulars; nothing when the target has no such row or several.
    std::optional<qint64> match(const QString& table, qint64 sourceId)
    {
        auto& cache = m_matched[table];
        if (auto it = cache.constFind(sourceId); it != cache.constEnd())
            return *it;
        std::optional<qint64> found;
        const TableDef* t = schema().table(table);
        const QStringList keys = matchColumns().value(table);
        if (t && !keys.isEmpty()) {
            if (auto row = m_src.firstRow(QStringLiteral("select %1 from %2 where id=?").arg(keys.join(','), table), {sourceId})) {
                QStringList conditions;
                QVariantList values;
                bool ok = true;
                for (int k = 0; k < keys.size() && ok; ++k) {
                    const ColumnDef* c = t->column(keys[k]);
                    const QVariant v = row->value(k);
                    if (!c->references.isEmpty()) {
                        const auto parent = isNoReference(v) ? std::optional<qint64>(0) : match(c->references, v.toLongLong());
                        ok = parent.has_value();
                        conditions << QStringLiteral("coalesce(%1,0)=?").arg(c->name);
                        values << (parent ? *parent : 0);
                    } else if (c->type == ColType::Text) {
                        conditions << textEquals(c->name);
                        values << foldText(text(v).trimmed());
                    } else if (v.isNull()) {
                        conditions << c->name + QStringLiteral(" is null");
                    } else {
                        conditions << c->name + QStringLiteral("=?");
                        values << portable::bindValue(*c, v, false);
                    }
                }
                if (ok) {
                    const QStringList ids = m_dst.textColumn(QStringLiteral("select id from %1 where %2 order by id")
                                                                 .arg(table, conditions.join(QStringLiteral(" and "))),
                                                             values);
                    if (ids.size() == 1)
                        found = ids.first().toLongLong();
                }
            }
        }
        cache.insert(sourceId, found);
        return found;
    }

    // A history row's record id is the new id of the moved row it names (the
    // history comes last, after every table it names); the log rows stay
    // behind, so its link to one is dropped.
    QVariant historyValue(const ColumnDef& col, const QSqlRecord& row, const QVariant& v,
                          const QList<QHash<qint64, qint64>>& newIds)
    {
        if (col.name == QLatin1String("log_id"))
            return QVariant(QMetaType::fromType<qint64>());
        if (col.name == QLatin1String("cust_id"))
            return qlonglong(newIds[0].value(row.value(QStringLiteral("cust_id")).toLongLong()));
        if (col.name == QLatin1String("rec_id")) {
            const int moved = movedIndex(text(row.value(QStringLiteral("tbl"))));
            if (moved >= 0)
                return qlonglong(newIds[moved].value(row.value(QStringLiteral("rec_id")).toLongLong()));
        }
        return v;
    }

    // Inserts the applicant and its rows with new ids, every reference remapped.
    void write(const Gathered& g, TransferReport& report)
    {
        QList<QHash<qint64, qint64>> newIds(m_moved.size());
        for (int i = 0; i < m_moved.size(); ++i) {
            const Moved& m = m_moved[i];
            for (const QSqlRecord& row : g.rows[i]) {
                QStringList columns;
                QVariantList values;
                for (int c = 0; c < m.columns.size(); ++c) {
                    const ColumnDef& col = *m.columns[c];
                    if (isIdentity(col))
                        continue;
                    QVariant v = portable::bindValue(col, row.value(c));
                    if (m.table->name == QLatin1String(history::kTable))
                        v = historyValue(col, row, v, newIds);
                    else if (!col.references.isEmpty() && !isNoReference(row.value(c))) {
                        const qint64 old = row.value(c).toLongLong();
                        const int parent = movedIndex(col.references);
                        const qint64 now = parent >= 0 ? newIds[parent].value(old) : *match(col.references, old);
                        v = qlonglong(now);
                    }
                    columns << col.name;
                    values << v;
                }
                const qint64 id = m_dst.insert(m.table->name, columns, values);
                newIds[i].insert(row.value(QStringLiteral("id")).toLongLong(), id);
                if (i > 0)
                    ++report.rows[m.table->name];
            }
        }
    }

    Database& m_src;
    Database& m_dst;
    QList<Moved> m_moved;
    QHash<QString, QHash<qint64, std::optional<qint64>>> m_matched;
};

} // namespace

int TransferReport::dependentRows() const
{
    int n = 0;
    for (int v : rows)
        n += v;
    return n;
}

QList<const TableDef*> applicantTables()
{
    // Every table that refers to a table already moving, until none is added.
    QSet<QString> moving {QStringLiteral("customers")};
    for (bool grew = true; grew;) {
        grew = false;
        for (const TableDef& t : schema().tables) {
            if (moving.contains(t.name))
                continue;
            for (const ColumnDef& c : t.columns) {
                if (moving.contains(c.references)) {
                    moving.insert(t.name);
                    grew = true;
                    break;
                }
            }
        }
    }
    // Parents first: a table comes once every moving table it refers to is placed.
    QList<const TableDef*> ordered {schema().table(QStringLiteral("customers"))};
    QSet<QString> placed {QStringLiteral("customers")};
    while (ordered.size() < moving.size()) {
        const qsizetype before = ordered.size();
        for (const TableDef& t : schema().tables) {
            if (!moving.contains(t.name) || placed.contains(t.name))
                continue;
            bool ready = true;
            for (const ColumnDef& c : t.columns)
                if (moving.contains(c.references) && c.references != t.name && !placed.contains(c.references))
                    ready = false;
            if (ready) {
                ordered << &t;
                placed.insert(t.name);
            }
        }
        if (ordered.size() == before)
            break;   // references in a circle: the rest cannot be ordered
    }
    // The record history names rows of the other tables by table and id: it
    // moves after all of them.
    for (qsizetype i = 0; i < ordered.size(); ++i)
        if (ordered[i]->name == QLatin1String(history::kTable)) {
            ordered.append(ordered.takeAt(i));
            break;
        }
    return ordered;
}

QList<QPair<QString, qint64>> registrationCodes(Database& db)
{
    QList<QPair<QString, qint64>> out;
    QSqlQuery q = db.exec(QStringLiteral("select coalesce(sabt_cod,'') as c, count(*) as n from customers "
                                         "group by coalesce(sabt_cod,'') order by 1"));
    while (q.next())
        out << qMakePair(q.value(0).toString(), q.value(1).toLongLong());
    return out;
}

TransferReport transferApplicants(Database& source, Database& target, const QString& code, const QString& user,
                                  const Progress& progress)
{
    TransferReport r;
    try {
        r = Transfer(source, target).run(code, user, progress);
    } catch (const Cancelled&) {
        r = TransferReport {};
        r.outcome = TransferReport::Outcome::Cancelled;
    } catch (const DbError& e) {
        r = TransferReport {};
        r.outcome = TransferReport::Outcome::Failed;
        r.detail = e.driverText;
    } catch (const portable::BadValue& bad) {
        r = TransferReport {};
        r.outcome = TransferReport::Outcome::Failed;
        r.detail = bad.column + QStringLiteral(": ") + bad.why;
    }
    return r;
}

} // namespace tavrin
