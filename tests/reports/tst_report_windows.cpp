// The report windows driven through their controls: the project list's
// "گزارش" entries opened from the main menu, the status chart (its six charts,
// national and provincial, options that keep the points, Excel of the last
// chart, the main window's entry over every visible project) and the
// facilities browser's five lists with their filters, scopes, counts and
// exports.  With TAVRIN_SCREENSHOT_DIR set the chart and browser are saved.
#include "report_fixtures.h"

#include "reports/prj_koli_rep_chart_u.h"
#include "reports/project_tas_rep_u.h"
#include "reports/project_reports.h"
#include "reports/report_layouts.h"

#include "app/main_u.h"
#include "common/listmodel.h"
#include "common/session.h"
#include "common/spreadsheetreader.h"
#include "common/windows.h"
#include "projects/project_src_u.h"

#include <QAction>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QButtonGroup>
#include <QChart>
#include <QValueAxis>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>

using namespace tavrin;
using namespace tavrin::reports;
using Chart = Tprj_koli_rep_chart::Chart;

namespace {

qint64 pointSum(const Tprj_koli_rep_chart& w)
{
    qint64 s = 0;
    for (const auto& p : w.points())
        s += p.value;
    return s;
}

void saveShot(QWidget& w, const QString& name)
{
    const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    w.show();
    QTest::qWait(80);
    QDir().mkpath(dir);
    QVERIFY(w.grab().save(QDir(dir).filePath(name + QStringLiteral(".png"))));
    w.hide();
}

void fitsTheLaptopScreen(QWidget& w)
{
    w.show();
    QTest::qWait(20);
    QVERIFY2(w.minimumSizeHint().width() <= 1366 && w.minimumSizeHint().height() <= 740, qPrintable(w.objectName()));
    QVERIFY(w.width() <= 1366 && w.height() <= 768);
    w.hide();
}

} // namespace

class TestReportWindows : public QObject {
    Q_OBJECT

    test::DialogRecorder* rec = nullptr;

private Q_SLOTS:
    void init()
    {
        destroyWindows();
        destroyMainWindow();
        test::useFreshDatabase();
        for (const test::Place& p : test::kPlaces)
            dm().exec(QStringLiteral("insert into abadiha (ostan,shahrestan) values (?,?)"), {p.ostan, p.shahrestan});
        test::makeRandomFixture({31, 40, 6});
        test::addUser(QStringLiteral("boss"), QStringLiteral("admin"), QStringLiteral("فارس"),
                      {{QStringLiteral("prj"), QStringLiteral("0001")}});
        test::loginAs(QStringLiteral("boss"));
        rec = new test::DialogRecorder;
    }
    void cleanup()
    {
        delete rec;
        destroyWindows();
        destroyMainWindow();
    }

    void projectListEntriesOpenTheReports()
    {
        mainWindow().action(QStringLiteral("N10"))->trigger();
        Tproject_src& list = tavrin::window<Tproject_src>();
        for (const char* n : {"N35", "N47", "N48", "N49", "N46", "N22", "N27", "N28", "N29", "N24", "N25", "N26",
                              "N31", "N32", "N33", "N39", "N41", "N42"})
            QVERIFY2(list.menuAction(QString::fromLatin1(n))->isEnabled(), n);
        // The status report over the list's result, narrowed by its ticked county field.
        test::child<QCheckBox>(&list, QStringLiteral("CheckBox11"))->setChecked(true);
        test::child<QComboBox>(&list, QStringLiteral("shahrestan"))->setEditText(QStringLiteral("مرکزی"));
        rec->clear();
        rec->onExec = [](QDialog*) { return 0; };
        list.menuAction(QStringLiteral("N47"))->trigger();
        QCOMPARE(rec->texts(), QStringList {reptext::kRebuildQuestion});
        QCOMPARE(rec->shown.last().title, QStringLiteral("preview"));
        QCOMPARE(rec->shown.last().text, reptext::kStatusTitle);  // titled as the report, not by its layout
        const ReportScope scope = scopeOf(list);
        QCOMPARE(*scope.filter.shahrestan, QStringLiteral("مرکزی"));
        QVERIFY(!scope.filter.ostan);
        // The list shows every project: all of them were built.
        QCOMPARE(dm().scalar(QStringLiteral("select count(vahed_sabt) from prj_koli_rep where prs_id=?"), {session().prsId}).toInt(),
                 dm().scalar(QStringLiteral("select count(*) from projects")).toInt());
        list.menuAction(QStringLiteral("N22"))->trigger();
        QCOMPARE(rec->shown.last().title, QStringLiteral("Tproject_tas_rep"));
        list.menuAction(QStringLiteral("N49"))->trigger();
        QCOMPARE(rec->shown.last().title, QStringLiteral("Tprj_koli_rep_chart"));
        for (QWidget* w : {static_cast<QWidget*>(&tavrin::window<Tprj_koli_rep_chart>()),
                           static_cast<QWidget*>(&tavrin::window<Tproject_tas_rep>())})
            fitsTheLaptopScreen(*w);
    }

