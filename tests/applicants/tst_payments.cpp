// An applicant's payments: the collected total always equal to the rows, the
// duplicate check on the parsed amount, the balance, the deposit import, two
// users paying at once, the search totals, and the window opened from the list.
#include "applicants/applicant_fixtures.h"

#include "applicants/applicant_windows.h"
#include "applicants/child_texts.h"
#include "applicants/pardakht_src_u.h"
#include "applicants/pardakht_frm_u.h"

#include "common/listmodel.h"
#include "common/monedit.h"
#include "common/spreadsheetreader.h"
#include "common/session.h"
#include "common/windows.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace tavrin;
using namespace tavrin::payments;
using namespace tavrin::childtext;

namespace {

PaymentForm pay(const QString& mablagh, const QString& vosol, const QString& num, const QString& dat = QStringLiteral("1402/01/10"))
{
    PaymentForm f;
    f.pardakht_typ = QStringLiteral("چک");
    f.mablagh = mablagh;
    f.vosol = vosol;
    f.num = num;
    f.dat = dat;
    return f;
}

qint64 collected(qint64 id)
{
    return toMoney(dm().scalar(QStringLiteral("select pardakht_sum from customers where id=?"), {id}));
}

void addSpace(const QString& table, qint64 customerId, qint64 mablagh)
{
    dm().exec(QStringLiteral("insert into %1 (customer_id,num,metraj,mablagh) values (?,1,10,?)").arg(table), {customerId, mablagh});
}

qint64 addDeposit(qint64 preregId, const QString& num, qint64 mablagh, const QString& cmt)
{
    return dm().insert(QStringLiteral("pishpardakht"),
                       {QStringLiteral("pishsabt_id"), QStringLiteral("pardakht_typ"), QStringLiteral("mablagh"), QStringLiteral("num"),
                        QStringLiteral("vosol"), QStringLiteral("dat"), QStringLiteral("cmt"), QStringLiteral("norvad_bank")},
                       {preregId, QStringLiteral("پيش پرداخت"), mablagh, num, mablagh, QStringLiteral("1401/05/01"), cmt,
                        QStringLiteral("ملي")});
}

} // namespace

class TestPayments : public QObject {
    Q_OBJECT
    QSqlRecord m_prj;
    qint64 m_a = 0, m_b = 0;

private:
    // Drives the payments window while it is shown: Enter saves, a second Enter
    // is refused as a duplicate, delete puts the payment back into the fields.
    static void drive(Tpardakht_frm* w, test::DialogRecorder& rec)
    {
        const auto label = [w](const char* n) { return test::child<QLabel>(w, QString::fromLatin1(n))->text(); };
        test::child<QComboBox>(w, QStringLiteral("pardakht_typ"))->setEditText(QStringLiteral("فيش"));
        test::child<QLineEdit>(w, QStringLiteral("mablagh"))->setText(QStringLiteral("250000"));
        test::child<QLineEdit>(w, QStringLiteral("vosol"))->setText(QStringLiteral("250000"));
        test::child<QLineEdit>(w, QStringLiteral("num"))->setText(QStringLiteral("77"));
        QCOMPARE(label("vosol_3harfi"), QStringLiteral("250,000"));
        QTest::keyClick(test::child<QLineEdit>(w, QStringLiteral("num")), Qt::Key_Return);
        QCOMPARE(w->grid()->listModel()->totalCount(), 1);
        QCOMPARE(label("vosol_sum"), QStringLiteral("250,000"));
        QCOMPARE(label("mande"), QStringLiteral("750,000"));
        // A second Enter is the same payment again.
        QTest::keyClick(test::child<QLineEdit>(w, QStringLiteral("num")), Qt::Key_Return);
        QCOMPARE(rec.lastText(), kDuplicatePayment);
        // Delete puts the payment back into the fields.
        test::child<QLineEdit>(w, QStringLiteral("num"))->clear();
        w->grid()->setCurrentIndex(w->grid()->listModel()->index(0, 0));
        w->N1Click();
        QCOMPARE(test::child<QLineEdit>(w, QStringLiteral("num"))->text(), QStringLiteral("77"));
        QCOMPARE(label("mande"), QStringLiteral("1,000,000"));
        QVERIFY(test::child<QPushButton>(w, QStringLiteral("ins_btn"))->isEnabled());
    }

private Q_SLOTS:
    void init()
    {
        test::useFreshDatabase();
        test::loginAs(QStringLiteral("admin"));
        m_prj = test::addProject(QStringLiteral("مهر"), 10);
        const QSqlRecord u1 = test::addUnit(m_prj, QStringLiteral("1-1-1"), 1000000000);
        const QSqlRecord u2 = test::addUnit(m_prj, QStringLiteral("1-1-2"), 800000000);
        m_a = test::addBuyer(m_prj.value(QStringLiteral("id")).toLongLong(), u1.value(QStringLiteral("id")).toLongLong(),
                             QStringLiteral("کريمي"), QStringLiteral("0012345679"));
        m_b = test::addBuyer(m_prj.value(QStringLiteral("id")).toLongLong(), u2.value(QStringLiteral("id")).toLongLong(),
                             QStringLiteral("نوري"), QStringLiteral("0012345670"));
        dm().exec(QStringLiteral("update customers set ostan=?,shahrestan=? where id in (?,?)"),
                  {QStringLiteral("فارس"), QStringLiteral("شيراز"), m_a, m_b});
    }

