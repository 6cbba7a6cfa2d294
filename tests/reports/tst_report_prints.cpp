// The printed reports and the status Excel export through the shared frame:
// the rebuild question, the build stamp on the page, the columns each grouping
// prints, the totals line, reports from the last build when the user answers
// No, and a failed build that keeps the previous rows and previews nothing.
// With TAVRIN_SCREENSHOT_DIR set, the first page of the status report is saved.
#include "report_fixtures.h"

#include "reports/report_layouts.h"
#include "reports/report_runner.h"

#include "common/session.h"
#include "common/spreadsheetreader.h"

#include <QDir>
#include <QTemporaryDir>

using namespace tavrin;
using namespace tavrin::reports;

namespace {

ReportScope allListed()
{
    return ReportScope {projectSetOf(test::listedProjects()), {}};
}

// Every element lies on the paper.
bool insidePaper(const doc::Document& d)
{
    const QRectF paper(QPointF(0, 0), d.setup().paperSize());
    for (int p = 0; p < d.pageCount(); ++p)
        for (const doc::Element& e : d.page(p).elements)
            if (!paper.adjusted(-0.01, -0.01, 0.01, 0.01).contains(e.rect.normalized()))
                return false;
    return true;
}

QStringList headings(const doc::Document& d)
{
    QStringList out;
    for (const doc::Element& e : d.elements(0, doc::Role::ColumnHeading))
        if (e.isText())
            out << e.column;
    return out;
}

} // namespace

class TestReportPrints : public QObject {
    Q_OBJECT

    test::DialogRecorder* rec = nullptr;

private Q_SLOTS:
    void init()
    {
        test::useFreshDatabase();
        test::addUser(QStringLiteral("u"), QStringLiteral("admin"));
        test::loginAs(QStringLiteral("u"));
        test::makeRandomFixture({21, 30, 6});
        rec = new test::DialogRecorder;
    }
    void cleanup() { delete rec; }

    void everyReportInEveryGrouping()
    {
        for (ReportKind kind : kAllReports) {
            for (Grouping g : {Grouping::Project, Grouping::County, Grouping::Province}) {
                rec->clear();
                const auto d = printReport(kind, g, allListed());
                QVERIFY(d);
                QCOMPARE(rec->texts(), QStringList {reptext::kRebuildQuestion});
                QCOMPARE(rec->shown.last().kind, QStringLiteral("window"));
                QVERIFY(d->plainText().contains(reportTitle(kind)));
                QCOMPARE(d->field(QStringLiteral("dat")), jalali::today());
                QVERIFY(insidePaper(*d));
                // The grouped entries leave out the project columns; by province the county too.
                const QStringList shown = headings(*d);
                const bool hasProject = std::any_of(shown.begin(), shown.end(), [](const QString& f) { return f.startsWith(QLatin1String("prj_name")); });
                QCOMPARE(hasProject, g == Grouping::Project);
                QCOMPARE(shown.join(',').contains(QLatin1String("shahrestan")), g != Grouping::Province);
                QCOMPARE(shown, QStringList {doc::Column::kRowNumber} + printedFields(kind, g));
                // One line per detail row; the totals line carries the totals query's sums.
                int lines = 0;
                for (int p = 0; p < d->pageCount(); ++p)
                    for (const doc::Element& e : d->elements(p, doc::Role::Cell))
                        lines = std::max(lines, e.row + 1);
                const QVariantMap totals = readTotals(dm(), kind, {}, session().prsId);
                QCOMPARE(lines, int(readRows(dm(), kind, detailStatement(dm(), kind, g, {}, session().prsId)).size()));
                const QString first = sumNames(kind).first() + QStringLiteral("_sum");
                QCOMPARE(QString(d->field(first)).remove(QLatin1Char(',')), totals.value(first).toString());
            }
        }
        // The status report counts rows and groups the facility amounts in thousands.
        const auto d = printReport(ReportKind::Status, Grouping::Project, allListed());
        const QVariantMap totals = readTotals(dm(), ReportKind::Status, {}, session().prsId);
        QCOMPARE(d->field(QStringLiteral("cnt")), totals.value("c").toString());
        QCOMPARE(d->field(QStringLiteral("daryafti_sum")), doc::groupThousands(totals.value("daryafti_sum").toString()));
        QVERIFY(d->field(QStringLiteral("daryafti_sum")).contains(QLatin1Char(',')));
        // The rows' amounts are grouped as the totals are, pairs of amounts in one cell too.
        int amounts = 0;
        for (int p = 0; p < d->pageCount(); ++p)
            for (const doc::Element& e : d->elements(p, doc::Role::Cell))
                if (e.column.contains(QLatin1String("daryafti")) || e.column.contains(QLatin1String("vahed_mablagh"))) {
                    for (const QString& amount : e.text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                        QCOMPARE(amount, doc::groupThousands(QString(amount).remove(QLatin1Char(','))));
                    amounts += e.text.contains(QLatin1Char(',')) ? 1 : 0;
                }
        QVERIFY(amounts > 0);
        // The activity report's record count adds projects, units, rooms, spaces, applicants and pre-registrations.
        const auto a = printReport(ReportKind::Activity, Grouping::Province, allListed());
        const QVariantMap at = readTotals(dm(), ReportKind::Activity, {}, session().prsId);
        qint64 records = 0;
        for (const char* n : {"prj_cnt_sum", "vahed_sum", "anbari_sum", "parking_sum", "moteghazi_sum", "pishsabt_sum"})
            records += at.value(QLatin1String(n)).toLongLong();
        QCOMPARE(a->field(QStringLiteral("record_cnt")), QString::number(records));

        const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR");
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            QVERIFY(d->toImage(0, 110).save(QDir(dir).filePath(QStringLiteral("Tprj_koli_rep.png"))));
        }
    }