    void chartsCountProjectsAndSumTheTable()
    {
        build(dm(), test::request(ReportKind::Status, session().prsId));
        Tprj_koli_rep_chart& w = tavrin::window<Tprj_koli_rep_chart>();
        w.prepareToShow();
        const QVariantMap t = readTotals(dm(), ReportKind::Status, {}, session().prsId);
        const qint64 projects = dm().scalar(QStringLiteral("select count(*) from projects where prj_typ<>?"), {test::kUnlisted}).toLongLong();
        const QMap<Chart, qint64> expected {
            {Chart::Projects, projects},
            {Chart::Units, t.value("vahed_sabt_sum").toLongLong()},
            {Chart::Storage, t.value("anbari_sabt_sum").toLongLong()},
            {Chart::Parking, t.value("parking_sabt_sum").toLongLong()},
            {Chart::Applicants, t.value("vahed_f_sum").toLongLong()},
            {Chart::Overall, projects + t.value("vahed_sabt_sum").toLongLong() + t.value("vahed_f_sum").toLongLong() +
                                 t.value("anbari_sabt_sum").toLongLong() + t.value("parking_sabt_sum").toLongLong()}};
        const char* buttons[] = {"BitBtn7", "BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5"};
        for (int i = 0; i < 6; ++i) {
            test::child<QPushButton>(&w, QString::fromLatin1(buttons[i]))->click();
            QCOMPARE(w.title(), Tprj_koli_rep_chart::chartTitle(Chart(i)));
            QCOMPARE(pointSum(w), expected.value(Chart(i)));
            QCOMPARE(w.points().size(), 3);   // three provinces have listed projects
        }
        // The value axis is marked at whole steps above the highest value (no
        // two marks read the same) and the names below are never cut short.
        for (QAbstractAxis* a : w.chart()->axes()) {
            if (auto* y = qobject_cast<QValueAxis*>(a)) {
                QVERIFY(y->tickType() == QValueAxis::TicksDynamic && y->tickInterval() >= 1);
                QCOMPARE(y->tickInterval(), std::round(y->tickInterval()));
                QVERIFY(y->max() > double(std::max_element(w.points().begin(), w.points().end(), [](auto& a, auto& b) { return a.value < b.value; })->value));
                QVERIFY(y->max() / y->tickInterval() <= 10);
            } else {
                QVERIFY(!a->truncateLabels());
            }
        }
        // Ascending values; the overall chart by province when "Sort X/Y" is ticked.
        QVERIFY(std::is_sorted(w.points().begin(), w.points().end(), [](auto& a, auto& b) { return a.value < b.value; }));
        test::child<QCheckBox>(&w, QStringLiteral("sort_check"))->setChecked(true);
        w.BitBtn7Click();
        QVERIFY(std::is_sorted(w.points().begin(), w.points().end(), [](auto& a, auto& b) { return a.label < b.label; }));

        // Provincial: counties of the chosen province; an empty province draws nothing.
        auto* repTyp = test::child<QComboBox>(&w, QStringLiteral("rep_typ"));
        auto* ostan = test::child<QComboBox>(&w, QStringLiteral("ostan"));
        repTyp->setCurrentIndex(1);
        QVERIFY(ostan->isEnabled());
        ostan->setEditText(QStringLiteral("فارس"));
        w.BitBtn2Click();
        QCOMPARE(w.points().size(), 2);
        QCOMPARE(pointSum(w), dm().scalar(QStringLiteral("select sum(vahed_sabt) from prj_koli_rep where ostan=?"), {QStringLiteral("فارس")}).toLongLong());
        ostan->setEditText(QString());
        w.BitBtn2Click();
        QVERIFY(w.points().isEmpty());
        repTyp->setCurrentIndex(0);
        QVERIFY(!ostan->isEnabled());

        // Kind, colour and marks change the drawing, not the points.
        w.BitBtn5Click();
        const auto points = w.points();
        QCOMPARE(w.marks().size(), points.size());
        QCOMPARE(w.marks().first(), QString::number(points.first().value));
        for (int kind = 0; kind < 5; ++kind) {
            w.findChild<QRadioButton*>(QStringLiteral("RadioGroup1_%1").arg(kind))->click();
            QCOMPARE(int(w.kind()), kind);
            QCOMPARE(w.points().size(), points.size());
            QCOMPARE(w.marks().size(), points.size());
        }
        test::child<QComboBox>(&w, QStringLiteral("chartcolor"))->setCurrentIndex(3);
        test::child<QComboBox>(&w, QStringLiteral("MarksStyle"))->setCurrentIndex(1);
        QCOMPARE(w.marks().first(), points.first().label + ' ' + QString::number(points.first().value));
        test::child<QCheckBox>(&w, QStringLiteral("CheckBox1"))->setChecked(true);   // descending
        QCOMPARE(w.marks().first(), points.last().label + ' ' + QString::number(points.last().value));
        test::child<QCheckBox>(&w, QStringLiteral("Marks"))->setChecked(false);
        QVERIFY(w.marks().isEmpty());
        QCOMPARE(w.points().size(), points.size());
        w.findChild<QRadioButton*>(QStringLiteral("RadioGroup1_0"))->click();
        test::child<QCheckBox>(&w, QStringLiteral("Marks"))->setChecked(true);
        test::child<QCheckBox>(&w, QStringLiteral("CheckBox1"))->setChecked(false);
        test::child<QComboBox>(&w, QStringLiteral("MarksStyle"))->setCurrentIndex(0);
        test::child<QComboBox>(&w, QStringLiteral("chartcolor"))->setCurrentIndex(2);
        w.BitBtn1Click();
        w.resize(1250, 640);
        const Stamp stamp = *readStamp(dm(), session().prsId, ReportKind::Status);
        w.setStamp(stamp.dat + ' ' + stamp.zaman);
        saveShot(w, QStringLiteral("Tprj_koli_rep_chart"));

        // Excel of the last chart: its title heads the value column.
        QTemporaryDir dir;
        rec->files = {dir.filePath(QStringLiteral("chart.xlsx"))};
        w.SpeedButton1Click();
        const auto sheet = readSpreadsheet(dir.filePath(QStringLiteral("chart.xlsx")));
        QVERIFY(sheet);
        QCOMPARE(sheet->rows.first(), (QStringList {QStringLiteral("استان"), w.title()}));
        QCOMPARE(sheet->rows.size(), w.points().size() + 1);
        // The print previews the chart.
        rec->clear();
        w.BitBtn6Click();
        QCOMPARE(rec->shown.last().title, QStringLiteral("preview"));
    }

