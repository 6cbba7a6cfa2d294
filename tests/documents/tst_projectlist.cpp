// The printed project list: its headings, its lines, its summary line and the
// page it prints to.
#include "support/testsupport.h"

#include "documents/drawcheck.h"
#include "documents/pdftext.h"
#include "documents/project_list_report.h"

#include <QDialog>
#include <QTemporaryDir>

using namespace tavrin;
using namespace tavrin::doc;

namespace {

const QString kHeading = QStringLiteral("گزارش ليست پروژه ها");
const QString kDateLabel = QStringLiteral("تاريخ:");
const QStringList kCaptions {
    QStringLiteral("رديف"),  QStringLiteral("استان"),  QStringLiteral("شهرستان"),  QStringLiteral("نام پروژه"),
    QStringLiteral("نوع پروژه"),  QStringLiteral("کد پروژه"),  QStringLiteral("تعداد واحد کل"),  QStringLiteral("قابل واگذاري"),
    QStringLiteral("فروخته شده"), QStringLiteral("باقيمانده"), QStringLiteral("تعداد انباري"), QStringLiteral("تعداد پارکينگ"),
    QStringLiteral("وضعيت فروش"), QStringLiteral("تاريخ انقضا فروش")};
const QString kUnitsHeading = QStringLiteral("تعداد واحـــــــــد");
const QString kSum = QStringLiteral("جـــــمع");

QVariantMap project(int i)
{
    return {{"id", i},
            {"ostan", "اصفهان"},
            {"shahrestan", i % 2 ? "کاشان" : "نطنز"},
            {"shahr", "x"},
            {"prj_name", QStringLiteral("مسکن ملی فاز %1").arg(i)},
            {"prj_typ", "حمايتي"},
            {"prj_cod", QStringLiteral("P-%1").arg(i)},
            {"vahed_kol", 100 + i},
            {"vahed_cnt", 90},
            {"vahed_f", 40 + i},
            {"mande", 60},
            {"anbari_cnt", 12},
            {"parking_cnt", 30},
            {"st_tavrin", "جاري"},
            {"expire_dat", "1404/12/29"},
            {"cmt", "not printed"}};
}

QList<QVariantMap> projects(int n)
{
    QList<QVariantMap> rows;
    for (int i = 1; i <= n; ++i)
        rows << project(i);
    return rows;
}

const QVariantMap kTotals {{"c", 3}, {"vk", 306}, {"vc", 270}, {"vf", 126}, {"m", 180}, {"ac", 36}, {"pc", 90}};

} // namespace

