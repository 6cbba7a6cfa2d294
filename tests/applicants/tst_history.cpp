// The record history the applicant's actions write: one row per changed field
// with the values as stored, linked to the action's log row; nothing for an
// action refused, rolled back or changing nothing; two users' edits of one
// record in the order they were committed; a delete's values, the applicant's
// children with him.
#include "applicants/applicant_fixtures.h"

#include "applicants/applicant_texts.h"
#include "applicants/assignments_logic.h"
#include "applicants/partners_logic.h"
#include "applicants/payments_logic.h"

#include "admin/rights_templates.h"
#include "admin/useradmin.h"
#include "prereg/deposits.h"
#include "projects/facilities_logic.h"
#include "projects/projects_logic.h"
#include "projects/units_logic.h"

#include "common/history.h"
#include "common/jalali.h"
#include "common/session.h"
#include "common/stale.h"

using namespace tavrin;
using namespace tavrin::applicants;

namespace {

// (table, field, old, new, action) of the history rows of a record, oldest first;
// NULL reads as "<null>".
QStringList historyOf(const QString& where, const QVariantList& values)
{
    QStringList out;
    QSqlQuery q = dm().exec(QStringLiteral("select tbl,field,old_val,new_val,amal from taghirat where ") + where +
                                QStringLiteral(" order by id"),
                            values);
    const auto t = [&q](int i) { return q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString(); };
    while (q.next())
        out << QStringList {t(0), t(1), t(2), t(3), t(4)}.join(QLatin1Char('|'));
    return out;
}

int historyCount()
{
    return test::countOf(QStringLiteral("select count(*) from taghirat"));
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT
    QSqlRecord m_prj, m_unit;
    qint64 m_id = 0;

private Q_SLOTS:
    void init()
    {
        test::useFreshDatabase();
        test::loginAs(QStringLiteral("admin"));
        m_prj = test::addProject(QStringLiteral("مهر"), 10);
        m_unit = test::addUnit(m_prj, QStringLiteral("1-1-1"), 1000000000);
        CustomerValues v = test::saleOf(m_prj, m_unit, QStringLiteral("کريمي"), QStringLiteral("0012345679"));
        const Outcome r = insertCustomer(v, test::answering(true));
        QVERIFY(r.done);
        m_id = r.id;
    }

    // The sale records the applicant's values and the unit's status, linked to
    // its log row; an edit of the discount the changed discount and price,
    // linked to its own; saving again changes nothing and writes nothing.
    void saleAndEditWriteTheChangedFieldsOnly()
    {
        const QStringList sale = historyOf(QStringLiteral("cust_id=? and amal='insert'"), {m_id});
        QVERIFY(sale.contains(QStringLiteral("customers|lname|<null>|کريمي|insert")));
        QVERIFY(sale.contains(QStringLiteral("customers|mablagh|<null>|1000000000|insert")));
        QVERIFY(sale.contains(QStringLiteral("customers|takhfif|<null>|0|insert")));
        QVERIFY(!sale.join(' ').contains(QStringLiteral("|phone|")));   // an empty field says nothing
        QCOMPARE(historyOf(QStringLiteral("tbl='vahedha' and rec_id=?"), {m_unit.value(QStringLiteral("id"))}),
                 QStringList {QStringLiteral("vahedha|status|فعال| فروخته شد کريمي|edit")});
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from taghirat where prj_id=? and cust_id=0"),
                               {m_prj.value(QStringLiteral("id"))}), 1);
        const qint64 saleLog = dm().scalar(QStringLiteral("select max(id) from log")).toLongLong();
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from taghirat where log_id=?"), {saleLog}), historyCount());