    // Thirty provinces: every bar is named below it (the first and the last
    // too), in every kind of chart with a category axis; the options read in Persian.
    void chartNamesEveryBar()
    {
        Tprj_koli_rep_chart& w = tavrin::window<Tprj_koli_rep_chart>();
        QStringList names;
        for (int i = 0; i < 30; ++i) {
            names << QStringLiteral("کهگيلويه و بويراحمد %1").arg(i + 10);
            dm().exec(QStringLiteral("insert into prj_koli_rep (prs_id,ostan,shahrestan,vahed_sabt) values (?,?,?,?)"),
                      {session().prsId, names.last(), QStringLiteral("مرکز"), i + 1});
        }
        w.prepareToShow();
        w.resize(1250, 640);
        w.show();
        for (const char* kind : {"RadioGroup1_0", "RadioGroup1_3"}) {
            w.findChild<QRadioButton*>(QString::fromLatin1(kind))->click();
            w.BitBtn2Click();
            QCOMPARE(w.points().size(), 30);
            QTest::qWait(20);
            QStringList shown;
            for (QGraphicsItem* item : w.chart()->scene()->items())
                if (auto* t = dynamic_cast<QGraphicsTextItem*>(item); t && t->isVisible())
                    shown << t->toPlainText();
            for (const QString& n : std::as_const(names))
                QVERIFY2(shown.contains(n), qPrintable(QString::fromLatin1(kind) + QLatin1Char(' ') + n));
        }
        for (QCheckBox* c : w.findChildren<QCheckBox*>())
            QVERIFY2(!isLatinCaption(c->text()), qPrintable(c->objectName()));
        for (const char* c : {"MarksStyle", "chartcolor"})
            QVERIFY(!isLatinCaption(test::child<QComboBox>(&w, QString::fromLatin1(c))->currentText()));
    }

