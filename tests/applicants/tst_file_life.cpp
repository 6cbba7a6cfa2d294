// A buyer's file after its first sale: taken back after a transfer, deleted
// as a former buyer or with storage rows older than the space ids, saved from
// a window another user has changed the record behind, a space or unit edited
// while it is sold, and a partner deleted while his dependant is added.  Each
// must leave one holder per unit and a clean consistency check.
#include "applicants/applicant_fixtures.h"

#include "applicants/applicant_texts.h"
#include "applicants/assignments_logic.h"
#include "applicants/child_texts.h"
#include "applicants/customers_ins_u.h"
#include "applicants/partners_logic.h"

#include "common/windows.h"
#include "maintenance/consistency.h"
#include "projects/item_rules.h"
#include "projects/units_logic.h"

#include <QLineEdit>

using namespace tavrin;
using namespace tavrin::applicants;

namespace {

const QString kMask = QString::fromLatin1(kEmptyDateMask);

QStringList findings()
{
    QStringList out;
    for (const maintenance::Finding& f : maintenance::checkConsistency(dm()))
        out << f.plainLine();
    return out;
}

QVariant column(const QString& table, qint64 id, const QString& c)
{
    return dm().scalar(QStringLiteral("select %1 from %2 where id=?").arg(c, table), {id});
}

} // namespace

class TestFileLife : public QObject {
    Q_OBJECT
    QSqlRecord m_prj, m_unit;
    qint64 m_prjId = 0;

    qint64 sell(const QSqlRecord& unit, const QString& lname, const QString& nation)
    {
        CustomerValues v = test::saleOf(m_prj, unit, lname, nation);
        const Outcome r = insertCustomer(v, test::answering(true));
        if (!r.done)
            qWarning() << "not sold:" << r.texts();
        return r.done ? r.id : -1;
    }

    // The applicant's file edited with a transfer date (or cleared again), as the record window saves it.
    Outcome setTransfer(qint64 id, const QString& date)
    {
        CustomerValues e = valuesOf(*customerRow(id));
        e[QStringLiteral("transport_dat")] = date;
        e[QStringLiteral("status")] = date == kMask ? custext::kActive : custext::kTransferred;
        return updateCustomer(id, e);
    }

    void setUnitStatus(const QString& status)
    {
        dm().exec(QStringLiteral("update vahedha set status=? where id=?"), {status, m_unit.value(QStringLiteral("id"))});
    }

private Q_SLOTS:
    void init()
    {
        test::useFreshDatabase();
        test::loginAs(QStringLiteral("admin"));
        m_prj = test::addProject(QStringLiteral("مهر"), 10, 5, 5);
        m_prjId = m_prj.value(QStringLiteral("id")).toLongLong();
        m_unit = test::addUnit(m_prj, QStringLiteral("1-1-1"), 1000000000, 300000000);
        dm().insert(QStringLiteral("vahed_vam"),
                    {QStringLiteral("prj_id"), QStringLiteral("tashilat_id"), QStringLiteral("vahed_id"), QStringLiteral("mablagh")},
                    {m_prjId, 0, m_unit.value(QStringLiteral("id")), 300000000});
    }

