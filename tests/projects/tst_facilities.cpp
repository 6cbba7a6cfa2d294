// Facilities of a project and the loans of its units: the proposed loan, the
// received amount that loans never exceed (also when two users add at once),
// the totals on the unit and its holder, the facility's save, edit and delete
// checks, and the two windows driven through their controls.
#include "unit_fixtures.h"

#include "common/listmodel.h"
#include "common/monedit.h"
#include "common/spreadsheetreader.h"
#include "projects/facilities_logic.h"
#include "projects/facility_texts.h"
#include "projects/project_panels.h"
#include "projects/project_src_u.h"
#include "projects/project_tashilat_u.h"
#include "projects/project_vahed_u.h"
#include "projects/units_logic.h"
#include "projects/vahed_vam_u.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>


using namespace tavrin;
using namespace tavrin::facilities;

namespace {

const QString kPartnership = factext::kCivilPartnership;
const QString kSupportive = factext::kSupportive;

FacilityForm facility(const QString& bank, const QString& source, const QString& type, const QString& received,
                      const QString& units = QStringLiteral("10"), const QString& dat1 = QStringLiteral("1402/01/15"))
{
    FacilityForm f;
    f.bank = bank;
    f.etebar_loc = source;
    f.prot_typ = type;
    f.mablagh = received;
    f.daryafti = received;
    f.dat1 = dat1;
    f.takhsis_dat = f.dat2 = f.tamdid_dat = QString::fromLatin1(kEmptyDateMask);
    f.darsad = QStringLiteral("0");
    f.vahed_cnt = units;
    return f;
}

qint64 unitOf(qint64 prjId, const QString& shenase)
{
    return dm().insert(QStringLiteral("vahedha"), {QStringLiteral("prj_id"), QStringLiteral("shenase"), QStringLiteral("bolok"), QStringLiteral("vam")},
                       {prjId, shenase, QStringLiteral("الف"), 0});
}

qint64 vamOf(const QString& table, qint64 id)
{
    const QVariant v = dm().scalar(QStringLiteral("select vam from %1 where id=?").arg(table), {id});
    return v.isNull() ? -1 : toMoney(v);
}

int loanCount()
{
    return test::countOf(QStringLiteral("select count(*) from vahed_vam"));
}

} // namespace

class TestFacilities : public QObject {
    Q_OBJECT
    QSqlRecord m_prj;
    qint64 m_prjId = 0;

    qint64 added(const Outcome& r)
    {
        if (!r.done)
            qWarning() << "refused:" << r.texts();
        return r.done ? r.id : -1;
    }

private Q_SLOTS:
    void init()
    {
        destroyWindows();
        test::useFreshDatabase();
        m_prj = test::addProject(QStringLiteral("مهر"), 20);
        m_prjId = items::recordId(m_prj);
    }

    void proposalsAndTheFacilitiesOffered()
    {
        QCOMPARE(proposedLoan(1000000000, 10), 100000000);
        QCOMPARE(proposedLoan(1000000000, 3), 333333333);  // whole rials, truncated
        QCOMPARE(proposedLoan(1000000000, 0), 0);
        const qint64 a = added(insertFacility(m_prjId, facility("ملت", "مسکن مهر", kPartnership, "1,000,000,000", "10")));
        const qint64 b = added(insertFacility(m_prjId, facility("ملت", "مسکن مهر", kSupportive, "600000000", "3")));
        QVERIFY(added(insertFacility(m_prjId, facility("ملت", "دفتر مرکزي", kPartnership, "0"))) > 0);
        QVERIFY(added(insertFacility(m_prjId, facility("صادرات", "مسکن مهر", kPartnership, "0", "1", "1402/03/01"))) > 0);
        // Facilities that received nothing are not offered, nor banks that only have such.
        QCOMPARE(loanBanks(m_prjId), QStringList {QStringLiteral("ملت")});
        QCOMPARE(creditSources(m_prjId, QStringLiteral("ملت")), QStringList {QStringLiteral("مسکن مهر")});
        // Two facilities of one bank, source and date are told apart and chosen by id.
        const auto choices = facilityChoices(m_prjId, QStringLiteral("ملت"), QStringLiteral("مسکن مهر"));
        QCOMPARE(choices.size(), 2);
        QCOMPARE(choices[0].id, a);
        QCOMPARE(choices[0].proposed, 100000000);
        QCOMPARE(choices[0].label, QStringLiteral("1402/01/15 - ") + kPartnership + QStringLiteral(" - 1,000,000,000"));
        QCOMPARE(choices[1].id, b);
        QCOMPARE(choices[1].proposed, 200000000);
        // A date of its own is shown alone.
        dm().exec(QStringLiteral("update tashilat set dat1='1402/02/01' where id=?"), {b});
        QCOMPARE(facilityChoices(m_prjId, QStringLiteral("ملت"), QStringLiteral("مسکن مهر"))[1].label, QStringLiteral("1402/02/01"));
    }