        const int before = historyCount();
        const QSqlRecord read = *customerRow(m_id);
        CustomerValues e = valuesOf(read);
        e[QStringLiteral("takhfif")] = QStringLiteral("50,000,000");
        QVERIFY(updateCustomer(m_id, e, 0, read).done);
        QCOMPARE(historyOf(QStringLiteral("amal='edit' and tbl='customers'"), {}),
                 (QStringList {QStringLiteral("customers|mablagh|1000000000|950000000|edit"),
                               QStringLiteral("customers|takhfif|0|50000000|edit")}));
        const qint64 editLog = dm().scalar(QStringLiteral("select max(id) from log")).toLongLong();
        QVERIFY(editLog > saleLog);
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from taghirat where log_id=?"), {editLog}), 2);
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from taghirat where tbl='customers' and rec_id=? and user_id=? and karbar='admin' "
                                              "and tarikh=?"),
                               {m_id, QVariant(session().prsId), jalali::today()}),
                 historyCount() - 1);

        const QSqlRecord again = *customerRow(m_id);
        e = valuesOf(again);
        QVERIFY(updateCustomer(m_id, e, 0, again).done);
        QCOMPARE(historyCount(), before + 2);
        // An empty text saved where NULL was stored changes nothing a user
        // sees: no row; a value typed there is one.
        dm().exec(QStringLiteral("update customers set phone=null,job_adr=null where id=?"), {m_id});
        const QSqlRecord nulled = *customerRow(m_id);
        e = valuesOf(nulled);
        QVERIFY(updateCustomer(m_id, e, 0, nulled).done);
        QCOMPARE(historyOf(QStringLiteral("field in ('phone','job_adr')"), {}), QStringList {});
        e[QStringLiteral("phone")] = QStringLiteral("021");
        QVERIFY(updateCustomer(m_id, e, 0, *customerRow(m_id)).done);
        QCOMPARE(historyOf(QStringLiteral("field in ('phone','job_adr')"), {}), QStringList {QStringLiteral("customers|phone||021|edit")});

        // tavrin-cli history: the applicant's changes newest first, tab-separated;
        // the unit's status under the unit and its project.
        const QString id = QString::number(m_id);
        const auto lines = [](const QStringList& args) {
            const test::Cli c = test::runCli(args, true);
            return c.rc == 0 ? c.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts) : QStringList {c.err};
        };
        const QStringList his = lines({QStringLiteral("history"), QStringLiteral("customers"), id});
        QCOMPARE(his.size(), historyCount());   // the header, and every row but the unit's
        QCOMPARE(his.at(0), QStringLiteral("date\ttime\tuser\taction\ttable\trecord\tfield\told\tnew"));
        QCOMPARE(his.mid(1, 3).replaceInStrings(QRegularExpression(QStringLiteral("^[^\t]*\t[^\t]*\t")), QString()),
                 (QStringList {QStringLiteral("admin\tedit\tcustomers\t") + id + QStringLiteral("\tphone\t\t021"),
                               QStringLiteral("admin\tedit\tcustomers\t") + id + QStringLiteral("\ttakhfif\t0\t50000000"),
                               QStringLiteral("admin\tedit\tcustomers\t") + id + QStringLiteral("\tmablagh\t1000000000\t950000000")}));
        QCOMPARE(his.at(1).section(QLatin1Char('\t'), 0, 0), jalali::today());
        const QString unitRow = QStringLiteral("admin\tedit\tvahedha\t") + m_unit.value(QStringLiteral("id")).toString() +
                                QStringLiteral("\tstatus\tفعال\t فروخته شد کريمي");
        for (const QStringList& args : {QStringList {QStringLiteral("history"), QStringLiteral("vahedha"), m_unit.value(QStringLiteral("id")).toString()},
                                        QStringList {QStringLiteral("history"), QStringLiteral("projects"), m_prj.value(QStringLiteral("id")).toString()}}) {
            const QStringList out = lines(args);
            QCOMPARE(out.size(), 2);
            QCOMPARE(out.at(1).section(QLatin1Char('\t'), 2), unitRow);
        }
        QCOMPARE(test::runCli({QStringLiteral("history"), QStringLiteral("customers"), QStringLiteral("x")}, true).rc, 2);
        QCOMPARE(lines({QStringLiteral("history"), QStringLiteral("pardakht"), QStringLiteral("999")}).size(), 1);
    }

    // A refused sale, an edit refused because another user changed the record,
    // and an action whose statement fails write no history.
    void refusedAndRolledBackActionsWriteNone()
    {
        const int before = historyCount();
        CustomerValues v = test::saleOf(m_prj, m_unit, QStringLiteral("نوري"), QStringLiteral("0012345670"));
        QVERIFY(!insertCustomer(v, test::answering(true)).done);
        const QSqlRecord read = *customerRow(m_id);
        dm().exec(QStringLiteral("update customers set mobile='09120000000' where id=?"), {m_id});
        CustomerValues e = valuesOf(read);
        e[QStringLiteral("takhfif")] = QStringLiteral("1000");
        QVERIFY(updateCustomer(m_id, e, 0, read).changedByOther);
        QCOMPARE(historyCount(), before);

        QVERIFY(payments::addPayment(m_id, {QString(), QStringLiteral("1500000"), QStringLiteral("7"), QStringLiteral("0"),
                                            QStringLiteral("1402/01/10"), {}, {}, {}, {}}).done);
        const int paid = historyCount();
        const qint64 payment = dm().scalar(QStringLiteral("select max(id) from pardakht")).toLongLong();
        dm().setStatementHook([](const QString& sql) {
            if (sql.startsWith(QStringLiteral("delete from pardakht")))
                throw DbError(QStringLiteral("injected"), sql);
        });
        QVERIFY_THROWS_EXCEPTION(DbError, payments::deletePayment(m_id, payment));
        dm().setStatementHook({});
        QCOMPARE(historyCount(), paid);
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from pardakht")), 1);
    }

    // Two users edit different fields of one record at once: the other commits
    // his change while this one saves from a window read before it; this save
    // is refused, read again and saved; the history holds both, in order, each
    // from the value stored before it.
    void twoUsersEditingDifferentFieldsLeaveBothInOrder()
    {
        const QSqlRecord read = *customerRow(m_id);
        Outcome r;
        test::whileAnotherUserHolds(
            [&](Database& db) {
                const QSqlRecord was = *db.firstRow(QStringLiteral("select * from customers where id=?"), {m_id});
                db.exec(QStringLiteral("update customers set mobile=? where id=?"), {QStringLiteral("09130000000"), m_id});
                history::write(db, QStringLiteral("customers"), m_id, history::Owner::applicant(m_id),
                               QString::fromLatin1(history::kEdit), was, {{QStringLiteral("mobile"), QStringLiteral("09130000000")}});
            },
            [&] {
                CustomerValues e = valuesOf(read);
                e[QStringLiteral("father")] = QStringLiteral("علي");
                r = updateCustomer(m_id, e, 0, read);
            });
        QVERIFY(r.changedByOther);
        const QSqlRecord now = *customerRow(m_id);
        CustomerValues e = valuesOf(now);
        e[QStringLiteral("father")] = QStringLiteral("علي");
        QVERIFY(updateCustomer(m_id, e, 0, now).done);
        QCOMPARE(historyOf(QStringLiteral("amal='edit' and tbl='customers'"), {}),
                 (QStringList {QStringLiteral("customers|mobile|09121234567|09130000000|edit"),
                               QStringLiteral("customers|father|حسن|علي|edit")}));
        QCOMPARE(customerRow(m_id)->value(QStringLiteral("mobile")).toString(), QStringLiteral("09130000000"));
    }

    // A payment's amount as written and as deleted; the applicant's delete
    // records his values and his children's, all under him.
    void deletesRecordTheDeletedValues()
    {
        QVERIFY(payments::addPayment(m_id, {QStringLiteral("چک"), QStringLiteral("1,500,000"), QStringLiteral("7"),
                                            QStringLiteral("0"), QStringLiteral("1402/01/10"), {}, {}, {}, {}}).done);
        const qint64 payment = dm().scalar(QStringLiteral("select max(id) from pardakht")).toLongLong();
        QVERIFY(payments::deletePayment(m_id, payment).done);
        QStringList rows = historyOf(QStringLiteral("tbl='pardakht' and field in ('mablagh','vosol','dat')"), {});
        QCOMPARE(rows.size(), 6);
        std::sort(rows.begin(), rows.begin() + 3);   // (each action's fields in any order)
        std::sort(rows.begin() + 3, rows.end());
        QCOMPARE(rows, (QStringList {QStringLiteral("pardakht|dat|<null>|1402/01/10|insert"),
                                     QStringLiteral("pardakht|mablagh|<null>|1500000|insert"),
                                     QStringLiteral("pardakht|vosol|<null>|0|insert"),
                                     QStringLiteral("pardakht|dat|1402/01/10|<null>|delete"),
                                     QStringLiteral("pardakht|mablagh|1500000|<null>|delete"),
                                     QStringLiteral("pardakht|vosol|0|<null>|delete")}));
        QVERIFY(payments::addPayment(m_id, {QStringLiteral("نقد"), QStringLiteral("2000"), QStringLiteral("8"),
                                            QStringLiteral("2000"), QStringLiteral("1402/01/11"), {}, {}, {}, {}}).done);
        dm().exec(QStringLiteral("insert into shoraka (customer_id,lname,sahm) values (?,'شريک',2.5)"), {m_id});
        QVERIFY(deleteCustomer(m_id).done);
        const QStringList gone = historyOf(QStringLiteral("cust_id=? and amal='delete'"), {m_id});
        QVERIFY(gone.contains(QStringLiteral("customers|lname|کريمي|<null>|delete")));
        QVERIFY(gone.contains(QStringLiteral("customers|mablagh|1000000000|<null>|delete")));
        QVERIFY(gone.contains(QStringLiteral("pardakht|mablagh|2000|<null>|delete")));
        QVERIFY(gone.contains(QStringLiteral("shoraka|sahm|2.5|<null>|delete")));
        // Linked to the delete's log row (the payment's delete wrote none).
        const qint64 deleteLog = dm().scalar(QStringLiteral("select max(id) from log")).toLongLong();
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from taghirat where log_id=?"), {deleteLog}),
                 test::countOf(QStringLiteral("select count(*) from taghirat where amal='delete' and not (tbl='pardakht' and rec_id=?)"),
                               {payment}) + 1);
        // The unit he held is free again, in its project's history.
        QCOMPARE(historyOf(QStringLiteral("tbl='vahedha' and log_id=? and prj_id=?"), {deleteLog, m_prj.value(QStringLiteral("id"))}),
                 QStringList {QStringLiteral("vahedha|status| فروخته شد کريمي|فعال|edit")});
    }

    // A unit change: the new unit sold and the old one free again, each in
    // its project's history; a refused change records neither.
    void unitChangeRecordsBothUnitsStatus()
    {
        const QSqlRecord other = test::addUnit(m_prj, QStringLiteral("1-1-2"), 900000000);
        const QString oldId = m_unit.value(QStringLiteral("id")).toString(), newId = other.value(QStringLiteral("id")).toString();
        const auto statusRows = [&](const QString& unitId) {
            return historyOf(QStringLiteral("tbl='vahedha' and rec_id=? and amal='edit' and prj_id=?"),
                             {unitId, m_prj.value(QStringLiteral("id"))});
        };
        const QStringList soldOld = statusRows(oldId);
        dm().exec(QStringLiteral("update vahedha set status='رزرو' where id=?"), {newId});
        CustomerValues e = valuesOf(*customerRow(m_id));
        e.insert(unitValues(other));
        QVERIFY(!updateCustomer(m_id, e).done);   // a reserved unit is not for sale
        QVERIFY(statusRows(newId).isEmpty());
        QCOMPARE(statusRows(oldId), soldOld);
        dm().exec(QStringLiteral("update vahedha set status='فعال' where id=?"), {newId});
        e = valuesOf(*customerRow(m_id));
        e.insert(unitValues(other));
        QVERIFY(updateCustomer(m_id, e).done);
        QCOMPARE(statusRows(newId), QStringList {QStringLiteral("vahedha|status|فعال| فروخته شد کريمي|edit")});
        QCOMPARE(statusRows(oldId), soldOld + QStringList {QStringLiteral("vahedha|status| فروخته شد کريمي|فعال|edit")});
    }

    // The applicant's partners, dependants and spaces: what was added and
    // what was deleted, all under him; a space's status under its project,
    // from free to sold and back from the status it held.
    void childrenAndSpacesRecordUnderTheApplicant()
    {
        dm().exec(QStringLiteral("update customers set sahm=2 where id=?"), {m_id});
        const auto person = [](const QString& lname, const QString& sahm) {
            return partners::PersonValues {{QStringLiteral("fname"), QStringLiteral("رضا")}, {QStringLiteral("lname"), lname},
                                           {QStringLiteral("sahm"), sahm}, {QStringLiteral("nesbat"), QStringLiteral("فرزند")},
                                           {QStringLiteral("nation"), QStringLiteral("۰۰۱۲۳۴۵۶۷۰")}};
        };
        const auto r = partners::addPartner(m_id, person(QStringLiteral("شريک"), QStringLiteral("1.5")), test::answering(true));
        QVERIFY(r.done);
        QVERIFY(partners::addDependant(m_id, r.id, person(QStringLiteral("فرزند۱"), {})).done);
        const auto own = partners::addDependant(m_id, 0, person(QStringLiteral("فرزند۲"), {}));
        QVERIFY(own.done);
        const int added = historyCount();
        QVERIFY(!partners::addPartner(m_id, person(QStringLiteral("زياد"), QStringLiteral("5")), test::answering(true)).done);
        QVERIFY(!partners::deleteDependant(m_id + 1, own.id).done);   // not his: refused, nothing written
        QCOMPARE(historyCount(), added);
        QVERIFY(partners::deleteDependant(m_id, own.id).done);
        QVERIFY(partners::deletePartner(m_id, r.id).done);
        QCOMPARE(historyOf(QStringLiteral("cust_id=? and field in ('lname','sahm') and tbl in ('shoraka','takafol')"), {m_id}),
                 (QStringList {QStringLiteral("shoraka|lname|<null>|شريک|insert"), QStringLiteral("shoraka|sahm|<null>|1.5|insert"),
                               QStringLiteral("takafol|lname|<null>|فرزند۱|insert"), QStringLiteral("takafol|lname|<null>|فرزند۲|insert"),
                               QStringLiteral("takafol|lname|فرزند۲|<null>|delete"), QStringLiteral("takafol|lname|فرزند۱|<null>|delete"),
                               QStringLiteral("shoraka|lname|شريک|<null>|delete"), QStringLiteral("shoraka|sahm|1.5|<null>|delete")}));

        const qint64 prj = m_prj.value(QStringLiteral("id")).toLongLong();
        const qint64 space = dm().insert(QStringLiteral("parkingha"),
                                         {QStringLiteral("prj_id"), QStringLiteral("bolok"), QStringLiteral("num"), QStringLiteral("pos"),
                                          QStringLiteral("metraj"), QStringLiteral("mablagh"), QStringLiteral("status")},
                                         {prj, QStringLiteral("A"), 12, QStringLiteral("همکف"), 12.5, 50000000, items::freeStatus()});
        const auto a = assignments::assign(assignments::parkingSide(), m_id, space);
        QVERIFY(a.done);
        QVERIFY(assignments::unassign(assignments::parkingSide(), m_id, a.id).done);
        QCOMPARE(historyOf(QStringLiteral("tbl='parking' and field in ('num','mablagh')"), {}),
                 (QStringList {QStringLiteral("parking|mablagh|<null>|50000000|insert"), QStringLiteral("parking|num|<null>|12|insert"),
                               QStringLiteral("parking|num|12|<null>|delete"), QStringLiteral("parking|mablagh|50000000|<null>|delete")}));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from taghirat where tbl='parking' and cust_id<>?"), {m_id}), 0);
        QCOMPARE(historyOf(QStringLiteral("tbl='parkingha' and rec_id=? and prj_id=? and cust_id=0"), {space, prj}),
                 (QStringList {QStringLiteral("parkingha|status|فعال| فروخته شد کريمي|edit"),
                               QStringLiteral("parkingha|status| فروخته شد کريمي|فعال|edit")}));
        // Deleting him gives a space he holds back, in its project's history too.
        QVERIFY(assignments::assign(assignments::parkingSide(), m_id, space).done);
        QVERIFY(deleteCustomer(m_id).done);
        QCOMPARE(historyOf(QStringLiteral("tbl='parkingha' and rec_id=? and prj_id=? and cust_id=0"), {space, prj}).mid(2),
                 (QStringList {QStringLiteral("parkingha|status|فعال| فروخته شد کريمي|edit"),
                               QStringLiteral("parkingha|status| فروخته شد کريمي|فعال|edit")}));
    }

    // A unit's edit records its changed price and area under its project and
    // each buyer's copy under him (his discount kept in his price); its delete
    // its values; a project's edit its changed name and each applicant's copy.
    void unitsAndProjectsRecordTheirChangesAndTheBuyersCopies()
    {
        dm().exec(QStringLiteral("update customers set takhfif=50000000 where id=?"), {m_id});
        const qint64 prj = m_prj.value(QStringLiteral("id")).toLongLong();
        const qint64 unit = m_unit.value(QStringLiteral("id")).toLongLong();
        const QSqlRecord read = test::rowOf(QStringLiteral("vahedha"), unit);
        units::UnitForm f;
        f.karbari = QStringLiteral("مسکوني");
        f.bolok = f.tabaghe = f.vahed_no = QStringLiteral("1");
        f.metraj = QStringLiteral("120");
        f.teras = f.teras1 = f.hayat = f.hayat1 = f.metraj_z = QStringLiteral("0");
        f.mablagh1 = QStringLiteral("10000000");
        f.mablagh = QStringLiteral("1,200,000,000");
        f.otagh = QStringLiteral("2");
        f.status = read.value(QStringLiteral("status")).toString();
        const int before = historyCount();
        const auto edit = units::updateUnit(m_prj, unit, f, read);
        QVERIFY2(edit.done, qPrintable(edit.texts().join(' ')));
        QCOMPARE(historyOf(QStringLiteral("tbl='vahedha' and rec_id=? and prj_id=? and field in ('mablagh','metraj','status')"),
                           {unit, prj}),
                 (QStringList {QStringLiteral("vahedha|status|فعال| فروخته شد کريمي|edit"),
                               QStringLiteral("vahedha|mablagh|1000000000|1200000000|edit"),
                               QStringLiteral("vahedha|metraj|100|120|edit")}));
        QCOMPARE(historyOf(QStringLiteral("tbl='customers' and rec_id=? and cust_id=? and amal='edit'"), {m_id, m_id}),
                 (QStringList {QStringLiteral("customers|metraj|100|120|edit"),
                               QStringLiteral("customers|mablagh|1000000000|1150000000|edit")}));
        const qint64 editLog = dm().scalar(QStringLiteral("select max(id) from log")).toLongLong();
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from taghirat where log_id=?"), {editLog}), historyCount() - before);
        // Saved again unchanged: nothing.
        const int edited = historyCount();
        QVERIFY(units::updateUnit(m_prj, unit, f, test::rowOf(QStringLiteral("vahedha"), unit)).done);
        QCOMPARE(historyCount(), edited);

        const QSqlRecord free = test::addUnit(m_prj, QStringLiteral("1-1-2"), 900000000);
        QVERIFY(units::deleteUnit(m_prj, free.value(QStringLiteral("id")).toLongLong()).done);
        QCOMPARE(historyOf(QStringLiteral("tbl='vahedha' and amal='delete' and field in ('shenase','mablagh')"), {}),
                 (QStringList {QStringLiteral("vahedha|shenase|1-1-2|<null>|delete"),
                               QStringLiteral("vahedha|mablagh|900000000|<null>|delete")}));

        const QSqlRecord p = test::rowOf(QStringLiteral("projects"), prj);
        dm().exec(QStringLiteral("insert into abadiha (ostan,shahrestan) values (?,?)"),
                  {p.value(QStringLiteral("ostan")), p.value(QStringLiteral("shahrestan"))});
        projects::ProjectValues e = projects::valuesOf(p);
        e[QStringLiteral("prj_name")] = QStringLiteral("مهر۲");
        // The buyers' empty copies stay empty: no row for them.
        e[QStringLiteral("zamin_pelak")] = QString();
        dm().exec(QStringLiteral("update customers set zamin_pelak=null where id=?"), {m_id});
        const auto saved = projects::updateProject(prj, projects::valuesOf(p), e);
        QVERIFY2(saved.done, qPrintable(saved.message()));
        QCOMPARE(historyOf(QStringLiteral("field='prj_name' and amal='edit'"), {}),
                 (QStringList {QStringLiteral("projects|prj_name|مهر|مهر۲|edit"), QStringLiteral("customers|prj_name|مهر|مهر۲|edit")}));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from taghirat where field='prj_name' and tbl='customers' and amal='edit' and cust_id=? and rec_id=cust_id"),
                               {m_id}), 1);
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from taghirat where field='zamin_pelak' and tbl='customers'")), 0);
    }

    // A facility's edit, a unit's loan, a pre-registration's deposit, and a
    // user's level and password: the password only as changed, never its hash.
    void facilitiesDepositsAndUsers()
    {
        const qint64 prj = m_prj.value(QStringLiteral("id")).toLongLong();
        facilities::FacilityForm f;
        f.bank = QStringLiteral("ملت");
        f.etebar_loc = QStringLiteral("مسکن");
        f.prot_typ = QStringLiteral("مشارکت");
        f.mablagh = f.daryafti = QStringLiteral("1000000000");
        f.dat1 = QStringLiteral("1402/01/15");
        f.takhsis_dat = f.dat2 = f.tamdid_dat = QString::fromLatin1(kEmptyDateMask);
        f.darsad = QStringLiteral("0");
        f.vahed_cnt = QStringLiteral("10");
        const auto fac = facilities::insertFacility(prj, f);
        QVERIFY2(fac.done, qPrintable(fac.texts().join(' ')));
        f.daryafti = QStringLiteral("800,000,000");
        QVERIFY(facilities::updateFacility(fac.id, f, test::rowOf(QStringLiteral("tashilat"), fac.id)).done);
        const auto loan = facilities::addLoan(m_unit.value(QStringLiteral("id")).toLongLong(), fac.id, QStringLiteral("5000000"));
        QVERIFY(loan.done);
        QVERIFY(facilities::deleteLoan(loan.id).done);
        QCOMPARE(historyOf(QStringLiteral("prj_id=? and cust_id=0 and field in ('daryafti','mablagh') and tbl in ('tashilat','vahed_vam')"),
                           {prj}),
                 (QStringList {QStringLiteral("tashilat|daryafti|<null>|1000000000|insert"),
                               QStringLiteral("tashilat|mablagh|<null>|1000000000|insert"),
                               QStringLiteral("tashilat|daryafti|1000000000|800000000|edit"),
                               QStringLiteral("vahed_vam|mablagh|<null>|5000000|insert"),
                               QStringLiteral("vahed_vam|mablagh|5000000|<null>|delete")}));

        const qint64 person = dm().insert(QStringLiteral("pishsabt"), {QStringLiteral("lname"), QStringLiteral("nation")},
                                          {QStringLiteral("احمدي"), QStringLiteral("0012345670")});
        prereg::DepositValues d;
        for (const QString& c : prereg::depositColumns())
            d.insert(c, QString());
        d[QStringLiteral("mablagh")] = QStringLiteral("30,000,000");
        d[QStringLiteral("vosol")] = QStringLiteral("0");
        d[QStringLiteral("dat")] = QStringLiteral("1403/01/15");
        const auto dep = prereg::insertDeposit(person, d);
        QVERIFY(dep.done);
        QVERIFY(prereg::deleteDeposit(dep.id));
        QCOMPARE(historyOf(QStringLiteral("tbl='pishpardakht' and rec_id=? and field='mablagh'"), {dep.id}),
                 (QStringList {QStringLiteral("pishpardakht|mablagh|<null>|30000000|insert"),
                               QStringLiteral("pishpardakht|mablagh|30000000|<null>|delete")}));

        QVERIFY(useradmin::insertUser({QStringLiteral("reza"), QStringLiteral("secret1"), QStringLiteral("رضا"), {}, {},
                                       QStringLiteral("کاربر"), {}, QStringLiteral("فعال")}).isEmpty());
        const qint64 user = dm().scalar(QStringLiteral("select id from users where us='reza'")).toLongLong();
        const QSqlRecord read = test::rowOf(QStringLiteral("users"), user);
        QVERIFY(useradmin::updateUser(user, {QStringLiteral("reza"), QStringLiteral("secret2"), QStringLiteral("رضا"), {}, {},
                                             QStringLiteral("مدير"), {}, QStringLiteral("غيرفعال")},
                                      read).isEmpty());
        QCOMPARE(historyOf(QStringLiteral("tbl='users' and rec_id=? and amal='edit'"), {user}),
                 (QStringList {QStringLiteral("users|lev|کاربر|مدير|edit"), QStringLiteral("users|ps|<null>|<null>|edit"),
                               QStringLiteral("users|status|فعال|غيرفعال|edit")}));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from taghirat where tbl='users' and field='ps' and "
                                              "(old_val is not null or new_val is not null)")), 0);
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from taghirat where tbl='users' and field='ps' and amal='insert'")), 1);
        // Counties: the dropped and the added, nothing for the kept.
        QVERIFY(useradmin::saveCounties(user, {QStringLiteral("شيراز"), QStringLiteral("مرودشت")}).isEmpty());
        QVERIFY(useradmin::saveCounties(user, {QStringLiteral("مرودشت"), QStringLiteral("کازرون")}).isEmpty());
        QCOMPARE(historyOf(QStringLiteral("tbl='users' and rec_id=? and field='dastrasi2'"), {user}),
                 (QStringList {QStringLiteral("users|dastrasi2|<null>|شيراز|edit"), QStringLiteral("users|dastrasi2|<null>|مرودشت|edit"),
                               QStringLiteral("users|dastrasi2|شيراز|<null>|edit"), QStringLiteral("users|dastrasi2|<null>|کازرون|edit")}));
        // Page rights: one row per page whose rights change, as stored before
        // (a page without a row has none) and after; saving them again adds none.
        RightsMap rights = emptyRights();
        rights[QStringLiteral("customers")] = rightsFromCode(QStringLiteral("1101"));
        QVERIFY(useradmin::saveRights(user, rights).isEmpty());
        rights[QStringLiteral("customers")] = rightsFromCode(QStringLiteral("0001"));
        rights[QStringLiteral("log")] = rightsFromCode(QStringLiteral("0001"));
        QVERIFY(useradmin::saveRights(user, rights).isEmpty());
        QVERIFY(useradmin::saveRights(user, rights).isEmpty());
        QCOMPARE(historyOf(QStringLiteral("tbl='users' and rec_id=? and field like 'dastrasi:%'"), {user}),
                 (QStringList {QStringLiteral("users|dastrasi:customers|0000|1101|edit"),
                               QStringLiteral("users|dastrasi:customers|1101|0001|edit"),
                               QStringLiteral("users|dastrasi:log|0000|0001|edit")}));
        // Another administrator changes his rights and commits while this save
        // waits for the user's row: the row records the change from that value.
        rights[QStringLiteral("customers")] = rightsFromCode(QStringLiteral("1101"));
        QString refusal = QStringLiteral("not saved");
        test::whileAnotherUserHolds(
            [&](Database& db) {
                db.exec(QStringLiteral("update users set lev=lev where id=?"), {user});
                db.exec(QStringLiteral("update dastrasi set hazf=? where prs_id=? and page_name='customers'"), {true, user});
            },
            [&] { refusal = useradmin::saveRights(user, rights); });
        QVERIFY2(refusal.isEmpty(), qPrintable(refusal));
        QCOMPARE(historyOf(QStringLiteral("tbl='users' and rec_id=? and field='dastrasi:customers'"), {user}).last(),
                 QStringLiteral("users|dastrasi:customers|0011|1101|edit"));
        // A refused save (his own rights, by a user who is not the administrator) writes none.
        test::addUser(QStringLiteral("boss"), QStringLiteral("keshvar"));
        test::loginAs(QStringLiteral("boss"));
        const qint64 boss = session().prsId;
        QVERIFY(!useradmin::saveRights(boss, rights).isEmpty());
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from taghirat where rec_id=? and field like 'dastrasi:%'"), {boss}), 0);
    }
};

TAVRIN_DB_TEST_MAIN(TestHistory)
#include "tst_history.moc"
