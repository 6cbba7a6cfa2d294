// The unit, storage and parking entry windows, the lower lists and the printed
// unit list read right to left.  With TAVRIN_SCREENSHOT_DIR set, they are
// also saved there as PNG, filled with sample data.
#include "unit_fixtures.h"

#include "app/startup.h"
#include "common/listmodel.h"
#include "common/monedit.h"
#include "projects/project_anbari_u.h"
#include "projects/project_panels.h"
#include "projects/project_parking_u.h"
#include "projects/project_vahed_u.h"
#include "projects/units_logic.h"
#include "projects/spaces_logic.h"
#include "projects/vahedha_chap.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>

using namespace tavrin;

class TestUnitScreens : public QObject {
    Q_OBJECT
    QSqlRecord m_prj;

    void save(const QImage& img, const QString& name)
    {
        QVERIFY(!img.isNull());
        const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR");
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            QVERIFY(img.save(QDir(dir).filePath(name + QStringLiteral(".png"))));
        }
    }

    void save(QWidget& w, const QString& name)
    {
        w.show();
        QTest::qWait(50);
        save(w.grab().toImage(), name);
    }

    static QLabel* labelWithText(QWidget* root, const QString& text)
    {
        for (QLabel* l : root->findChildren<QLabel*>())
            if (l->text() == text)
                return l;
        return nullptr;
    }

    static int xOf(QWidget* w, QWidget* root) { return w->mapTo(root, QPoint(0, 0)).x(); }

    void addSetting(const QString& key, const QStringList& values)
    {
        for (const QString& v : values)
            dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"), {key, v});
    }