    // Loans never take a facility beyond its received amount; the unit's and its
    // current holder's totals follow every add and delete.
    void loansStayWithinTheReceivedAmountAndTotalsFollow()
    {
        const qint64 f = added(insertFacility(m_prjId, facility("ملت", "مسکن مهر", kPartnership, "1000000000")));
        const qint64 f2 = added(insertFacility(m_prjId, facility("ملت", "مسکن مهر", kSupportive, "1000000000")));
        const qint64 u1 = unitOf(m_prjId, "1"), u2 = unitOf(m_prjId, "2"), u3 = unitOf(m_prjId, "3");
        // (a transfer date of slashes only is no date: he holds the unit)
        const qint64 holder = test::addBuyer(m_prjId, u1, QStringLiteral("رضايي"), QStringLiteral("0012345679"), {}, QStringLiteral("//"));
        const qint64 former = test::addBuyer(m_prjId, u1, QStringLiteral("قبلي"), QStringLiteral("0012345680"), {},
                                             QStringLiteral("1401/05/05"));
        dm().exec(QStringLiteral("update customers set vam=5 where id=?"), {former});

        QVERIFY(added(addLoan(u1, f, QStringLiteral("600,000,000"))) > 0);
        QCOMPARE(vamOf("vahedha", u1), 600000000);
        QCOMPARE(vamOf("customers", holder), 600000000);
        QCOMPARE(vamOf("customers", former), 5);  // a buyer who passed the unit on keeps his own
        QVERIFY(added(addLoan(u2, f, QStringLiteral("400000000"))) > 0);
        // Used up: nothing more, not even a zero loan.
        QCOMPARE(addLoan(u3, f, QStringLiteral("1")).texts(), QStringList {factext::kFacilityExhausted});
        QCOMPARE(addLoan(u3, f, QStringLiteral("0")).texts(), QStringList {factext::kFacilityExhausted});
        // A loan that would cross the received amount is refused while the sum is still below it.
        QVERIFY(added(addLoan(u1, f2, QStringLiteral("900000000"))) > 0);
        QCOMPARE(addLoan(u2, f2, QStringLiteral("200000000")).texts(), QStringList {factext::kFacilityExhausted});
        QCOMPARE(addLoan(u1, f2, QStringLiteral("1")).texts(), QStringList {factext::kAlreadyGiven});
        QCOMPARE(usage(f2)->remaining(), 100000000);
        // Amounts that are not whole rials a money column holds write nothing.
        for (const char* bad : {"", "abc", "-5", "12.5", "9999999999999999"})
            QCOMPARE(addLoan(u3, f2, QString::fromLatin1(bad)).texts(), QStringList {factext::kLoanNotNumber});
        // A loan tied to no facility, once per unit; Persian digits are digits.
        QVERIFY(added(addLoan(u3, 0, QStringLiteral("۲۵۰"))) > 0);
        QCOMPARE(addLoan(u3, 0, QStringLiteral("0")).texts(), QStringList {factext::kAlreadyGiven});
        QCOMPARE(vamOf("vahedha", u3), 250);
        QCOMPARE(loanCount(), 4);
        QCOMPARE(addLoan(9999, f2, QStringLiteral("1")).texts(), QStringList {factext::kUnitGone});

        QCOMPARE(vamOf("vahedha", u1), 1500000000);
        QCOMPARE(vamOf("customers", holder), 1500000000);
        const QList<qint64> loans = [&] {
            QList<qint64> ids;
            QSqlQuery q = dm().exec(QStringLiteral("select id from vahed_vam where vahed_id=? order by id"), {u1});
            while (q.next())
                ids << q.value(0).toLongLong();
            return ids;
        }();
        QVERIFY(deleteLoan(loans[0]).done);
        QCOMPARE(vamOf("vahedha", u1), 900000000);
        QVERIFY(deleteLoan(loans[1]).done);
        // After the last loan the totals are 0, never empty or NULL.
        QCOMPARE(vamOf("vahedha", u1), 0);
        QCOMPARE(vamOf("customers", holder), 0);
        QCOMPARE(deleteLoan(loans[1]).texts(), QStringList {factext::kLoanGone});
        QCOMPARE(unitLoanTotal(u1), 0);
        QCOMPARE(unitLoanTotal(u2), 400000000);
    }

