// Storage rooms and parking spaces sold to an applicant: only the chosen
// space changes, two users selling one space leave one holder, the totals
// follow every add and delete, the selectors of the window, and the search.
#include "applicants/applicant_fixtures.h"

#include "applicants/applicant_windows.h"
#include "applicants/assignments_logic.h"
#include "applicants/child_texts.h"
#include "applicants/customers_ins_u.h"
#include "applicants/parking_anbari_u.h"

#include "common/listmodel.h"
#include "common/monedit.h"
#include "common/windows.h"
#include "projects/item_rules.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

using namespace tavrin;
using namespace tavrin::assignments;
using namespace tavrin::childtext;

namespace {

qint64 addSpace(const QString& table, qint64 prjId, const QString& bolok, int num, const QString& pos, qint64 mablagh)
{
    return dm().insert(table,
                       {QStringLiteral("prj_id"), QStringLiteral("bolok"), QStringLiteral("num"), QStringLiteral("pos"),
                        QStringLiteral("metraj"), QStringLiteral("mablagh1"), QStringLiteral("mablagh"), QStringLiteral("status")},
                       {prjId, bolok, num, pos, 12.5, mablagh / 10, mablagh, items::freeStatus()});
}

QString status(const QString& table, qint64 id)
{
    return dm().scalar(QStringLiteral("select status from %1 where id=?").arg(table), {id}).toString();
}

QVariant customerValue(qint64 id, const QString& column)
{
    return dm().scalar(QStringLiteral("select %1 from customers where id=?").arg(column), {id});
}

} // namespace

class TestAssignments : public QObject {
    Q_OBJECT
    qint64 m_prj = 0, m_a = 0, m_b = 0;
    qint64 m_p1 = 0, m_p2 = 0, m_s1 = 0;
    const QString kParkingha = QStringLiteral("parkingha");

private Q_SLOTS:
    void init()
    {
        test::useFreshDatabase();
        test::loginAs(QStringLiteral("admin"));
        const QSqlRecord prj = test::addProject(QStringLiteral("مهر"), 10, 5, 5);
        m_prj = prj.value(QStringLiteral("id")).toLongLong();
        m_a = test::addBuyer(m_prj, test::addUnit(prj, QStringLiteral("1-1-1"), 1000).value(QStringLiteral("id")).toLongLong(),
                             QStringLiteral("کريمي"), QStringLiteral("0012345679"));
        m_b = test::addBuyer(m_prj, test::addUnit(prj, QStringLiteral("1-1-2"), 1000).value(QStringLiteral("id")).toLongLong(),
                             QStringLiteral("نوري"), QStringLiteral("0012345670"));
        dm().exec(QStringLiteral("update customers set ostan=?,shahrestan=?,prj_name=? where id in (?,?)"),
                  {QStringLiteral("فارس"), QStringLiteral("شيراز"), QStringLiteral("مهر"), m_a, m_b});
        // Two parking spaces share block and number at two positions.
        m_p1 = addSpace(kParkingha, m_prj, QStringLiteral("A"), 12, QStringLiteral("همکف"), 50000000);
        m_p2 = addSpace(kParkingha, m_prj, QStringLiteral("A"), 12, QStringLiteral("زيرزمين"), 40000000);
        addSpace(kParkingha, m_prj, QStringLiteral("A"), 112, QStringLiteral("همکف"), 30000000);
        m_s1 = addSpace(QStringLiteral("anbariha"), m_prj, QStringLiteral("B"), 3, QStringLiteral("همکف"), 20000000);
    }