    void mainWindowChartCoversEveryVisibleProject()
    {
        // A county user: the projects of his counties, whatever the list shows; a rebuild redraws the chart.
        test::addUser(QStringLiteral("c"), QStringLiteral("city"), QStringLiteral("فارس"), {},
                      {QStringLiteral("شيراز"), QStringLiteral("ري")});
        test::loginAs(QStringLiteral("c"));
        Tprj_koli_rep_chart& w = tavrin::window<Tprj_koli_rep_chart>();
        rec->answers = {Answer::Yes};
        mainWindow().action(QStringLiteral("N36"))->trigger();
        QCOMPARE(rec->shown.last().title, QStringLiteral("Tprj_koli_rep_chart"));
        QVERIFY(!test::child<QLabel>(&w, QStringLiteral("zaman"))->text().isEmpty());
        // It opens on the overall chart, not on an empty frame.
        QCOMPARE(w.title(), Tprj_koli_rep_chart::chartTitle(Chart::Overall));
        QVERIFY(!w.points().isEmpty());
        w.BitBtn1Click();
        const qint64 visible = dm().scalar(QStringLiteral("select count(*) from projects where shahrestan in (?,?)"),
                                           {QStringLiteral("شيراز"), QStringLiteral("ري")}).toLongLong();
        QCOMPARE(pointSum(w), visible);
        dm().exec(QStringLiteral("delete from projects where shahrestan=?"), {QStringLiteral("ري")});
        rec->answers = {Answer::Yes};
        mainWindow().action(QStringLiteral("N36"))->trigger();
        QCOMPARE(w.title(), Tprj_koli_rep_chart::chartTitle(Chart::Projects));
        QCOMPARE(w.points().size(), 1);
        // A user who never built sees an empty stamp; answering No builds nothing.
        test::addUser(QStringLiteral("n"), QStringLiteral("admin"));
        test::loginAs(QStringLiteral("n"));
        rec->answers = {Answer::No};
        mainWindow().action(QStringLiteral("N36"))->trigger();
        QVERIFY(test::child<QLabel>(&w, QStringLiteral("zaman"))->text().isEmpty());
        w.BitBtn7Click();
        QVERIFY(w.points().isEmpty());
    }

