// Partners and dependants: the share limit of six (also when two users add
// partners at once), the questions about a person known elsewhere, a
// partner's dependants going with him, the child relation, the searches and
// the windows opened from the list.
#include "applicants/applicant_fixtures.h"

#include "applicants/applicant_windows.h"
#include "applicants/child_texts.h"
#include "applicants/customers_src_u.h"
#include "applicants/partners_logic.h"
#include "applicants/shoraka_u.h"
#include "applicants/takafol_frm_u.h"

#include "common/listmodel.h"
#include "common/session.h"
#include "common/windows.h"

#include <QComboBox>
#include <QLineEdit>

using namespace tavrin;
using namespace tavrin::partners;
using namespace tavrin::childtext;

namespace {

PersonValues person(const QString& fname, const QString& lname, const QString& sahm = QStringLiteral("0"),
                    const QString& nesbat = {})
{
    return {{QStringLiteral("fname"), fname}, {QStringLiteral("lname"), lname}, {QStringLiteral("sahm"), sahm},
            {QStringLiteral("nesbat"), nesbat}, {QStringLiteral("nation"), QStringLiteral("۰۰۱۲۳۴۵۶۷۹")}};
}

int rows(const QString& table)
{
    return test::countOf(QStringLiteral("select count(*) from %1").arg(table));
}

} // namespace

class TestPartners : public QObject {
    Q_OBJECT
    qint64 m_a = 0, m_b = 0;

    void setShare(qint64 id, double sahm) { dm().exec(QStringLiteral("update customers set sahm=? where id=?"), {sahm, id}); }

private Q_SLOTS:
    void init()
    {
        test::useFreshDatabase();
        test::loginAs(QStringLiteral("admin"));
        const QSqlRecord prj = test::addProject(QStringLiteral("مهر"), 10);
        const qint64 p = prj.value(QStringLiteral("id")).toLongLong();
        m_a = test::addBuyer(p, test::addUnit(prj, QStringLiteral("1-1-1"), 1000).value(QStringLiteral("id")).toLongLong(),
                             QStringLiteral("کريمي"), QStringLiteral("0012345679"));
        m_b = test::addBuyer(p, test::addUnit(prj, QStringLiteral("1-1-2"), 1000).value(QStringLiteral("id")).toLongLong(),
                             QStringLiteral("نوري"), QStringLiteral("0012345670"));
        dm().exec(QStringLiteral("update customers set ostan=?,shahrestan=?,prj_name=? where id in (?,?)"),
                  {QStringLiteral("فارس"), QStringLiteral("شيراز"), QStringLiteral("مهر"), m_a, m_b});
        setShare(m_a, 2);
    }

    void sharesNeverPassSix()
    {
        const auto yes = test::answering(true);
        QVERIFY(addPartner(m_a, person(QStringLiteral("الف"), QStringLiteral("اول"), QStringLiteral("3")), yes).done);
        QCOMPARE(addPartner(m_a, person(QStringLiteral("ب"), QStringLiteral("دوم"), QStringLiteral("1.5")), yes).texts(),
                 QStringList {kShareOverSix});
        QVERIFY(addPartner(m_a, person(QStringLiteral("ب"), QStringLiteral("دوم"), QStringLiteral("1")), yes).done);
        QCOMPARE(addPartner(m_a, person(QStringLiteral("ج"), QStringLiteral("سوم"), QStringLiteral("0.5")), yes).texts(),
                 QStringList {kShareOverSix});
        QCOMPARE(addPartner(m_b, person(QStringLiteral("د"), QStringLiteral("چهارم"), QStringLiteral("6.5")), yes).texts(),
                 QStringList {kShareMaxSix});
        QCOMPARE(rows(QStringLiteral("shoraka")), 2);
        // The national code is stored with ASCII digits.
        QCOMPARE(dm().scalar(QStringLiteral("select nation from shoraka where sahm=3")).toString(), QStringLiteral("0012345679"));
        // The applicant's own share decides whether the window opens.
        setShare(m_b, 6);
        QCOMPARE(partnersRefusal(test::rowOf(QStringLiteral("customers"), m_b)), kShareSixNoPartner);
        setShare(m_b, 5.5);
        QVERIFY(partnersRefusal(test::rowOf(QStringLiteral("customers"), m_b)).isEmpty());
    }