    void onlyTheChosenSpaceIsSoldAndTotalsFollowTheRows()
    {
        const Outcome r = assign(parkingSide(), m_a, m_p1);
        QVERIFY(r.done);
        QCOMPARE(status(kParkingha, m_p1), items::soldStatus(QStringLiteral("کريمي")));
        QCOMPARE(status(kParkingha, m_p2), items::freeStatus());
        QCOMPARE(freePositions(parkingSide(), m_prj, QStringLiteral("A"), QStringLiteral("۱۲")), QStringList {QStringLiteral("زيرزمين")});
        QVERIFY(assign(storageSide(), m_a, m_s1).done);
        QCOMPARE(toMoney(customerValue(m_a, QStringLiteral("parking_mablagh"))), qint64(50000000));
        QCOMPARE(toMoney(customerValue(m_a, QStringLiteral("anbari_mablagh"))), qint64(20000000));
        QCOMPARE(customerValue(m_a, QStringLiteral("parking")).toDouble(), 12.5);
        // The same space again, and a space of another project, are refused.
        QCOMPARE(assign(parkingSide(), m_b, m_p1).texts(),
                 QStringList {kParkingNotActive + items::soldStatus(QStringLiteral("کريمي"))});
        const QSqlRecord other = test::addProject(QStringLiteral("ديگر"), 1, 0, 1);
        const qint64 foreign = addSpace(kParkingha, other.value(QStringLiteral("id")).toLongLong(), QStringLiteral("A"), 1, {}, 1);
        QCOMPARE(assign(parkingSide(), m_b, foreign).texts(), QStringList {kParkingNotInProject});
        // A space still reading "فعال" but held by an applicant's row names him.
        dm().exec(QStringLiteral("update parkingha set status=? where id=?"), {items::freeStatus(), m_p1});
        QCOMPARE(assign(parkingSide(), m_b, m_p1).texts(), QStringList {kParkingSoldTo + QStringLiteral("کريمي")});
        // Delete frees exactly that space, recomputes the amount (0) and logs.
        const qint64 row = dm().scalar(QStringLiteral("select id from parking where customer_id=?"), {m_a}).toLongLong();
        dm().exec(QStringLiteral("update parkingha set status=? where id=?"), {items::soldStatus(QStringLiteral("کريمي")), m_p1});
        QVERIFY(!unassign(parkingSide(), m_b, row).done);
        QVERIFY(unassign(parkingSide(), m_a, row).done);
        QCOMPARE(status(kParkingha, m_p1), items::freeStatus());
        QCOMPARE(customerValue(m_a, QStringLiteral("parking_mablagh")).toString(), QStringLiteral("0"));
        QCOMPARE(test::logComments(),
                 (QStringList {parkingSide().logNew + QStringLiteral("فارس شيراز کريمي 12"),
                               storageSide().logNew + QStringLiteral("فارس شيراز کريمي 3"),
                               parkingSide().logDelete + QStringLiteral("فارس شيراز کريمي 12")}));
    }

    // Rows written before they carried the space's id name their holder and
    // free their space by project, block, number and position.
    void rowsWithoutSpaceIdKeepAndFreeTheirPosition()
    {
        dm().exec(QStringLiteral("insert into parking (customer_id,num,prj_id,bolok,pos,mablagh) values (?,12,?,'A',?,5)"),
                  {m_b, m_prj, QStringLiteral("همکف")});
        QCOMPARE(assign(parkingSide(), m_a, m_p1).texts(), QStringList {kParkingSoldTo + QStringLiteral("نوري")});
        QVERIFY(assign(parkingSide(), m_a, m_p2).done);  // the other position of the same number
        dm().exec(QStringLiteral("update parkingha set status=? where id=?"), {items::soldStatus(QStringLiteral("نوري")), m_p1});
        const qint64 legacy = dm().scalar(QStringLiteral("select id from parking where customer_id=?"), {m_b}).toLongLong();
        QVERIFY(unassign(parkingSide(), m_b, legacy).done);
        QCOMPARE(status(kParkingha, m_p1), items::freeStatus());
        QCOMPARE(status(kParkingha, m_p2), items::soldStatus(QStringLiteral("کريمي")));
    }

    // Another user sells the space and keeps his transaction open while this
    // one sells it too: one row, the other user's.
    void twoUsersSellingOneSpaceLeaveOneRow()
    {
        Outcome r;
        test::whileAnotherUserHolds(
            [this](Database& db) {
                db.exec(QStringLiteral("update parkingha set status=? where id=? and status=?"),
                        {items::soldStatus(QStringLiteral("نوري")), m_p1, items::freeStatus()});
                db.exec(QStringLiteral("insert into parking (customer_id,num,prj_id,bolok,pos,parking_id) values (?,12,?,'A',?,?)"),
                        {m_b, m_prj, QStringLiteral("همکف"), m_p1});
            },
            [&] { r = assign(parkingSide(), m_a, m_p1); });
        QVERIFY(!r.done);
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from parking where parking_id=?"), {m_p1}), 1);
        QCOMPARE(status(kParkingha, m_p1), items::soldStatus(QStringLiteral("نوري")));
        QVERIFY(test::logComments().isEmpty());
    }