    // Clearing a former buyer's transfer date sells him the unit again: refused
    // while another buyer holds it, taken through the sale's conditional update
    // while it is free or still carries his own sold status.
    void takingBackATransferredFileIsASale()
    {
        const qint64 a = sell(m_unit, QStringLiteral("الف"), QStringLiteral("0012345679"));
        QVERIFY(setTransfer(a, QStringLiteral("1404/02/01")).done);
        // Never set free: his own sold status, nobody else on it; taken back.
        QVERIFY(setTransfer(a, kMask).done);
        QCOMPARE(test::unitStatus(m_unit), items::soldStatus(QStringLiteral("الف")));
        // Transferred, the unit set free and sold to another buyer: refused, nothing changes.
        QVERIFY(setTransfer(a, QStringLiteral("1404/02/01")).done);
        setUnitStatus(items::freeStatus());
        const qint64 b = sell(m_unit, QStringLiteral("ب"), QStringLiteral("0012345671"));
        QVERIFY(b > 0);
        const Outcome r = setTransfer(a, kMask);
        QCOMPARE(r.texts(), QStringList {custext::kUnitSoldTo + QStringLiteral("ب")});
        QCOMPARE(column(QStringLiteral("customers"), a, QStringLiteral("transport_dat")).toString(), QStringLiteral("1404/02/01"));
        QVERIFY2(findings().isEmpty(), qPrintable(findings().join(QLatin1Char('\n'))));
        // Nobody holds it and it is free: taken back, marked sold to him, with the unit's loan.
        QVERIFY(deleteCustomer(b).done);
        QCOMPARE(test::unitStatus(m_unit), items::freeStatus());
        dm().exec(QStringLiteral("update customers set vam=0 where id=?"), {a});
        QVERIFY(setTransfer(a, kMask).done);
        QCOMPARE(test::unitStatus(m_unit), items::soldStatus(QStringLiteral("الف")));
        QCOMPARE(toMoney(column(QStringLiteral("customers"), a, QStringLiteral("vam"))), qint64(300000000));
        QVERIFY2(findings().isEmpty(), qPrintable(findings().join(QLatin1Char('\n'))));
        // Set to another status (reserved) meanwhile: not taken back.
        QVERIFY(setTransfer(a, QStringLiteral("1404/03/01")).done);
        setUnitStatus(QStringLiteral("رزرو"));
        QCOMPARE(setTransfer(a, kMask).texts(), QStringList {custext::kUnitNotActive});
    }

    // Deleting a former buyer gives back nothing he no longer holds; deleting a
    // buyer frees the spaces of his rows, also rows without the space's id,
    // unless another applicant's row holds the space.
    void deleteGivesBackOnlyWhatHeStillHolds()
    {
        const qint64 a = sell(m_unit, QStringLiteral("الف"), QStringLiteral("0012345679"));
        QVERIFY(setTransfer(a, QStringLiteral("1404/02/01")).done);
        setUnitStatus(QStringLiteral("رزرو"));
        QVERIFY(deleteCustomer(a).done);
        QCOMPARE(test::unitStatus(m_unit), QStringLiteral("رزرو"));

        setUnitStatus(items::freeStatus());
        const qint64 b = sell(m_unit, QStringLiteral("ب"), QStringLiteral("0012345671"));
        const qint64 c = test::addBuyer(m_prjId, 0, QStringLiteral("ج"), QStringLiteral("0012345672"));
        const auto space = [this](int num, const QString& status) {
            return dm().insert(QStringLiteral("anbariha"),
                               {QStringLiteral("prj_id"), QStringLiteral("bolok"), QStringLiteral("num"), QStringLiteral("pos"),
                                QStringLiteral("status")},
                               {m_prjId, QStringLiteral("A"), num, QStringLiteral("همکف"), status});
        };
        const auto row = [this](qint64 customer, int num, const QVariant& spaceId) {
            dm().exec(QStringLiteral("insert into anbari (customer_id,prj_id,bolok,num,pos,anbari_id) values (?,?,?,?,?,?)"),
                      {customer, m_prjId, QStringLiteral("A"), num, QStringLiteral("همکف"), spaceId});
        };
        const qint64 byNull = space(1, items::soldStatus(QStringLiteral("ب")));
        const qint64 byZero = space(2, items::soldStatus(QStringLiteral("ب")));
        const qint64 shared = space(3, items::soldStatus(QStringLiteral("ج")));
        const qint64 other = space(4, items::soldStatus(QStringLiteral("ج")));
        row(b, 1, QVariant(QMetaType::fromType<int>()));
        row(b, 2, 0);
        row(b, 3, shared);   // also held by c's older row below
        row(c, 3, 0);
        row(c, 4, other);
        QVERIFY(deleteCustomer(b).done);
        QCOMPARE(test::unitStatus(m_unit), items::freeStatus());
        QCOMPARE(column(QStringLiteral("anbariha"), byNull, QStringLiteral("status")).toString(), items::freeStatus());
        QCOMPARE(column(QStringLiteral("anbariha"), byZero, QStringLiteral("status")).toString(), items::freeStatus());
        QCOMPARE(column(QStringLiteral("anbariha"), shared, QStringLiteral("status")).toString(), items::soldStatus(QStringLiteral("ج")));
        QCOMPARE(column(QStringLiteral("anbariha"), other, QStringLiteral("status")).toString(), items::soldStatus(QStringLiteral("ج")));
    }