    // Another user adds a loan from the same facility while this one is
    // adding: the used sum is read after the other's commit, so the two loans
    // of 1,000,000,000 from a facility that received 1,000,000,000 end as one.
    void twoUsersCannotBothUseTheWholeFacility()
    {
        const qint64 f = added(insertFacility(m_prjId, facility("ملت", "مسکن مهر", kPartnership, "1000000000")));
        const qint64 mine = unitOf(m_prjId, "1"), theirs = unitOf(m_prjId, "2");
        Outcome r;
        test::whileAnotherUserHolds(
            [&](Database& db) {
                db.exec(QStringLiteral("update vahedha set vam=vam where id=?"), {theirs});
                db.exec(QStringLiteral("update tashilat set daryafti=daryafti where id=?"), {f});
                db.exec(QStringLiteral("insert into vahed_vam (prj_id,tashilat_id,vahed_id,mablagh) values (?,?,?,1000000000)"),
                        {m_prjId, f, theirs});
            },
            [&] {
                r = addLoan(mine, f, QStringLiteral("1000000000"));
            });
        QCOMPARE(r.texts(), QStringList {factext::kFacilityExhausted});
        QCOMPARE(loanCount(), 1);
        QCOMPARE(vamOf("vahedha", mine), 0);
    }

    // A unit edited while another user gives it a loan: the buyer's copy of the
    // unit takes the loan total as committed, not as it was before the edit waited.
    void unitEditDoesNotUndoALoanGivenMeanwhile()
    {
        const qint64 unit = dm().insert(QStringLiteral("vahedha"),
                                        {QStringLiteral("prj_id"), QStringLiteral("bolok"), QStringLiteral("tabaghe"),
                                         QStringLiteral("vahed_no"), QStringLiteral("shenase"), QStringLiteral("vam")},
                                        {m_prjId, QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
                                         QStringLiteral("1-1-1"), 0});
        const qint64 holder = test::addBuyer(m_prjId, unit, QStringLiteral("رضايي"), QStringLiteral("0012345679"));
        units::UnitForm f;
        f.bolok = f.tabaghe = f.vahed_no = QStringLiteral("1");
        f.metraj = f.metraj_z = f.teras = f.hayat = f.mablagh1 = f.teras1 = f.hayat1 = f.mablagh = QStringLiteral("0");
        f.status = QStringLiteral("فعال");
        Outcome r;
        const QSqlRecord read = test::rowOf(QStringLiteral("vahedha"), unit);
        test::whileAnotherUserHolds(
            [&](Database& db) {
                db.exec(QStringLiteral("update vahedha set vam=700 where id=?"), {unit});
            },
            [&] {
                r = units::updateUnit(m_prj, unit, f, read);
            });
        QVERIFY(r.done);
        QCOMPARE(vamOf("customers", holder), 700);
    }

