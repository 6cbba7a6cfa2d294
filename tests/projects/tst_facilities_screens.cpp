// The facilities and unit-loan windows read right to left and fit a 1366x768
// screen.  With TAVRIN_SCREENSHOT_DIR set, they are also saved there as PNG,
// filled with sample data.
#include "unit_fixtures.h"

#include "app/startup.h"
#include "common/listmodel.h"
#include "common/monedit.h"
#include "projects/facilities_logic.h"
#include "projects/facility_texts.h"
#include "projects/project_tashilat_u.h"
#include "projects/vahed_vam_u.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace tavrin;

class TestFacilityScreens : public QObject {
    Q_OBJECT
    QSqlRecord m_prj;
    qint64 m_unit = 0;

    void save(QWidget& w, const QString& name)
    {
        w.show();
        QTest::qWait(50);
        // The window and everything in it fit the office laptop's screen.
        QVERIFY2(w.width() <= 1366 && w.height() <= 740, qPrintable(name));
        QVERIFY(w.minimumSizeHint().width() <= 1366 && w.minimumSizeHint().height() <= 740);
        const QImage img = w.grab().toImage();
        QVERIFY(!img.isNull());
        const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR");
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            QVERIFY(img.save(QDir(dir).filePath(name + QStringLiteral(".png"))));
        }
    }

    static QLabel* labelWithText(QWidget* root, const QString& text)
    {
        for (QLabel* l : root->findChildren<QLabel*>())
            if (l->text() == text)
                return l;
        return nullptr;
    }

    static int xOf(QWidget* w, QWidget* root) { return w->mapTo(root, QPoint(0, 0)).x(); }

    // Every column title of a grid is shown whole.
    static void titlesNotCut(DBGrid* grid)
    {
        const QFontMetrics fm(grid->horizontalHeader()->font());
        const ListModel* m = grid->listModel();
        for (int c = 0; c < m->columnCount(); ++c)
            if (!grid->isColumnHidden(c)) {
                const QString title = m->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
                QVERIFY2(grid->columnWidth(c) >= fm.horizontalAdvance(title), qPrintable(title));
            }
    }

private Q_SLOTS:
    void initTestCase()
    {
        setUpApplication();
        test::useFreshDatabase();
        m_prj = test::addProject(QStringLiteral("مسکن مهر فاز ۲"), 40);
        const qint64 prjId = items::recordId(m_prj);
        for (const QString& t : {factext::kSupportive, factext::kCivilPartnership})
            dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"), {factext::kSettingContractType, t});
        struct Row {
            const char *type, *bank, *source, *total, *received, *units, *dat1, *cmt;
        };
        const Row rows[] = {
            {"مشارکت مدني", "ملت", "---", "12000000000", "12000000000", "40", "1401/06/01", "قرارداد مشارکت مدني ساخت"},
            {"حمايتي", "---", "مسکن مهر", "3000000000", "1800000000", "40", "1401/09/15", "اعتبار حمايتي استاني"},
            {"مشارکت مدني", "مسکن", "---", "5000000000", "0", "20", "1402/02/10", "هنوز دريافتي نداشته"},
        };
        for (const Row& r : rows) {
            facilities::FacilityForm f;
            f.prot_typ = QString::fromUtf8(r.type);
            f.bank = QString::fromUtf8(r.bank);
            f.etebar_loc = QString::fromUtf8(r.source);
            f.mablagh = QString::fromLatin1(r.total);
            f.daryafti = QString::fromLatin1(r.received);
            f.vahed_cnt = QString::fromLatin1(r.units);
            f.dat1 = QString::fromLatin1(r.dat1);
            f.takhsis_dat = f.dat2 = f.tamdid_dat = QString::fromLatin1(kEmptyDateMask);
            f.darsad = QStringLiteral("4");
            f.cmt = QString::fromUtf8(r.cmt);
            QVERIFY(facilities::insertFacility(prjId, f).done);
        }
        m_unit = dm().insert(QStringLiteral("vahedha"), {QStringLiteral("prj_id"), QStringLiteral("bolok"), QStringLiteral("shenase")},
                             {prjId, QStringLiteral("الف"), QStringLiteral("الف-2-3")});
        const qint64 first = dm().scalar(QStringLiteral("select min(id) from tashilat")).toLongLong();
        QVERIFY(facilities::addLoan(m_unit, first, QStringLiteral("300000000")).done);
        QVERIFY(facilities::addLoan(m_unit, first + 1, QStringLiteral("45000000")).done);
    }

    void facilitiesWindow()
    {
        Tproject_tashilat& w = window<Tproject_tashilat>();
        w.applyRights({true, true, true, true});
        w.prepare(m_prj);
        w.DBGrid1->setCurrentIndex(w.DBGrid1->listModel()->index(0, 0));
        w.DBGrid1CellClick();
        QCOMPARE(w.mande->text(), QStringLiteral("11,700,000,000"));
        w.prot_typ->setEditText(factext::kSupportive);
        w.etebar_loc->setEditText(QStringLiteral("مسکن مهر"));
        w.mablagh->setText(QStringLiteral("2500000000"));
        w.daryafti->setText(QStringLiteral("1250000000"));
        w.takhsis_dat->setText(QStringLiteral("1402/04/01"));
        w.dat1->setText(QStringLiteral("1402/05/20"));
        w.vahed_cnt->setText(QStringLiteral("25"));
        w.cmt->setText(QStringLiteral("نوبت دوم اعتبار"));
        save(w, QStringLiteral("Tproject_tashilat"));
        titlesNotCut(w.DBGrid1);
        // Captions stand to the right of their fields; amounts read left to right.
        QLabel* bankCaption = labelWithText(&w, factext::kBankCaption);
        QVERIFY(bankCaption && xOf(bankCaption, &w) > xOf(w.bank, &w));
        QVERIFY(xOf(w.prot_typ, &w) > xOf(w.bank, &w));
        QVERIFY(xOf(w.mablagh, &w) > xOf(w.mablagh_3harfi, &w));
        QCOMPARE(w.mablagh->layoutDirection(), Qt::LeftToRight);
        QCOMPARE(w.dat1->layoutDirection(), Qt::LeftToRight);
        w.hide();
    }

    void loanWindow()
    {
        Tvahed_vam& w = window<Tvahed_vam>();
        w.prepare(m_prj, test::rowOf(QStringLiteral("vahedha"), m_unit));
        w.bank->setCurrentIndex(w.bank->findText(QStringLiteral("ملت")));
        w.etebar_loc->setCurrentIndex(0);
        w.dat1->setCurrentIndex(0);
        QCOMPARE(w.vam->text(), QStringLiteral("300,000,000"));
        save(w, QStringLiteral("Tvahed_vam"));
        titlesNotCut(w.DBGrid1);
        QCOMPARE(w.vam_sum->text(), QStringLiteral("345,000,000"));
        QVERIFY(xOf(w.bank, &w) > xOf(w.etebar_loc, &w));
        QVERIFY(xOf(w.etebar_loc, &w) > xOf(w.dat1, &w));
        w.hide();
    }
};

TAVRIN_TEST_MAIN(TestFacilityScreens)
#include "tst_facilities_screens.moc"