    // A sale takes the unit's particulars from its row under its lock, not from
    // a window filled before another user edited the unit; an edit that keeps
    // the unit does not write them back.
    void saleAndEditUseTheUnitAsStoredNow()
    {
        CustomerValues stale = test::saleOf(m_prj, m_unit, QStringLiteral("الف"), QStringLiteral("0012345679"));
        dm().exec(QStringLiteral("update vahedha set shenase='2-1-1',bolok='2',metraj=120,mablagh1=11000000,mablagh=1320000000 "
                                 "where id=?"),
                  {m_unit.value(QStringLiteral("id"))});
        const Outcome r = insertCustomer(stale, test::answering(true));
        QVERIFY(r.done);
        QSqlRecord row = *customerRow(r.id);
        QCOMPARE(text(row.value(QStringLiteral("shenase"))), QStringLiteral("2-1-1"));
        QCOMPARE(text(row.value(QStringLiteral("bolok"))), QStringLiteral("2"));
        QCOMPARE(row.value(QStringLiteral("metraj")).toDouble(), 120.0);
        QCOMPARE(toMoney(row.value(QStringLiteral("mablagh1"))), qint64(11000000));
        QCOMPARE(toMoney(row.value(QStringLiteral("mablagh"))), qint64(1320000000));
        // A new unit with the identifier the window showed can be sold.
        const QSqlRecord again = test::addUnit(m_prj, QStringLiteral("1-1-1"), 900000000);
        QVERIFY(sell(again, QStringLiteral("ب"), QStringLiteral("0012345671")) > 0);
        // The unit edited behind an open record window: the window's edit keeps
        // the stored particulars; with the row the window read, it is refused.
        const CustomerValues shown = valuesOf(row);
        const QSqlRecord read = row;
        dm().exec(QStringLiteral("update customers set metraj=130,mablagh1=12000000 where id=?"), {r.id});
        CustomerValues e = shown;
        e[QStringLiteral("mobile")] = QStringLiteral("09120000000");
        QVERIFY(updateCustomer(r.id, e).done);
        row = *customerRow(r.id);
        QCOMPARE(row.value(QStringLiteral("metraj")).toDouble(), 130.0);
        QCOMPARE(toMoney(row.value(QStringLiteral("mablagh1"))), qint64(12000000));
        e = shown;
        e[QStringLiteral("mobile")] = QStringLiteral("09129999999");
        const Outcome refused = updateCustomer(r.id, e, 0, read);
        QVERIFY(refused.changedByOther && !refused.done);
        QCOMPARE(refused.texts(),
                 QStringList {QStringLiteral("خطا! اين متقاضي پس از باز شدن اين پنجره توسط کاربر ديگري تغيير کرده است و ذخيره نشد")});
        QCOMPARE(text(column(QStringLiteral("customers"), r.id, QStringLiteral("mobile"))), QStringLiteral("09120000000"));
        // A total another window keeps (a payment recorded meanwhile) does not block the edit.
        const QSqlRecord fresh = *customerRow(r.id);
        dm().exec(QStringLiteral("update customers set pardakht_sum=5 where id=?"), {r.id});
        QVERIFY(updateCustomer(r.id, e, 0, fresh).done);
    }