    void facilitySaveEditAndDeleteChecks()
    {
        FacilityForm f = facility("ملت", "مسکن مهر", kPartnership, "1000000000");
        const auto refusal = [&](FacilityForm g) {
            const auto r = insertFacility(m_prjId, g);
            return QStringList {r.texts().value(0), r.focus};
        };
        FacilityForm g = f;
        g.bank.clear();
        g.prot_typ.clear();
        QCOMPARE(refusal(g), (QStringList {factext::kBankRequired, QStringLiteral("bank")}));
        g.bank = f.bank;
        QCOMPARE(refusal(g), (QStringList {factext::kProtTypRequired, QStringLiteral("prot_typ")}));
        g = f;
        g.etebar_loc.clear();
        QCOMPARE(refusal(g), (QStringList {factext::kEtebarLocRequired, QStringLiteral("etebar_loc")}));
        g = f;
        g.mablagh = QStringLiteral("12a");
        QCOMPARE(refusal(g), (QStringList {factext::kMablaghNotNumber, QStringLiteral("mablagh")}));
        g = f;
        g.daryafti = QStringLiteral("1000000001");
        QCOMPARE(refusal(g), (QStringList {factext::kReceivedAboveTotal, QStringLiteral("daryafti")}));
        g = f;
        g.tamdid_dat = QStringLiteral(" 140/50/80");  // typed from the middle of the mask
        QCOMPARE(refusal(g), (QStringList {QStringLiteral("خطا! ") + factext::kTamdidDatCaption.trimmed() + QStringLiteral(" معتبر نيست"),
                                           QStringLiteral("tamdid_dat")}));
        g = f;
        g.bank = QString(21, QChar(0x0628));
        QCOMPARE(refusal(g), (QStringList {factext::tooLong(factext::kBankCaption, 20), QStringLiteral("bank")}));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from tashilat")), 0);
        // An empty received amount is 0; the same source, type and start date is a duplicate.
        g = f;
        g.daryafti.clear();
        const qint64 id = added(insertFacility(m_prjId, g));
        QCOMPARE(toMoney(test::rowOf(QStringLiteral("tashilat"), id).value(QStringLiteral("daryafti"))), 0);
        QCOMPARE(insertFacility(m_prjId, f).texts(), QStringList {factext::kDuplicate});
        QCOMPARE(usage(id)->used, 0);
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from log")), 0);  // facilities write no log

        // The received amount cannot go below what the loans use; the message names the sum.
        QVERIFY(updateFacility(id, f, test::rowOf(QStringLiteral("tashilat"), id)).done);
        const qint64 unit = unitOf(m_prjId, "1");
        QVERIFY(added(addLoan(unit, id, QStringLiteral("600000000"))) > 0);
        QVERIFY(added(addLoan(unit, 0, QStringLiteral("5"))) > 0);
        g = f;
        g.daryafti = QStringLiteral("500,000,000");
        QCOMPARE(updateFacility(id, g, test::rowOf(QStringLiteral("tashilat"), id)).texts(), QStringList {factext::kReceivedBelowUsed + QStringLiteral("600000000")});
        QCOMPARE(toMoney(test::rowOf(QStringLiteral("tashilat"), id).value(QStringLiteral("daryafti"))), 1000000000);
        g.daryafti = QStringLiteral("600000000");
        g.cmt = QStringLiteral("اصلاح");
        QVERIFY(updateFacility(id, g, test::rowOf(QStringLiteral("tashilat"), id)).done);
        QCOMPARE(usage(id)->remaining(), 0);
        QCOMPARE(text(test::rowOf(QStringLiteral("tashilat"), id).value(QStringLiteral("cmt"))), QStringLiteral("اصلاح"));

        // A facility in use cannot be deleted; once free, only its own row goes.
        QVERIFY(hasLoans(id));
        QCOMPARE(deleteFacility(id).texts(), QStringList {factext::kDeleteRefused});
        dm().exec(QStringLiteral("delete from vahed_vam where tashilat_id=?"), {id});
        QVERIFY(deleteFacility(id).done);
        QCOMPARE(deleteFacility(id).texts(), QStringList {factext::kFacilityGone});
        QCOMPARE(updateFacility(id, f, test::rowOf(QStringLiteral("tashilat"), id)).texts(), QStringList {factext::kFacilityGone});
        QCOMPARE(loanCount(), 1);
    }