    void collectedTotalFollowsAddAndDeleteAndDuplicatesCompareTheAmount()
    {
        QVERIFY(addPayment(m_a, pay(QStringLiteral("1,000,000"), QStringLiteral("1,000,000"), QStringLiteral("11"))).done);
        QCOMPARE(collected(m_a), qint64(1000000));
        // The same payment typed without separators is the same amount.
        Outcome r = addPayment(m_a, pay(QStringLiteral("1000000"), QStringLiteral("0"), QStringLiteral("11")));
        QCOMPARE(r.texts(), QStringList {kDuplicatePayment});
        // The same voucher for another applicant is his own payment.
        QVERIFY(addPayment(m_b, pay(QStringLiteral("1000000"), QStringLiteral("1000000"), QStringLiteral("11"))).done);
        // A cheque not yet collected grows the instalments, not the collected total.
        const Outcome cheque = addPayment(m_a, pay(QStringLiteral("2,500,000"), QStringLiteral("0"), QStringLiteral("12")));
        QVERIFY(cheque.done);
        QCOMPARE(collected(m_a), qint64(1000000));
        QCOMPARE(account(m_a)->mablaghSum, qint64(3500000));
        // Amounts that do not convert save nothing.
        QCOMPARE(addPayment(m_a, pay(QStringLiteral("12a"), QStringLiteral("0"), QStringLiteral("13"))).texts(),
                 QStringList {kMablaghNotNumber});
        QCOMPARE(addPayment(m_a, pay(QStringLiteral("5"), QStringLiteral(""), QStringLiteral("13"))).texts(),
                 QStringList {kVosolNotNumber});
        // A date is a whole valid date or none (stored as the empty date mask).
        r = addPayment(m_a, pay(QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("13"), QStringLiteral("1405/13/40")));
        QCOMPARE(r.texts(), QStringList {QStringLiteral("خطا! تاريخ چک/فيش معتبر نيست")});
        QCOMPARE(r.focus, QStringLiteral("dat"));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from pardakht where customer_id=?"), {m_a}), 2);
        for (const QString& dat : {QStringLiteral("۱۴۰۳/۰۱/۰۵"), QStringLiteral("//")}) {
            r = addPayment(m_b, pay(QStringLiteral("5"), QStringLiteral("0"), QStringLiteral("13"), dat));
            QVERIFY(r.done);
        }
        QCOMPARE(dm().textColumn(QStringLiteral("select dat from pardakht where customer_id=? and num='13' order by id"), {m_b}),
                 (QStringList {QStringLiteral("1403/01/05"), QString::fromLatin1(kEmptyDateMask)}));
        // Deleting every payment leaves 0, never an empty text.
        const qint64 first = dm().scalar(QStringLiteral("select min(id) from pardakht where customer_id=?"), {m_a}).toLongLong();
        QVERIFY(deletePayment(m_a, first).done);
        QVERIFY(deletePayment(m_a, cheque.id).done);
        QCOMPARE(dm().scalar(QStringLiteral("select pardakht_sum from customers where id=?"), {m_a}).toString(), QStringLiteral("0"));
        // Another applicant's payment is not deleted through this one.
        const qint64 other = dm().scalar(QStringLiteral("select id from pardakht where customer_id=?"), {m_b}).toLongLong();
        QVERIFY(!deletePayment(m_a, other).done);
        QCOMPARE(collected(m_b), qint64(1000000));
    }