    // Two users on one applicant's record: the second save is refused and the
    // window offers the stored record, which Yes shows.
    void recordWindowOffersTheOtherUsersChange()
    {
        test::DialogRecorder rec;
        const qint64 a = sell(m_unit, QStringLiteral("الف"), QStringLiteral("0012345679"));
        Tcustomers_ins& w = window<Tcustomers_ins>();
        w.prepareEdit(*customerRow(a));
        CustomerValues other = valuesOf(*customerRow(a));
        other[QStringLiteral("father")] = QStringLiteral("محمد");
        QVERIFY(updateCustomer(a, other, 0, *customerRow(a)).done);
        w.findChild<QLineEdit*>(QStringLiteral("mobile"))->setText(QStringLiteral("09127777777"));
        rec.answers.push_back(Answer::Yes);
        w.edit_btnClick();
        QCOMPARE(rec.shown.size(), 1);
        QCOMPARE(rec.shown[0].kind, QStringLiteral("question"));
        QVERIFY(rec.shown[0].text.startsWith(QStringLiteral("خطا! اين متقاضي پس از باز شدن")));
        QCOMPARE(text(column(QStringLiteral("customers"), a, QStringLiteral("mobile"))), QStringLiteral("09121234567"));
        QCOMPARE(w.values().value(QStringLiteral("father")), QStringLiteral("محمد"));
        // Now current: the next save goes through.
        rec.shown.clear();
        w.findChild<QLineEdit*>(QStringLiteral("mobile"))->setText(QStringLiteral("09127777777"));
        w.edit_btnClick();
        QCOMPARE(rec.texts(), QStringList {});
        QCOMPARE(text(column(QStringLiteral("customers"), a, QStringLiteral("mobile"))), QStringLiteral("09127777777"));
    }

    // Another user edits the storage room (price, area, number) and keeps his
    // transaction open while this one sells it: the sale waits and copies the
    // room as it stands after that edit.
    void spaceSaleCopiesTheSpaceAsEditedMeanwhile()
    {
        const qint64 a = sell(m_unit, QStringLiteral("الف"), QStringLiteral("0012345679"));
        const qint64 room = dm().insert(QStringLiteral("anbariha"),
                                        {QStringLiteral("prj_id"), QStringLiteral("bolok"), QStringLiteral("num"),
                                         QStringLiteral("pos"), QStringLiteral("metraj"), QStringLiteral("mablagh1"),
                                         QStringLiteral("mablagh"), QStringLiteral("status")},
                                        {m_prjId, QStringLiteral("A"), 5, QStringLiteral("همکف"), 10.0, 1000000, 10000000,
                                         items::freeStatus()});
        Outcome r;
        test::whileAnotherUserHolds(
            [room](Database& db) {
                db.exec(QStringLiteral("update anbariha set num=6,metraj=12,mablagh=15000000 where id=?"), {room});
            },
            [&] { r = assignments::assign(assignments::storageSide(), a, room); });
        QVERIFY(r.done);
        const QSqlRecord row = test::rowOf(QStringLiteral("anbari"), r.id);
        QCOMPARE(row.value(QStringLiteral("num")).toInt(), 6);
        QCOMPARE(row.value(QStringLiteral("metraj")).toDouble(), 12.0);
        QCOMPARE(toMoney(row.value(QStringLiteral("mablagh"))), qint64(15000000));
        QCOMPARE(toMoney(column(QStringLiteral("customers"), a, QStringLiteral("anbari_mablagh"))), qint64(15000000));
    }

    // A partner deleted while another user adds his dependant: the delete waits
    // for the applicant's row and deletes the new dependant with the partner;
    // the check names a dependant whose partner is gone.
    void partnerDeleteWaitsForHisDependant()
    {
        const qint64 a = sell(m_unit, QStringLiteral("الف"), QStringLiteral("0012345679"));
        const qint64 partner = dm().insert(QStringLiteral("shoraka"), {QStringLiteral("customer_id"), QStringLiteral("sahm")}, {a, 0});
        Outcome r;
        test::whileAnotherUserHolds(
            [a, partner](Database& db) {
                db.exec(QStringLiteral("update customers set sahm=sahm where id=?"), {a});
                db.exec(QStringLiteral("insert into takafol (customer_id,shoraka_id,fname) values (?,?,'x')"), {a, partner});
            },
            [&] { r = partners::deletePartner(a, partner); });
        QVERIFY(r.done);
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from takafol")), 0);
        QVERIFY2(findings().isEmpty(), qPrintable(findings().join(QLatin1Char('\n'))));
        dm().exec(QStringLiteral("insert into takafol (customer_id,shoraka_id,fname) values (?,?,'y')"), {a, partner});
        const QStringList f = findings();
        QCOMPARE(f.size(), 1);
        QVERIFY2(f[0].contains(QStringLiteral("dependant of partner %1").arg(partner)), qPrintable(f[0]));
    }
};

TAVRIN_DB_TEST_MAIN(TestFileLife)
#include "tst_file_life.moc"
