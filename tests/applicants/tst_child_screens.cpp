// The windows of one applicant's payments, partners, dependants, storage and
// parking and documents, and their searches, on demonstration data: each fits
// a 1366x768 screen, reads right to left and shows what it opened on.  With
// TAVRIN_SCREENSHOT_DIR set, they are also saved there as PNG.
#include "applicants/applicant_fixtures.h"

#include "applicants/customers_pic_u.h"
#include "applicants/savabegh_u.h"
#include "applicants/pardakht_src_u.h"
#include "applicants/pardakht_frm_u.h"
#include "applicants/parking_anbari_u.h"
#include "applicants/parking_src_u.h"
#include "applicants/shoraka_u.h"
#include "applicants/takafol_frm_u.h"

#include "common/listmodel.h"
#include "documents/drawcheck.h"
#include "maintenance/demodata.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>

using namespace tavrin;
using namespace tavrin::applicants;

class TestChildScreens : public QObject {
    Q_OBJECT

    // Nothing lies beyond a 1366x768 screen less its title and task bars; the
    // window is shown at the size it opens with and saved.
    void check(TWindow& w, const QString& name, bool hasHeader = true)
    {
        const QSize hint = w.minimumSizeHint();
        QVERIFY2(hint.width() <= 1366 && hint.height() <= 700,
                 qPrintable(name + QStringLiteral(" %1x%2").arg(hint.width()).arg(hint.height())));
        w.resize(w.size().boundedTo(QSize(1366, 700)));
        w.show();
        QTest::qWait(30);
        QVERIFY(w.isRightToLeft());
        QVERIFY2(!w.contentScrollArea(), qPrintable(name));  // fits without scrolling
        const QImage img = w.grab().toImage();
        QVERIFY(!img.isNull());
        const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR");
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            QVERIFY(img.save(QDir(dir).filePath(name + QStringLiteral(".png"))));
        }
        // The header shows the unit and a project named with a number as stored.
        if (hasHeader) {
            QCOMPARE(test::readLeftToRight(test::child<QLabel>(&w, QStringLiteral("shenase"))), QStringLiteral("1-2-3"));
            QCOMPARE(test::readLeftToRight(test::child<QLabel>(&w, QStringLiteral("prj_name"))), QStringLiteral("2-1"));
        }
        w.hide();
    }

private Q_SLOTS:
    void windowsFitTheOfficeScreen()
    {
        test::useFreshDatabase();
        test::loginAs(QStringLiteral("admin"));
        demo::Options o;
        o.projects = 2;
        o.unitsPerProject = 12;
        o.soldPercent = 60;
        o.partnersPercent = 100;
        o.dependantsPerApplicant = 2;
        o.paymentsPerApplicant = 4;
        o.storagePerProject = 30;
        o.parkingPerProject = 30;
        demo::generate(dm(), o);
        // An applicant with a partner, payments and free spaces left in his project.
        const qint64 id = dm().scalar(QStringLiteral("select min(customer_id) from shoraka")).toLongLong();
        dm().exec(QStringLiteral("update customers set sahm=2,shenase='1-2-3',prj_name=? where id=?"),
                  {QStringLiteral("مسکن مهر فاز 2-1"), id});
        ApplicantContext c;
        c.customerId = id;
        c.customer = *customerRow(id);
        c.rights = Rights {true, true, true, true};
        c.listHeight = 708;
        c.changed = [] {};

        Tpardakht_frm& pay = window<Tpardakht_frm>();
        pay.open(c);
        QVERIFY(pay.grid()->listModel()->totalCount() > 0);
        QVERIFY(!test::child<QLabel>(&pay, QStringLiteral("mande"))->text().isEmpty());
        check(pay, QStringLiteral("Tpardakht_frm"));
        Tpardakht_src& paySrc = window<Tpardakht_src>();
        paySrc.open(c);
        paySrc.src_btnClick();
        QVERIFY(paySrc.grid()->listModel()->totalCount() > 0);
        check(paySrc, QStringLiteral("Tpardakht_src"), false);

        Tshoraka& partners = window<Tshoraka>();
        QVERIFY(partners.open(c));
        QVERIFY(partners.grid()->listModel()->totalCount() > 0);
        check(partners, QStringLiteral("Tshoraka"));
        Ttakafol_frm& dependants = window<Ttakafol_frm>();
        dependants.openForApplicant(c);
        check(dependants, QStringLiteral("Ttakafol_frm"));

        Tparking_anbari& spaces = window<Tparking_anbari>();
        spaces.open(c);
        auto* bolok = test::child<QComboBox>(&spaces, QStringLiteral("bolok_p"));
        QVERIFY(bolok->count() > 0);
        bolok->setCurrentIndex(0);
        test::child<QComboBox>(&spaces, QStringLiteral("num"))->setCurrentIndex(0);
        test::child<QComboBox>(&spaces, QStringLiteral("pos"))->setCurrentIndex(0);
        spaces.ins_btn1Click();
        QCOMPARE(spaces.grid(true)->listModel()->totalCount(), 1);
        for (const char* name : {"bolok_a", "num2", "pos2"})
            test::child<QComboBox>(&spaces, QString::fromLatin1(name))->setCurrentIndex(0);
        spaces.ins_btn2Click();
        QCOMPARE(spaces.grid(false)->listModel()->totalCount(), 1);
        test::child<QComboBox>(&spaces, QStringLiteral("bolok_p"))->setCurrentIndex(0);
        test::child<QComboBox>(&spaces, QStringLiteral("num"))->setCurrentIndex(1);
        test::child<QComboBox>(&spaces, QStringLiteral("pos"))->setCurrentIndex(0);
        check(spaces, QStringLiteral("Tparking_anbari"));
        // Right to left: the parking side is the right half.
        QVERIFY(bolok->mapTo(&spaces, QPoint()).x() >
                test::child<QComboBox>(&spaces, QStringLiteral("bolok_a"))->mapTo(&spaces, QPoint()).x());
        spaces.reject();
        Tparking_src& spaceSrc = window<Tparking_src>();
        spaceSrc.open(c);
        spaceSrc.src_btnClick();
        QVERIFY(spaceSrc.grid(true)->listModel()->totalCount() > 0);
        check(spaceSrc, QStringLiteral("Tparking_src"), false);

        Tcustomers_pic& pic = window<Tcustomers_pic>();
        pic.open(c);
        check(pic, QStringLiteral("Tcustomers_pic"));
        Tsavabegh& checklist = window<Tsavabegh>();
        checklist.open(c);
        check(checklist, QStringLiteral("Tsavabegh"));
    }
};

TAVRIN_TEST_MAIN(TestChildScreens)
#include "tst_child_screens.moc"