    void balanceCountsTheDiscountOnce()
    {
        // Price 1,000,000,000 less a discount of 50,000,000 is stored as 950,000,000.
        dm().exec(QStringLiteral("update customers set mablagh=950000000,takhfif=50000000,vam=300000000 where id=?"), {m_a});
        std::optional<Account> a = account(m_a);
        QCOMPARE(a->anbari, qint64(0));
        QCOMPARE(a->mande(), qint64(650000000));
        addSpace(QStringLiteral("anbari"), m_a, 40000000);
        addSpace(QStringLiteral("parking"), m_a, 60000000);
        addSpace(QStringLiteral("parking"), m_a, 10000000);
        QVERIFY(addPayment(m_a, pay(QStringLiteral("200000000"), QStringLiteral("200000000"), QStringLiteral("1"))).done);
        a = account(m_a);
        QCOMPARE(a->parking, qint64(70000000));
        QCOMPARE(a->vahedSum(), qint64(950000000 + 40000000 + 70000000 - 300000000));
        QCOMPARE(a->mande(), qint64(560000000));
        QVERIFY(!account(999999));
    }

    void depositImportRunsOnceAndFitsTheBankColumn()
    {
        const qint64 prereg = dm().insert(QStringLiteral("pishsabt"), {QStringLiteral("nation"), QStringLiteral("lname")},
                                          {QStringLiteral("0012345679"), QStringLiteral("کريمي")});
        addDeposit(prereg, QStringLiteral("501"), 30000000, QString(60, QChar(0x0628)));
        addDeposit(prereg, QStringLiteral("502"), 20000000, QStringLiteral("واريز"));
        QCOMPARE(importDeposits(m_b).result.texts(), QStringList {kNoDeposits});
        ImportResult r = importDeposits(m_a);
        QVERIFY(r.result.done);
        QCOMPARE(r.imported, 2);
        QCOMPARE(collected(m_a), qint64(50000000));
        const QStringList banks = dm().textColumn(QStringLiteral("select bank from pardakht where customer_id=? order by id"), {m_a});
        QCOMPARE(banks[0].size(), 50);
        QVERIFY(banks[0].endsWith(kPreregMarker));
        QCOMPARE(banks[1], QStringLiteral("واريز") + kPreregMarker);
        r = importDeposits(m_a);
        QCOMPARE(r.imported, 0);
        QCOMPARE(r.skipped, 2);
        QCOMPARE(collected(m_a), qint64(50000000));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from pardakht")), 2);
    }

    // Another user pays 1,000,000 for the applicant while this one pays
    // 2,000,000: the total is written from the rows after both.
    void twoUsersPayingAtOnceLeaveTheSum()
    {
        test::whileAnotherUserHolds(
            [this](Database& db) {
                db.exec(QStringLiteral("update customers set pardakht_sum=pardakht_sum where id=?"), {m_a});
                db.exec(QStringLiteral("insert into pardakht (customer_id,pardakht_typ,mablagh,num,vosol,dat) values (?,?,?,?,?,?)"),
                        {m_a, QStringLiteral("فيش"), 1000000, QStringLiteral("1"), 1000000, QStringLiteral("1402/01/01")});
                db.exec(QStringLiteral("update customers set pardakht_sum=(select coalesce(sum(vosol),0) from pardakht where customer_id=?) "
                                       "where id=?"),
                        {m_a, m_a});
            },
            [this] { QVERIFY(addPayment(m_a, pay(QStringLiteral("2,000,000"), QStringLiteral("2,000,000"), QStringLiteral("2"))).done); });
        QCOMPARE(collected(m_a), qint64(3000000));
    }