class TestProjectList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void landscapeA4()
    {
        const TableReport r = Tproject_chap::layout();
        QCOMPARE(r.setup().paper, Paper::A4);
        QCOMPARE(r.setup().orientation, Orientation::Landscape);
        QCOMPARE(Tproject_chap::heading(), kHeading);
        QCOMPARE(r.fieldNames(), (QStringList {"dat", "vk", "vc", "vf", "m", "ac", "pc"}));
    }

    void headingsRightToLeftInTheirOrder()
    {
        const Document d = Tproject_chap::build(projects(3), kTotals, "1403/05/12");
        QCOMPARE(d.pageCount(), 1);
        QCOMPARE(d.texts(0, Role::ColumnHeading), kCaptions);
        QCOMPARE(d.texts(0, Role::SpanHeading), QStringList {kUnitsHeading});
        QCOMPARE(d.texts(0, Role::PageHeader), (QStringList {kHeading, kDateLabel, "1403/05/12"}));
        // The columns run from the right edge leftwards.
        const QList<Element> headings = d.elements(0, Role::ColumnHeading);
        double previousLeft = 1e9;
        for (const Element& e : headings) {
            if (!e.isText())
                continue;
            QVERIFY(e.rect.right() <= previousLeft + 1e-6);
            previousLeft = e.rect.left();
        }
        // The unit heading is over the four unit counts.
        const auto g = Tproject_chap::layout().columnGeometry();
        const Element span = d.elements(0, Role::SpanHeading).first();
        QCOMPARE(span.rect.right(), g.at(6).first + g.at(6).second);
        QCOMPARE(span.rect.left(), g.at(9).first);
        // The date sits at the left beside its label, the label on its right.
        const QList<Element> header = d.elements(0, Role::PageHeader);
        QVERIFY(header.at(1).rect.left() >= header.at(2).rect.right() - 1e-6);
        QCOMPARE(d.field("dat"), QStringLiteral("1403/05/12"));
    }

    void oneNumberedLinePerProject()
    {
        const Document d = Tproject_chap::build(projects(3), kTotals, "1403/05/12");
        QStringList line;
        for (const Element& e : d.elements(0, Role::Cell))
            if (e.isText() && e.row == 1)
                line << e.text;
        QCOMPARE(line, (QStringList {"2", "اصفهان", "نطنز", "مسکن ملی فاز 2", "حمايتي", "P-2", "102", "90", "42", "60",
                                     "12", "30", "جاري", "1404/12/29"}));
        QCOMPARE(Tproject_chap::rowFields().size(), kCaptions.size() - 1);
        QCOMPARE(d.texts(0, Role::Cell).size(), 3 * kCaptions.size());
    }

    void summaryLineCarriesTheSearchTotals()
    {
        const Document d = Tproject_chap::build(projects(3), kTotals, "1403/05/12");
        QCOMPARE(d.texts(0, Role::Totals), (QStringList {kSum, "306", "270", "126", "180", "36", "90", "", ""}));
        QCOMPARE(Tproject_chap::totalFields(), (QStringList {"vk", "vc", "vf", "m", "ac", "pc"}));
        for (const QString& name : Tproject_chap::totalFields())
            QCOMPARE(d.field(name), kTotals.value(name).toString());
        // Under their own columns.
        const QList<Element> totals = d.elements(0, Role::Totals);
        QStringList underColumns;
        for (const Element& e : totals)
            if (e.isText() && !e.column.isEmpty())
                underColumns << e.column;
        QCOMPARE(underColumns, (QStringList {"vahed_kol", "vahed_cnt", "vahed_f", "mande", "anbari_cnt", "parking_cnt",
                                             "st_tavrin", "expire_dat"}));
    }

    void emptyResultPrintsEmptyTotals()
    {
        const Document d = Tproject_chap::build(QList<QVariantMap> {}, QVariantMap {{"c", 0}}, "1403/05/12");
        QCOMPARE(d.texts(0, Role::Totals), (QStringList {kSum, "", "", "", "", "", "", "", ""}));
        QCOMPARE(d.texts(0, Role::ColumnHeading), kCaptions);
    }

    void longListRunsOverPagesWithItsHeadings()
    {
        const Document d = Tproject_chap::build(projects(70), kTotals, "1403/05/12");
        QVERIFY(d.pageCount() >= 3);
        VERIFY_PRINTS_CLEAN(d);
        for (int p = 0; p < d.pageCount(); ++p) {
            QCOMPARE(d.texts(p, Role::ColumnHeading), kCaptions);
            QCOMPARE(d.texts(p, Role::PageHeader).first(), kHeading);
            QCOMPARE(d.texts(p, Role::PageFooter).first(), QStringLiteral("صفحه %1 از %2").arg(p + 1).arg(d.pageCount()));
        }
        QCOMPARE(d.texts(d.pageCount() - 1, Role::Totals).first(), kSum);
    }

    void pdfHoldsTheHeadings()
    {
        if (!test::havePdfTools())
            QSKIP("pdftotext is not installed");
        QTemporaryDir dir;
        const QString pdf = dir.path() + QStringLiteral("/projects.pdf");
        const Document d = Tproject_chap::build(projects(3), kTotals, "1403/05/12");
        QVERIFY(d.renderToPdf(pdf));
        const QString artifacts = qEnvironmentVariable("TAVRIN_DOC_ARTIFACTS");
        if (!artifacts.isEmpty()) {
            d.renderToPdf(artifacts + QStringLiteral("/projects.pdf"));
            d.toImage(0, 110).save(artifacts + QStringLiteral("/projects-1.png"));
        }
        const std::optional<QString> text = test::pdfText(pdf);
        QVERIFY(text);
        const QString letters = test::withoutBlanks(*text);
        // Captions that wrap come out line by line: look for each word.
        QStringList expected = kCaptions.join(QLatin1Char(' ')).split(QLatin1Char(' '));
        expected << kHeading << kDateLabel.chopped(1) << kUnitsHeading << kSum << "1403/05/12" << "مسکن ملی فاز 3"
                 << "306" << "1404/12/29";
        for (const QString& s : expected)
            QVERIFY2(letters.contains(test::withoutBlanks(test::normalise(s))), qPrintable(s));
        // The row number heading is the rightmost word of the heading row.
        const QList<test::PdfWord> words = test::pdfWords(pdf);
        std::optional<QRectF> number, province;
        for (const test::PdfWord& w : words) {
            if (w.text == test::normalise(kCaptions.at(0)))
                number = w.box;
            if (w.text == test::normalise(kCaptions.at(1)) && !province)
                province = w.box;
        }
        QVERIFY(number && province);
        QVERIFY(number->left() > province->right());
    }

    void previewOpensWithTodaysDate()
    {
        test::DialogRecorder rec;
        QString title;
        rec.onExec = [&](QDialog* dlg) {
            title = dlg->windowTitle();
            return int(QDialog::Accepted);
        };
        Tproject_chap::preview(rowsOf(projects(2)), kTotals);
        QCOMPARE(rec.shown.size(), 1);
        QCOMPARE(rec.shown.first().title, QStringLiteral("preview"));
        QCOMPARE(title, kHeading);
    }
};

TAVRIN_TEST_MAIN(TestProjectList)
#include "tst_projectlist.moc"