    void answeringNoReportsTheLastBuild()
    {
        rec->answers = {Answer::Yes};
        const auto built = printReport(ReportKind::UnitProgress, Grouping::Project, allListed());
        const QString stampTime = built->field(QStringLiteral("tim"));
        // Another list now: No keeps the table and stamp; the list's filters still narrow it.
        rec->answers = {Answer::No};
        ReportScope other {projectSetOf(ListQuery(QStringLiteral("select *"), QStringLiteral("from projects"))),
                           {QStringLiteral("فارس"), {}, {}, false}};
        const auto again = printReport(ReportKind::UnitProgress, Grouping::Project, other);
        QCOMPARE(again->field(QStringLiteral("tim")), stampTime);
        const int fars = dm().scalar(QStringLiteral("select count(*) from prj_rep_vahed where ostan=?"), {QStringLiteral("فارس")}).toInt();
        QCOMPARE(again->field(QStringLiteral("vahed_kol_sum")).isEmpty(), false);
        int lines = 0;
        for (const doc::Element& e : again->elements(0, doc::Role::Cell))
            lines = std::max(lines, e.row + 1);
        QCOMPARE(lines, fars);
        // A user who never built a report sees an empty stamp, and Cancel does not build.
        dm().exec(QStringLiteral("delete from gozaresh_sakht"));
        rec->answers = {Answer::Cancel};
        const auto empty = printReport(ReportKind::Comprehensive, Grouping::County, allListed());
        QCOMPARE(empty->field(QStringLiteral("dat")), QString());
        QCOMPARE(empty->field(QStringLiteral("vahed_sabt_sum")), QStringLiteral("0"));
    }

    void aFailedBuildKeepsThePreviousOneAndPreviewsNothing()
    {
        printReport(ReportKind::Status, Grouping::Project, allListed());
        const QStringList before = test::sortedKeys(test::tableRows(ReportKind::Status, session().prsId));
        const auto stamp = readStamp(dm(), session().prsId, ReportKind::Status);
        dm().exec(QStringLiteral("insert into projects (ostan,shahrestan,prj_name,prj_typ) values ('x','y','z','w')"));
        // The build shows its progress; it fails at its main statement.
        bool progressShown = false;
        dm().setStatementHook([&](const QString& sql) {
            if (!sql.startsWith(QLatin1String("WITH")))
                return;
            for (QWidget* w : QApplication::topLevelWidgets())
                progressShown = progressShown || (w->objectName() == QLatin1String("progress") && w->isVisible());
            throw DbError(QStringLiteral("injected"), sql);
        });
        rec->clear();
        QVERIFY(!printReport(ReportKind::Status, Grouping::County, allListed()));
        dm().setStatementHook({});
        QVERIFY(progressShown);
        QCOMPARE(rec->texts(), (QStringList {reptext::kRebuildQuestion, reptext::kBuildFailed}));
        for (const auto& s : rec->shown)
            QVERIFY(s.kind != QLatin1String("window"));
        QCOMPARE(test::sortedKeys(test::tableRows(ReportKind::Status, session().prsId)), before);
        QCOMPARE(readStamp(dm(), session().prsId, ReportKind::Status)->zaman, stamp->zaman);
    }

    void statusExcelExportsEveryColumnWithItsHeading()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("koli.xlsx"));
        rec->files = {path};
        // The province is a substring match in the export.
        ReportScope scope = allListed();
        scope.filter.ostan = QStringLiteral("فار");
        QVERIFY(exportStatusReport(scope));
        const auto sheet = readSpreadsheet(path);
        QVERIFY(sheet);
        const QStringList head = sheet->rows.first();
        QCOMPARE(head.first(), QStringLiteral("شناسه کاربر گزارش گيرنده"));
        QVERIFY(head.contains(QStringLiteral("تعداد واحد قابل واگذاري فروخته نشده (فاقد متقاضي)")));
        QCOMPARE(head.size(), dm().columns(QStringLiteral("prj_koli_rep")).size() + 1);
        const int fars = dm().scalar(QStringLiteral("select count(*) from prj_koli_rep where ostan=?"), {QStringLiteral("فارس")}).toInt();
        QVERIFY(fars > 0);
        QCOMPARE(int(sheet->rows.size()) - 1, fars);
    }
};

TAVRIN_DB_TEST_MAIN(TestReportPrints)
#include "tst_report_prints.moc"