    void windowSelectsAddsDeletesAndWritesTheAreasOnClose()
    {
        test::DialogRecorder rec;
        applicants::clearApplicantWindows();
        applicants::registerApplicantWindows();
        int changed = 0;
        QString mablaghShown, totalShown, afterBlock;
        rec.onExec = [&](QDialog* d) {
            auto* w = qobject_cast<Tparking_anbari*>(d);
            if (!w)
                return 0;
            auto* bolok = test::child<QComboBox>(w, QStringLiteral("bolok_p"));
            auto* num = test::child<QComboBox>(w, QStringLiteral("num"));
            auto* pos = test::child<QComboBox>(w, QStringLiteral("pos"));
            bolok->setCurrentText(QStringLiteral("A"));
            num->setCurrentText(QStringLiteral("12"));
            pos->setCurrentText(QStringLiteral("زيرزمين"));
            mablaghShown = test::child<QLineEdit>(w, QStringLiteral("mablagh_p"))->text();
            QTest::keyClick(pos, Qt::Key_Return);  // Enter adds the chosen space
            totalShown = test::child<QLabel>(w, QStringLiteral("parking_mablagh"))->text();
            // After the sale the selectors start again from the block.
            bolok->setCurrentText(QStringLiteral("A"));
            num->setCurrentText(QStringLiteral("12"));
            pos->setCurrentIndex(0);
            afterBlock = test::child<QLineEdit>(w, QStringLiteral("parking_id"))->text();
            bolok->setCurrentIndex(-1);
            afterBlock += QLatin1Char('/') + test::child<QLineEdit>(w, QStringLiteral("parking_id"))->text() + QLatin1Char('/') +
                          test::child<QLineEdit>(w, QStringLiteral("mablagh_p"))->text();
            // The storage room, then its delete.
            test::child<QComboBox>(w, QStringLiteral("bolok_a"))->setCurrentText(QStringLiteral("B"));
            test::child<QComboBox>(w, QStringLiteral("num2"))->setCurrentText(QStringLiteral("3"));
            test::child<QComboBox>(w, QStringLiteral("pos2"))->setCurrentIndex(0);
            w->ins_btn2Click();
            w->grid(false)->setCurrentIndex(w->grid(false)->listModel()->index(0, 0));
            w->N2Click();
            w->reject();
            return 0;
        };
        QVERIFY(applicants::openApplicantWindow(QStringLiteral("N22"), m_a, nullptr, 700, [&changed] { ++changed; }));
        QCOMPARE(mablaghShown, QStringLiteral("40000000"));
        QCOMPARE(totalShown, QStringLiteral("40,000,000"));
        QCOMPARE(afterBlock, QString::number(m_p1) + QStringLiteral("/0/0"));
        QCOMPARE(status(kParkingha, m_p2), items::soldStatus(QStringLiteral("کريمي")));
        QCOMPARE(status(kParkingha, m_p1), items::freeStatus());
        QCOMPARE(status(QStringLiteral("anbariha"), m_s1), items::freeStatus());
        QCOMPARE(customerValue(m_a, QStringLiteral("parking")).toDouble(), 12.5);
        QCOMPARE(customerValue(m_a, QStringLiteral("anbari")).toDouble(), 0.0);
        QCOMPARE(changed, 4);  // two sales, one delete, the close
        QCOMPARE(rec.texts(), QStringList {});
        // The search takes parking number 12 exactly (not 112).
        QVERIFY(assign(parkingSide(), m_b, m_p1).done);
        SearchCriteria c;
        c.parkingNum = QStringLiteral("12");
        ListModel m;
        m.setQuery(searchQuery(parkingSide(), c));
        QCOMPARE(m.totalCount(), 2);
        c.parkingNum = QStringLiteral("2");
        m.setQuery(searchQuery(parkingSide(), c));
        QCOMPARE(m.totalCount(), 0);
        QVERIFY(applicants::openApplicantWindow(QStringLiteral("N24"), 0, nullptr, 700, {}));
        // The record's button opens the same window on the record's applicant.
        Tcustomers_ins& record = window<Tcustomers_ins>();
        record.prepareEdit(*applicants::customerRow(m_b));
        auto* button = test::child<QToolButton>(&record, QStringLiteral("ins_btn2"));
        QVERIFY(button->isEnabled());
        qint64 opened = 0;
        rec.onExec = [&opened](QDialog* d) {
            if (auto* w = qobject_cast<Tparking_anbari*>(d))
                opened = w->customerId();
            return 0;
        };
        button->click();
        QCOMPARE(opened, m_b);
    }
};

TAVRIN_DB_TEST_MAIN(TestAssignments)
#include "tst_assignments.moc"