    void facilitiesWindow()
    {
        for (const QString& t : {kSupportive, kPartnership})
            dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"), {factext::kSettingContractType, t});
        dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,'secret')"), {QStringLiteral("رمز حذف")});
        test::DialogRecorder rec;
        Tproject_tashilat& w = window<Tproject_tashilat>();
        w.applyRights({true, true, true, true});
        w.prepare(m_prj);
        w.show();  // Enter reaches the default button of a shown window only
        QCOMPARE(w.windowTitle(), factext::kFacilitiesCaption);
        QCOMPARE(w.prot_typ->count(), 2);
        QVERIFY(w.ins_btn->isVisibleTo(&w) && !w.edit_btn->isVisibleTo(&w));

        // Contract-type rules.
        w.prot_typ->setEditText(kSupportive);
        QCOMPARE(w.bank->currentText(), factext::kNotApplicable);
        QVERIFY(!w.bank->isEnabled() && !w.darsad->isEnabled() && !w.dat2->isEnabled() && !w.tamdid_dat->isEnabled());
        QVERIFY(w.etebar_loc->isEnabled() && w.etebar_loc->styleSheet().contains(QLatin1String("yellow")));
        QCOMPARE(w.mablaghCaption->text(), factext::kMablaghCaptionSupportive);
        QCOMPARE(w.dat1Caption->text(), factext::kDat1CaptionSupportive);
        w.prot_typ->setEditText(kPartnership);
        QCOMPARE(w.etebar_loc->currentText(), factext::kNotApplicable);
        QVERIFY(!w.etebar_loc->isEnabled() && !w.takhsis_dat->isEnabled());
        QVERIFY(w.bank->isEnabled() && w.darsad->isEnabled() && w.dat2->styleSheet().contains(QLatin1String("yellow")));
        QCOMPARE(w.dat1Caption->text(), factext::kDat1CaptionPartnership);
        w.mablagh->setText(QStringLiteral("1000000000"));
        QCOMPARE(w.daryafti->text(), QStringLiteral("1000000000"));
        QCOMPARE(w.daryafti_3harfi->text(), QStringLiteral("1,000,000,000"));
        w.prot_typ->setEditText(QStringLiteral("ساير"));
        QVERIFY(w.etebar_loc->isEnabled() && w.takhsis_dat->isEnabled() && w.etebar_loc->styleSheet().isEmpty());
        QCOMPARE(w.mablaghCaption->text(), factext::kMablaghCaption);

        // Save from the form; Enter saves as the button does.
        w.prot_typ->setEditText(kPartnership);
        w.bank->setEditText(QStringLiteral("ملت"));
        w.vahed_cnt->setText(QStringLiteral("10"));
        // Dates: a click into the middle of an empty date starts at its year;
        // an impossible date is refused with the field's message and focus.
        w.dat1->setCursorPosition(6);
        const QPoint middle = w.dat1->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QTest::mouseClick(w.dat1, Qt::LeftButton, {}, middle);
        QTest::keyClicks(w.dat1, "14020115");
        w.dat2->setText(QStringLiteral("14051340"));
        w.ins_btn->click();
        QCOMPARE(rec.texts(), QStringList {QStringLiteral("خطا! ") + factext::kDat2Caption.trimmed() + QStringLiteral(" معتبر نيست")});
        QCOMPARE(w.focusWidget(), w.dat2);
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from tashilat")), 0);
        rec.clear();
        w.dat2->setText(QString());
        w.ins_btn->click();
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(w.DBGrid1->listModel()->totalCount(), 1);
        const QSqlRecord row = w.DBGrid1->listModel()->record(0);
        QCOMPARE(text(row.value(QStringLiteral("etebar_loc"))), factext::kNotApplicable);
        QCOMPARE(text(row.value(QStringLiteral("takhsis_dat"))), QString::fromLatin1(kEmptyDateMask));
        QCOMPARE(text(row.value(QStringLiteral("dat1"))), QStringLiteral("1402/01/15"));
        QTest::keyClick(w.cmt, Qt::Key_Return);
        QTest::keyClick(w.bank, Qt::Key_Return);
        QCOMPARE(rec.texts(), (QStringList {factext::kDuplicate, factext::kDuplicate}));