    void facilitiesBrowserListsFiltersAndExports()
    {
        Tproject_tas_rep& w = tavrin::window<Tproject_tas_rep>();
        w.clearAll();
        w.prepareToShow();
        const char* buttons[] = {"src_btn_tas", "src_btn_vam", "src_btn_vah", "src_btn_anb", "src_btn_par"};
        const char* tables[] = {"tashilat", "vahed_vam", "vahedha", "anbariha", "parkingha"};
        for (int i = 0; i < Tproject_tas_rep::kLists; ++i) {
            QVERIFY(w.countLabel(Tproject_tas_rep::List(i))->text().isEmpty());
            test::child<QPushButton>(&w, QString::fromLatin1(buttons[i]))->click();
            const int all = dm().scalar(QStringLiteral("select count(*) from ") + QLatin1String(tables[i])).toInt();
            QCOMPARE(w.countLabel(Tproject_tas_rep::List(i))->text(), QString::number(all));
            QCOMPARE(w.grid(Tproject_tas_rep::List(i))->listModel()->rowCount(), all);
        }
        // The units list carries the project's status and id after the unit's own.
        const QStringList fields = w.grid(Tproject_tas_rep::Units)->listModel()->fieldNames();
        QVERIFY(fields.contains(QStringLiteral("status_1")) && fields.contains(QStringLiteral("id_1")));
        // Shared and own filters: a county (yeh folded), a supportive facility, storage room number 2.
        test::child<QCheckBox>(&w, QStringLiteral("chk_shahrestan"))->setChecked(true);
        test::child<QComboBox>(&w, QStringLiteral("shahrestan"))->setEditText(QStringLiteral("مرکزی"));
        test::child<QCheckBox>(&w, QStringLiteral("chk_prot_typ"))->setChecked(true);
        test::child<QComboBox>(&w, QStringLiteral("prot_typ"))->setEditText(reptext::kSupportive);
        w.src_btn_tasClick();
        QCOMPARE(w.countLabel(Tproject_tas_rep::Facilities)->text().toInt(),
                 dm().scalar(QStringLiteral("select count(*) from tashilat t join projects p on p.id=t.prj_id where "
                                            "p.shahrestan=? and t.prot_typ in (?,?)"),
                             {QStringLiteral("مرکزي"), reptext::kSupportive, test::persianYeh(reptext::kSupportive)}).toInt());
        test::child<QCheckBox>(&w, QStringLiteral("chk_num_a"))->setChecked(true);
        test::child<QLineEdit>(&w, QStringLiteral("num_a"))->setText(QStringLiteral("۲"));
        w.tabs()->setCurrentIndex(Tproject_tas_rep::Storage);   // Enter searches the list on show
        w.show();
        QTest::keyClick(test::child<QLineEdit>(&w, QStringLiteral("num_a")), Qt::Key_Return);
        w.hide();
        QCOMPARE(w.countLabel(Tproject_tas_rep::Storage)->text().toInt(),
                 dm().scalar(QStringLiteral("select count(*) from anbariha a join projects p on p.id=a.prj_id where "
                                            "p.shahrestan=? and a.num=2"), {QStringLiteral("مرکزي")}).toInt());
        saveShot(w, QStringLiteral("Tproject_tas_rep"));

        // Excel of the unit loans: the loan amount under its own heading.
        QTemporaryDir dir;
        rec->files = {dir.filePath(QStringLiteral("vam.xlsx"))};
        w.src_btn_vamClick();
        w.exportList(Tproject_tas_rep::Loans);
        const auto sheet = readSpreadsheet(dir.filePath(QStringLiteral("vam.xlsx")));
        QVERIFY(sheet);
        QVERIFY(sheet->rows.first().contains(reptext::kLoanExcelMablagh));
        QCOMPARE(sheet->rows.size(), w.countLabel(Tproject_tas_rep::Loans)->text().toInt() + 1);

        // Scopes: a country-level user sees every unit loan but only his counties' other lists.
        test::addUser(QStringLiteral("k"), QStringLiteral("keshvar"), {}, {}, {QStringLiteral("ري")});
        test::loginAs(QStringLiteral("k"));
        w.clearAll();
        w.src_btn_vamClick();
        w.src_btn_vahClick();
        QCOMPARE(w.countLabel(Tproject_tas_rep::Loans)->text().toInt(), dm().scalar(QStringLiteral("select count(*) from vahed_vam")).toInt());
        QCOMPARE(w.countLabel(Tproject_tas_rep::Units)->text().toInt(),
                 dm().scalar(QStringLiteral("select count(*) from vahedha v join projects p on p.id=v.prj_id where p.shahrestan=?"),
                             {QStringLiteral("ري")}).toInt());
    }
};

TAVRIN_DB_TEST_MAIN(TestReportWindows)
#include "tst_report_windows.moc"