    // Another user adds a partner with 3 while this one adds one with 2 to an
    // applicant holding 2: the second sees the first under the row lock.
    void twoUsersAddingPartnersStayWithinSix()
    {
        Outcome r;
        test::whileAnotherUserHolds(
            [this](Database& db) {
                db.exec(QStringLiteral("update customers set sahm=sahm where id=?"), {m_a});
                db.exec(QStringLiteral("insert into shoraka (customer_id,fname,lname,sahm) values (?,?,?,3)"),
                        {m_a, QStringLiteral("الف"), QStringLiteral("اول")});
            },
            [&] { r = addPartner(m_a, person(QStringLiteral("ب"), QStringLiteral("دوم"), QStringLiteral("2")), test::answering(true)); });
        QCOMPARE(r.texts(), QStringList {kShareOverSix});
        QCOMPARE(dm().scalar(QStringLiteral("select sum(sahm) from shoraka where customer_id=?"), {m_a}).toDouble(), 3.0);
    }

    void knownPeopleAreAskedAboutAndDependantsGoWithTheirPartner()
    {
        // The applicant himself as a partner of another unit: No keeps him out.
        PersonValues v = person(QStringLiteral("علي"), QStringLiteral("کريمي"));
        v[QStringLiteral("nation")] = QStringLiteral("0012345679");
        QStringList asked;
        QVERIFY(!addPartner(m_b, v, test::answering(false, &asked)).done);
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked[0].startsWith(kApplicantElsewhere));
        const Outcome partner = addPartner(m_b, v, test::answering(true));
        QVERIFY(partner.done);
        // Dependants: the same name with another relation is another person.
        PersonValues child = person(QStringLiteral("سارا"), QStringLiteral("کريمي"), {}, kChild);
        child[QStringLiteral("birthday")] = QStringLiteral("1400/02/32");
        const Outcome badDate = addDependant(m_b, partner.id, child);
        QCOMPARE(badDate.texts(), QStringList {QStringLiteral("خطا! ت تولد معتبر نيست")});
        QCOMPARE(badDate.focus, QStringLiteral("birthday"));
        child[QStringLiteral("birthday")] = QStringLiteral(" / / ");   // blanks and slashes: no date
        QVERIFY(addDependant(m_b, partner.id, child).done);
        QVERIFY(addDependant(m_b, 0, person(QStringLiteral("سارا"), QStringLiteral("کريمي"), {}, QStringLiteral("همسر"))).done);
        QCOMPARE(addDependant(m_b, 0, person(QStringLiteral("سارا"), QStringLiteral("کريمي"), {}, kChild)).texts(),
                 QStringList {kDuplicateDependant});
        QCOMPARE(dm().scalar(QStringLiteral("select birthday from takafol where shoraka_id=?"), {partner.id}).toString(),
                 QString::fromLatin1(kEmptyDateMask));
        // A child takes the surname and first name of the person supporting it.
        QCOMPARE(childValues(m_b, 0).value(QStringLiteral("lname")), QStringLiteral("نوري"));
        QCOMPARE(childValues(m_b, partner.id).value(QStringLiteral("lname")), QStringLiteral("کريمي"));
        QCOMPARE(childValues(m_b, partner.id).value(QStringLiteral("father")), QStringLiteral("علي"));
        // Deleting the partner deletes his dependants only.
        QVERIFY(!deletePartner(m_a, partner.id).done);
        QVERIFY(deletePartner(m_b, partner.id).done);
        QCOMPARE(rows(QStringLiteral("shoraka")), 0);
        QCOMPARE(rows(QStringLiteral("takafol")), 1);
        // The searches: Persian kaf and yeh find the Arabic forms stored; counties are scoped.
        DependantCriteria d;
        d.lname = QStringLiteral("کریمی");
        ListModel m;
        m.setQuery(dependantSearch(d));
        QCOMPARE(m.totalCount(), 1);
        test::addUser(QStringLiteral("c1"), QStringLiteral("city"), QStringLiteral("فارس"), {}, {QStringLiteral("مرودشت")});
        test::loginAs(QStringLiteral("c1"));
        m.setQuery(dependantSearch(d));
        QCOMPARE(m.totalCount(), 0);
    }

    void windowsOpenFromTheList()
    {
        test::DialogRecorder rec;
        applicants::clearApplicantWindows();
        applicants::registerApplicantWindows();
        // Every entry of the list whose window is built is enabled.
        Tcustomers_src& list = window<Tcustomers_src>();
        list.applyRights(Rights {true, true, true, true});
        list.prepareToShow();
        for (const char* entry : {"N4", "N21", "N6", "N3", "N22", "N26", "N29", "N23", "N24", "N30"})
            QVERIFY2(list.menuAction(QString::fromLatin1(entry))->isEnabled(), entry);
        test::addUser(QStringLiteral("t1"), QStringLiteral("admin"), {}, {{QStringLiteral("takafol"), QStringLiteral("1001")}});
        test::loginAs(QStringLiteral("t1"));
        setShare(m_b, 6);
        rec.onExec = [](QDialog*) { return 0; };
        applicants::openApplicantWindow(QStringLiteral("N26"), m_b, nullptr, 700, {});
        QCOMPARE(rec.texts(), QStringList {kShareSixNoPartner});
        QCOMPARE(rec.shown.size(), 1);  // and no window
        // A partner added from the window, then his child from his dependants.
        QStringList windows;
        rec.onExec = [&](QDialog* d) {
            windows << d->objectName();
            if (auto* w = qobject_cast<Tshoraka*>(d)) {
                w->form().setValues(person(QStringLiteral("مريم"), QStringLiteral("رضايي"), QStringLiteral("4")));
                QTest::keyClick(w->form().field(QStringLiteral("fname")), Qt::Key_Return);
                w->grid()->setCurrentIndex(w->grid()->listModel()->index(0, 0));
                w->N2Click();
            } else if (auto* t = qobject_cast<Ttakafol_frm*>(d)) {
                qobject_cast<QComboBox*>(t->form().field(QStringLiteral("nesbat")))->setEditText(kChild);
                t->form().setValues({{QStringLiteral("fname"), QStringLiteral("سارا")}});
                t->ins_btnClick();
            }
            return 0;
        };
        QVERIFY(applicants::openApplicantWindow(QStringLiteral("N26"), m_a, nullptr, 700, {}));
        QCOMPARE(windows, (QStringList {QStringLiteral("Tshoraka"), QStringLiteral("Ttakafol_frm")}));
        const auto child = dm().firstRow(QStringLiteral("select lname,father,shoraka_id,takafol from takafol"));
        QVERIFY(child);
        QCOMPARE(child->value(0).toString(), QStringLiteral("رضايي"));
        QCOMPARE(child->value(1).toString(), QStringLiteral("مريم"));
        QCOMPARE(child->value(2).toLongLong(), dm().scalar(QStringLiteral("select id from shoraka")).toLongLong());
        QCOMPARE(child->value(3).toString(), kSupported);
        // The applicant's own dependants: the list entry with the page's rights.
        int listed = -1;
        rec.onExec = [&listed](QDialog* d) {
            if (auto* t = qobject_cast<Ttakafol_frm*>(d))
                listed = t->grid()->listModel()->totalCount();
            return 0;
        };
        QVERIFY(applicants::openApplicantWindow(QStringLiteral("N4"), m_a, nullptr, 700, {}));
        QCOMPARE(listed, 0);
        // Without the insert right nothing is added, whatever the keyboard does.
        test::addUser(QStringLiteral("t2"), QStringLiteral("admin"), {}, {{QStringLiteral("takafol"), QStringLiteral("0001")}});
        test::loginAs(QStringLiteral("t2"));
        rec.onExec = [](QDialog* d) {
            if (auto* t = qobject_cast<Ttakafol_frm*>(d)) {
                t->form().setValues(person(QStringLiteral("سارا"), QStringLiteral("کريمي"), {}, QStringLiteral("همسر")));
                QTest::keyClick(t->form().field(QStringLiteral("fname")), Qt::Key_Return);
                t->ins_btnClick();
            }
            return 0;
        };
        QVERIFY(applicants::openApplicantWindow(QStringLiteral("N4"), m_a, nullptr, 700, {}));
        QCOMPARE(rows(QStringLiteral("takafol")), 1);
        QVERIFY(applicants::openApplicantWindow(QStringLiteral("N30"), 0, nullptr, 700, {}));
    }
};

TAVRIN_DB_TEST_MAIN(TestPartners)
#include "tst_partners.moc"