        // Used and remaining on a click: a facility without loans has all of it left.
        const qint64 id = items::recordId(row);
        w.DBGrid1->setCurrentIndex(w.DBGrid1->listModel()->index(0, 0));
        w.DBGrid1CellClick();
        QCOMPARE(w.vahed_tashilat_sum->text(), QStringLiteral("0"));
        QCOMPARE(w.mande->text(), QStringLiteral("1,000,000,000"));

        // A refused edit stays an edit of the same facility.
        QVERIFY(added(addLoan(unitOf(m_prjId, "1"), id, QStringLiteral("600000000"))) > 0);
        w.N3Click();
        QCOMPARE(w.editedId(), id);
        QCOMPARE(w.bank->currentText(), QStringLiteral("ملت"));
        QCOMPARE(w.dat1->displayText(), QStringLiteral("1402/01/15"));
        rec.clear();
        w.daryafti->setText(QStringLiteral("500000000"));
        w.edit_btn->click();
        QCOMPARE(rec.texts(), QStringList {factext::kReceivedBelowUsed + QStringLiteral("600000000")});
        QVERIFY(w.edit_btn->isVisibleTo(&w) && w.editedId() == id);
        w.daryafti->setText(QStringLiteral("700000000"));
        w.edit_btn->click();
        QVERIFY(w.ins_btn->isVisibleTo(&w));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from tashilat")), 1);
        w.DBGrid1CellClick();
        QCOMPARE(w.mande->text(), QStringLiteral("100,000,000"));

        // Delete: refused while loans use it (no password asked), then with the password.
        rec.clear();
        w.N1Click();
        QCOMPARE(rec.texts(), QStringList {factext::kDeleteRefused});
        QCOMPARE(rec.shown.size(), 1);
        dm().exec(QStringLiteral("delete from vahed_vam"));
        rec.inputs.push_back(QStringLiteral("secret"));
        w.N1Click();
        QCOMPARE(rec.shown.last().kind, QStringLiteral("password"));
        QCOMPARE(w.DBGrid1->listModel()->totalCount(), 0);