    void searchTotalsKeepTheirScope()
    {
        QVERIFY(addPayment(m_a, pay(QStringLiteral("100"), QStringLiteral("100"), QStringLiteral("1"), QStringLiteral("1402/01/01"))).done);
        QVERIFY(addPayment(m_a, pay(QStringLiteral("200"), QStringLiteral("150"), QStringLiteral("2"), QStringLiteral("1402/02/01"))).done);
        QVERIFY(addPayment(m_b, pay(QStringLiteral("400"), QStringLiteral("400"), QStringLiteral("3"), QStringLiteral("1402/03/01"))).done);
        dm().exec(QStringLiteral("update customers set mablagh=1000,vam=100 where id in (?,?)"), {m_a, m_b});
        SearchCriteria c;
        c.dat = std::pair {QStringLiteral("1402/01/01"), QStringLiteral("1402/02/01")};
        SearchTotals t = searchTotals(c);
        QCOMPARE(t.applicants, 2);  // the applicant statement ignores payment criteria
        QCOMPARE(t.payments, 2);
        QCOMPARE(*t.vosolSum, qint64(250));
        QCOMPARE(*t.mande(), qint64(2000 - 200 - 250));
        // A county user sees only his counties' payments.
        dm().exec(QStringLiteral("update customers set shahrestan=? where id=?"), {QStringLiteral("مرودشت"), m_b});
        test::addUser(QStringLiteral("c1"), QStringLiteral("city"), QStringLiteral("فارس"), {}, {QStringLiteral("مرودشت")});
        test::loginAs(QStringLiteral("c1"));
        c.dat.reset();
        c.lname = QStringLiteral("نوری");  // Persian yeh finds the Arabic one stored
        t = searchTotals(c);
        QCOMPARE(t.payments, 1);
        ListModel m;
        m.setQuery(searchQuery(c));
        QCOMPARE(m.totalCount(), 1);
        c.lname.reset();
        c.shenase = QStringLiteral("1-1-1");
        QCOMPARE(searchTotals(c).payments, 0);
    }

    void windowOpensFromTheListAndKeepsTheAccount()
    {
        test::DialogRecorder rec;
        applicants::clearApplicantWindows();
        applicants::registerApplicantWindows();
        dm().exec(QStringLiteral("update customers set mablagh=1000000 where id=?"), {m_a});
        test::addUser(QStringLiteral("p1"), QStringLiteral("admin"), {}, {{QStringLiteral("pardakht"), QStringLiteral("1011")}});
        test::loginAs(QStringLiteral("p1"));
        int changed = 0;
        rec.onExec = [&](QDialog* d) {
            if (auto* w = qobject_cast<Tpardakht_frm*>(d))
                drive(w, rec);
            return 0;
        };
        QVERIFY(applicants::openApplicantWindow(QStringLiteral("N21"), m_a, nullptr, 700, [&changed] { ++changed; }));
        QCOMPARE(changed, 2);
        QCOMPARE(collected(m_a), qint64(0));
        // The search opens without a row; its totals and its export.
        QVERIFY(addPayment(m_a, pay(QStringLiteral("400000"), QStringLiteral("300000"), QStringLiteral("9"))).done);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.xlsx"));
        rec.files = {path};
        QString mande;
        rec.onExec = [&mande](QDialog* d) {
            if (auto* s = qobject_cast<Tpardakht_src*>(d)) {
                s->src_btnClick();
                mande = test::child<QLabel>(s, QStringLiteral("mande"))->text();
                s->N1Click();
            }
            return 0;
        };
        QVERIFY(applicants::openApplicantWindow(QStringLiteral("N23"), 0, nullptr, 700, {}));
        QCOMPARE(window<Tpardakht_src>().grid()->listModel()->totalCount(), 1);
        QCOMPARE(mande, QStringLiteral("700,000"));  // the units less what was collected
        const auto sheet = readSpreadsheet(path);
        QVERIFY(sheet);
        QCOMPARE(sheet->rows.size(), 2);
        QVERIFY(sheet->rows[0].contains(QStringLiteral("شناسه پرداخت")));
        QVERIFY(sheet->rows[0].contains(QStringLiteral("مبلغ وصول")));
    }
};

TAVRIN_DB_TEST_MAIN(TestPayments)
#include "tst_payments.moc"