private Q_SLOTS:
    void initTestCase()
    {
        setUpApplication();
        test::useFreshDatabase();
        m_prj = test::addProject(QStringLiteral("مسکن مهر فاز ۲"), 40, 20, 20);
        addSetting(QStringLiteral("بنا"), {QStringLiteral("آپارتمان"), QStringLiteral("ويلايي"), QStringLiteral("زمين")});
        addSetting(QStringLiteral("وضعيت واحد"), {QStringLiteral("فعال"), QStringLiteral("رزرو")});
        addSetting(QStringLiteral("کاربري"), {QStringLiteral("مسکوني"), QStringLiteral("تجاري")});
        units::UnitForm f;
        f.karbari = QStringLiteral("مسکوني");
        f.jahat = QStringLiteral("شمال");
        f.otagh = QStringLiteral("2");
        f.metraj = QStringLiteral("95.5");
        f.metraj_z = QStringLiteral("0");
        f.teras = QStringLiteral("6");
        f.hayat = QStringLiteral("0");
        f.mablagh1 = QStringLiteral("4500000");
        f.teras1 = QStringLiteral("1500000");
        f.hayat1 = QStringLiteral("0");
        f.status = QStringLiteral("فعال");
        f.vahed_typ = QStringLiteral("حمايتي");
        f.bana = QStringLiteral("آپارتمان");
        f.ekhtesasi = QStringLiteral("آب، برق");
        f.moshtarak = QStringLiteral("گاز");
        for (int t = 0; t < 3; ++t)
            for (int n = 1; n <= 4; ++n) {
                f.bolok = QStringLiteral("الف");
                f.tabaghe = QString::number(t);
                f.vahed_no = QString::number(n);
                f.mablagh = units::priceText(f);
                QVERIFY(units::insertUnit(m_prj, f).done);
            }
        for (int n = 1; n <= 6; ++n) {
            spaces::SpaceForm s {QStringLiteral("الف"), QString::number(n), QStringLiteral("12"), QStringLiteral("زيرزمين"),
                                 QStringLiteral("3000000"), QStringLiteral("36000000"), QStringLiteral("فعال"),
                                 QStringLiteral("مسقف")};
            QVERIFY(spaces::insertSpace(spaces::storage(), m_prj, s).done);
            QVERIFY(spaces::insertSpace(spaces::parking(), m_prj, s).done);
        }
    }

    void unitWindow()
    {
        Tproject_vahed& w = window<Tproject_vahed>();
        const QSqlRecord unit = *dm().firstRow(QStringLiteral("select * from vahedha order by id"));
        w.prepareEdit(m_prj, unit);
        w.bana->setEditText(QStringLiteral("ويلايي"));
        w.metraj_z->setText(QStringLiteral("180"));
        w.hayat->setText(QStringLiteral("60"));
        w.hayat1->setText(QStringLiteral("800000"));
        w.prepareNew(m_prj);
        w.bolok->setEditText(QStringLiteral("ب"));
        w.tabaghe->setEditText(QStringLiteral("1"));
        w.vahed_no->setEditText(QStringLiteral("2"));
        w.bana->setEditText(QStringLiteral("ويلايي"));
        w.karbari->setEditText(QStringLiteral("مسکوني"));
        w.jahat->setEditText(QStringLiteral("جنوب شرقي"));
        w.otagh->setText(QStringLiteral("3"));
        w.metraj->setText(QStringLiteral("140"));
        w.metraj_z->setText(QStringLiteral("200"));
        w.teras->setText(QStringLiteral("10"));
        w.hayat->setText(QStringLiteral("50"));
        w.mablagh1->setText(QStringLiteral("5000000"));
        w.teras1->setText(QStringLiteral("1000000"));
        w.hayat1->setText(QStringLiteral("100000"));
        QCOMPARE(w.mablagh->text(), QStringLiteral("1015000000"));
        save(w, QStringLiteral("Tproject_vahed"));
        // Captions stand to the right of their fields; the insert button is at the right.
        QLabel* blockCaption = labelWithText(&w, QStringLiteral("بلوک"));
        QVERIFY(blockCaption);
        QVERIFY(xOf(blockCaption, &w) > xOf(w.bolok, &w));
        QVERIFY(xOf(w.mablagh1Caption, &w) > xOf(w.mablagh1, &w));
        QVERIFY(xOf(w.mablagh1, &w) > xOf(w.mablagh1_3harfi, &w));
        // Numbers read left to right and sit against the right edge of their field.
        QCOMPARE(w.mablagh->layoutDirection(), Qt::LeftToRight);
        QVERIFY(w.mablagh->alignment() & Qt::AlignRight);
        w.hide();
    }

    void storageAndParkingWindows()
    {
        Tproject_anbari& a = window<Tproject_anbari>();
        a.prepareEdit(m_prj, *dm().firstRow(QStringLiteral("select * from anbariha order by id")));
        save(a, QStringLiteral("Tproject_anbari"));
        QLabel* numCaption = labelWithText(&a, QStringLiteral("شماره انباري"));
        QVERIFY(numCaption);
        QVERIFY(xOf(numCaption, &a) > xOf(a.num, &a));
        a.hide();
        Tproject_parking& p = window<Tproject_parking>();
        p.prepareNew(m_prj);
        p.bolok->setEditText(QStringLiteral("ب"));
        p.num->setText(QStringLiteral("14"));
        p.pos->setEditText(QStringLiteral("همکف"));
        p.metraj->setText(QStringLiteral("12.5"));
        p.mablagh1->setText(QStringLiteral("2500000"));
        save(p, QStringLiteral("Tproject_parking"));
        QVERIFY(labelWithText(&p, QStringLiteral("سقف")));
        QVERIFY(xOf(p.ins_btn, &p) > xOf(p.cnt, &p) || p.ins_btn->isVisible());
        p.hide();
    }

    void lowerLists()
    {
        QWidget host;
        host.setLayoutDirection(Qt::RightToLeft);
        host.resize(1200, 420);
        auto* split = new QSplitter(&host);
        auto* units = new ProjectItemsPanel(ProjectItems::Units);
        auto* storage = new ProjectItemsPanel(ProjectItems::StorageRooms);
        auto* parking = new ProjectItemsPanel(ProjectItems::ParkingSpaces);
        split->addWidget(units);
        split->addWidget(storage);
        split->addWidget(parking);
        split->setSizes({600, 300, 300});
        split->resize(host.size());
        for (ProjectItemsPanel* p : {units, storage, parking}) {
            p->clearFilters();
            p->setProject(m_prj);
        }
        QCOMPARE(units->grid()->listModel()->totalCount(), 12);
        // Every control name is unique among the three panels of the one window.
        QSet<QString> names;
        for (QObject* o : host.findChildren<QObject*>()) {
            const QString n = o->objectName();
            if (n.isEmpty() || n.startsWith(QLatin1String("qt_")))
                continue;
            QVERIFY2(!names.contains(n), qPrintable(n));
            names.insert(n);
        }
        save(host, QStringLiteral("ProjectItemsPanel"));
    }

    void printedUnitList()
    {
        QList<QVariantMap> rows;
        QSqlQuery q = dm().exec(QStringLiteral("select * from vahedha order by id"));
        while (q.next())
            rows << Tvahedha_chap::rowValues(q.record());
        const doc::Document d = Tvahedha_chap::build(m_prj, rows);
        QCOMPARE(d.pageCount(), 1);
        save(d.toImage(0, 100), QStringLiteral("Tvahedha_chap"));
    }
};

TAVRIN_TEST_MAIN(TestUnitScreens)
#include "tst_units_screens.moc"