        // Excel headings; the rights switch the actions.
        QVERIFY(added(insertFacility(m_prjId, facility("ملت", "مسکن مهر", kPartnership, "5"))) > 0);
        w.prepare(m_prj);
        QTemporaryDir dir;
        rec.files.push_back(dir.filePath(QStringLiteral("t.xlsx")));
        w.N2->trigger();
        const auto sheet = readSpreadsheet(dir.filePath(QStringLiteral("t.xlsx")));
        QVERIFY(sheet && sheet->rows.size() == 2);
        for (const QString& h : {factext::kExcelId, factext::kExcelMablagh, factext::kCmtCaption, QStringLiteral("bank")})
            QVERIFY2(sheet->rows[0].contains(h), qPrintable(h));
        w.applyRights({false, false, false, true});
        QVERIFY(!w.ins_btn->isEnabled() && !w.N3->isEnabled() && !w.N1->isEnabled());
    }

    void loanWindowAndWhereItOpens()
    {
        const qint64 f = added(insertFacility(m_prjId, facility("ملت", "مسکن مهر", kPartnership, "1000000000", "10")));
        const qint64 unit = unitOf(m_prjId, "1");
        test::DialogRecorder rec;
        Tvahed_vam& w = window<Tvahed_vam>();
        w.prepare(m_prj, test::rowOf(QStringLiteral("vahedha"), unit));
        QCOMPARE(w.shenase->text(), QStringLiteral("1"));
        QCOMPARE(w.bank->count(), 1);
        QCOMPARE(w.bank->currentIndex(), -1);
        // Without a facility the question comes first; only Yes adds a zero loan.
        // Enter in the window adds as the button does.
        w.show();
        rec.answers.push_back(Answer::No);
        QTest::keyClick(w.vam, Qt::Key_Return);
        QCOMPARE(rec.texts(), QStringList {factext::kNoFacilityQuestion});
        QCOMPARE(loanCount(), 0);
        rec.answers.push_back(Answer::Yes);
        w.vam->setText(QStringLiteral("99"));
        w.ins_btn->click();
        QCOMPARE(loanCount(), 1);
        QCOMPARE(unitLoanTotal(unit), 0);
        // Bank, source, date: the facility and its share per unit.
        w.bank->setCurrentIndex(0);
        w.etebar_loc->setCurrentIndex(0);
        w.dat1->setCurrentIndex(0);
        QCOMPARE(w.chosenFacility(), f);
        QCOMPARE(w.vam->text(), QStringLiteral("100,000,000"));
        w.vam->setText(QStringLiteral("150000000"));
        w.ins_btn->click();
        QCOMPARE(w.DBGrid1->listModel()->totalCount(), 2);
        QCOMPARE(w.vam_sum->text(), QStringLiteral("150,000,000"));
        QCOMPARE(vamOf("vahedha", unit), 150000000);
        // Changing the bank forgets the facility.
        w.bank->setCurrentIndex(-1);
        QCOMPARE(w.chosenFacility(), 0);
        QCOMPARE(w.etebar_loc->count(), 0);
        // Delete the selected loan; its particulars stay in the fields, no facility chosen.
        const ListModel* m = w.DBGrid1->listModel();
        const int row = m->value(0, QStringLiteral("tashilat_id")).toLongLong() == f ? 0 : 1;
        w.DBGrid1->setCurrentIndex(m->index(row, 0));
        w.N1Click();
        QCOMPARE(loanCount(), 1);
        QCOMPARE(w.vam_sum->text(), QStringLiteral("0"));
        QCOMPARE(w.bank->currentText(), QStringLiteral("ملت"));
        QCOMPARE(w.vam->text(), QStringLiteral("150,000,000"));
        QCOMPARE(w.chosenFacility(), 0);
        QCOMPARE(w.dat1->count(), 1);

        // Opened from the units' pop-up (insert right) and after saving a unit with vam_check.
        rec.clear();
        ProjectItemsPanel panel(ProjectItems::Units);
        panel.setProject(m_prj);
        panel.grid()->setCurrentIndex(panel.grid()->model()->index(0, 0));
        panel.N34Click();
        QCOMPARE(rec.shown.size(), 0);
        panel.applyRights({true, false, false, true});
        test::child<QAction>(&panel, QStringLiteral("N34"))->trigger();
        QCOMPARE(rec.shown.size(), 1);
        QCOMPARE(rec.shown[0].title, QStringLiteral("Tvahed_vam"));
        Tproject_vahed& v = window<Tproject_vahed>();
        v.prepareNew(m_prj);
        v.bolok->setEditText(QStringLiteral("ب"));
        v.tabaghe->setEditText(QStringLiteral("1"));
        v.vahed_no->setEditText(QStringLiteral("1"));
        v.vam_check->setChecked(true);
        rec.onExec = [](QDialog* d) {
            auto* loans = qobject_cast<Tvahed_vam*>(d);
            return loans && loans->shenase->text() == QStringLiteral("ب-1-1") ? 1 : 0;
        };
        v.ins_btnClick();
        QCOMPARE(rec.shown.last().title, QStringLiteral("Tvahed_vam"));

        // The project list's "تسهيلات" follows the view right and opens the facilities.
        test::loginAs(QStringLiteral("admin"));
        Tproject_src& src = window<Tproject_src>();
        src.prepareToShow();
        src.applyFacilityRights({});
        QVERIFY(!src.menuAction(QStringLiteral("N21"))->isEnabled());
        src.applyFacilityRights({false, false, false, true});
        src.menuAction(QStringLiteral("N21"))->trigger();
        QCOMPARE(rec.shown.last().title, QStringLiteral("Tproject_tashilat"));
        QVERIFY(!window<Tproject_tashilat>().ins_btn->isEnabled());
    }
};

TAVRIN_DB_TEST_MAIN(TestFacilities)
#include "tst_facilities.moc"
