// Tabular reports: right-to-left columns, paging with the header row repeated,
// page numbers, groups and totals, and the PDF they print to.
#include "support/testsupport.h"

#include "db/privatefiles.h"
#include "documents/drawcheck.h"
#include "documents/pdftext.h"
#include "documents/preview.h"
#include "documents/tablereport.h"
#include "documents/textlayout.h"

#include <QLabel>
#include <QTemporaryDir>

using namespace tavrin;
using namespace tavrin::doc;

namespace {

const PageSetup kA5 {Paper::A5, Orientation::Portrait, QMarginsF(10, 10, 10, 10)};

// A report of payments, grouped by province when asked.
TableReport paymentsReport(bool grouped, bool wrapNames = false)
{
    TableReport r(kA5);
    Band header(12);
    header.text(QRectF(10, 0, 128, 8), QStringLiteral("فهرست پرداخت‌ها"), TextStyle().pt(12).bold().centre())
        .field(QStringLiteral("dat"), QRectF(10, 0, 25, 8), TextStyle().pt(8).left());
    r.pageHeader(header)
        .pageFooter(TableReport::pageNumberFooter(kA5))
        .rowNumber(QStringLiteral("ردیف"), 10)
        .column(Column(QStringLiteral("استان"), QStringLiteral("ostan"), 30, Qt::AlignRight))
        .column(Column(QStringLiteral("نام"), QStringLiteral("name"), 40, Qt::AlignRight).wrapped(wrapNames))
        .column(Column(QStringLiteral("مبلغ"), QStringLiteral("mablagh"), 30).summed().grouped())
        .column(Column(QStringLiteral("تعداد"), QStringLiteral("cnt"), 18).summed())
        .totals(QStringLiteral("جمع کل"));
    if (grouped)
        r.groupBy(QStringLiteral("ostan"), QStringLiteral("استان {ostan}"), QStringLiteral("جمع {ostan} ({count})"));
    return r;
}

QList<QVariantMap> paymentRows(int n)
{
    static const QStringList provinces {QStringLiteral("تهران"), QStringLiteral("فارس"), QStringLiteral("گیلان")};
    QList<QVariantMap> rows;
    for (int i = 0; i < n; ++i)
        rows.append({{"ostan", provinces.at(i * provinces.size() / n)},
                     {"name", QStringLiteral("متقاضی %1").arg(i + 1)},
                     {"mablagh", QString::number((i + 1) * 1000000)},
                     {"cnt", i % 3}});
    return rows;
}

QList<Element> textsOf(const Document& d, int page, Role role)
{
    QList<Element> out;
    for (const Element& e : d.elements(page, role))
        if (e.isText())
            out << e;
    return out;
}

// The cells' texts of one row, right to left.
QStringList rowTexts(const Document& d, int row)
{
    QStringList out;
    for (int p = 0; p < d.pageCount(); ++p)
        for (const Element& e : textsOf(d, p, Role::Cell))
            if (e.row == row)
                out << e.text;
    return out;
}

// A device of the documents' measuring resolution.
const double kPxPerMm = 1200 / 25.4;
const QImage& referenceImage()
{
    static const QImage image = [] {
        QImage i(1, 1, QImage::Format_ARGB32);
        i.setDotsPerMeterX(qRound(1200 / 0.0254));
        i.setDotsPerMeterY(qRound(1200 / 0.0254));
        return i;
    }();
    return image;
}

} // namespace

class TestTableReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstColumnIsRightmost()
    {
        const auto g = paymentsReport(false).columnGeometry();
        QCOMPARE(g.size(), 5);
        // 128 mm are free; the 128 mm table fills them from the right edge.
        QCOMPARE(g.at(0).first + g.at(0).second, 138.0);
        for (int i = 1; i < g.size(); ++i)
            QCOMPARE(g.at(i).first + g.at(i).second, g.at(i - 1).first);   // each column left of the previous
        QCOMPARE(g.last().first, 10.0);
        QCOMPARE(g.at(3).second, 30.0);
    }

    void narrowTableIsCentredWideTableShrinks()
    {
        TableReport narrow(kA5);
        narrow.column(Column(QStringLiteral("الف"), QStringLiteral("a"), 40)).column(Column(QStringLiteral("ب"), QStringLiteral("b"), 20));
        const auto n = narrow.columnGeometry();
        QCOMPARE(n.at(0).first + n.at(0).second, 74.0 + 30.0);     // centre 74, half of 60
        QCOMPARE(n.at(1).first, 74.0 - 30.0);
        TableReport wide(kA5);
        wide.column(Column(QStringLiteral("الف"), QStringLiteral("a"), 192)).column(Column(QStringLiteral("ب"), QStringLiteral("b"), 64));
        const auto w = wide.columnGeometry();
        QCOMPARE(w.at(0).second, 96.0);
        QCOMPARE(w.at(1).second, 32.0);
        QCOMPARE(w.at(1).first, 10.0);
    }

    void headingsAndCellsAreDrawnInTheirColumns()
    {
        const TableReport r = paymentsReport(false);
        const Document d = r.fill({{"dat", "1403/01/01"}}, paymentRows(3));
        const auto g = r.columnGeometry();
        const QList<Element> headings = textsOf(d, 0, Role::ColumnHeading);
        QCOMPARE(headings.size(), 5);
        for (int i = 0; i < headings.size(); ++i) {
            QCOMPARE(headings.at(i).column, r.columns().at(i).field);
            QVERIFY(headings.at(i).rect.left() >= g.at(i).first);
            QVERIFY(headings.at(i).rect.right() <= g.at(i).first + g.at(i).second);
        }
        // The row number heading is right of the province heading.
        QVERIFY(headings.at(0).rect.left() > headings.at(1).rect.right() - 0.01);
        QCOMPARE(rowTexts(d, 1), (QStringList {"2", "فارس", "متقاضی 2", "2,000,000", "1"}));
    }

    void headerRowRepeatsAndRowsSplitAcrossPages()
    {
        const QList<QVariantMap> rows = paymentRows(60);
        const Document d = paymentsReport(false).fill({{"dat", "1403/01/01"}}, rows);
        QVERIFY(d.pageCount() >= 3);
        const QRectF content = kA5.contentRect();
        QList<int> seen;
        for (int p = 0; p < d.pageCount(); ++p) {
            QCOMPARE(d.texts(p, Role::PageHeader), (QStringList {"فهرست پرداخت‌ها", "1403/01/01"}));
            QCOMPARE(d.texts(p, Role::ColumnHeading), (QStringList {"ردیف", "استان", "نام", "مبلغ", "تعداد"}));
            const double headingBottom = textsOf(d, p, Role::ColumnHeading).first().rect.bottom();
            const double footerTop = textsOf(d, p, Role::PageFooter).first().rect.top();
            QVERIFY(footerTop < content.bottom());
            int lastRowOnPage = -1;
            for (const Element& e : d.elements(p, Role::Cell)) {
                QVERIFY(e.rect.top() >= headingBottom - 1e-6);
                QVERIFY(e.rect.bottom() <= footerTop + 1e-6);
                if (e.isText() && e.column == QLatin1String("name")) {
                    QVERIFY(e.row > lastRowOnPage);
                    lastRowOnPage = e.row;
                    seen << e.row;
                }
            }
            QVERIFY(lastRowOnPage >= 0);   // no page without rows
        }
        // Every row exactly once, in order, numbered on from page to page.
        QCOMPARE(seen.size(), rows.size());
        for (int i = 0; i < seen.size(); ++i)
            QCOMPARE(seen.at(i), i);
        QCOMPARE(rowTexts(d, 59).first(), QStringLiteral("60"));
        // The totals line is on the last page, below the last row.
        QCOMPARE(d.texts(d.pageCount() - 1, Role::Totals).first(), QStringLiteral("جمع کل"));
        for (int p = 0; p < d.pageCount() - 1; ++p)
            QVERIFY(d.texts(p, Role::Totals).isEmpty());
    }

    void pageNumbersCountEveryPage()
    {
        TableStyle persian;
        persian.persianNumbers = true;
        for (bool inPersian : {false, true}) {
            const Document d = paymentsReport(false).style(inPersian ? persian : TableStyle()).fill({}, paymentRows(60));
            const int n = d.pageCount();
            for (int p = 0; p < n; ++p) {
                QString expected = QStringLiteral("صفحه %1 از %2").arg(p + 1).arg(n);
                if (inPersian)
                    expected = persianDigits(expected);
                QCOMPARE(d.texts(p, Role::PageFooter), QStringList {expected});
            }
            QCOMPARE(rowTexts(d, 11).first(), inPersian ? QStringLiteral("۱۲") : QStringLiteral("12"));
        }
    }

    void grandTotalsAddUpTheRows()
    {
        QList<QVariantMap> rows = paymentRows(60);
        rows[5]["mablagh"] = "";                  // no amount
        rows[6]["mablagh"] = "7,000,000";         // typed with separators
        rows[7]["mablagh"] = QStringLiteral("۸۰۰۰۰۰۰");   // Persian digits
        const Document d = paymentsReport(false).fill({}, rows);
        qint64 expected = 0;
        for (int i = 0; i < 60; ++i)
            expected += i == 5 ? 0 : qint64(i + 1) * 1000000;
        int cnt = 0;
        for (int i = 0; i < 60; ++i)
            cnt += i % 3;
        const QList<Element> totals = textsOf(d, d.pageCount() - 1, Role::Totals);
        QCOMPARE(totals.size(), 3);   // the caption over the columns before the first total, then one per column
        QCOMPARE(totals.at(0).text, QStringLiteral("جمع کل"));
        const auto g = paymentsReport(false).columnGeometry();
        QVERIFY(totals.at(0).rect.right() > g.at(0).first);          // spans the row number ...
        QVERIFY(totals.at(0).rect.left() < g.at(2).first + TableStyle().padding + 0.01);   // ... to the name
        QVERIFY(totals.at(0).rect.left() > g.at(3).first + g.at(3).second - 0.01);
        QCOMPARE(totals.at(1).text, groupThousands(QString::number(expected)));
        QCOMPARE(totals.at(1).column, QStringLiteral("mablagh"));
        QCOMPARE(totals.at(2).text, QString::number(cnt));
    }

    void totalsCanComeFromTheValues()
    {
        TableReport r(kA5);
        r.column(Column(QStringLiteral("نام"), QStringLiteral("name"), 40))
            .column(Column(QStringLiteral("تعداد"), QStringLiteral("cnt"), 20).totalFrom(QStringLiteral("c")))
            .column(Column(QStringLiteral("مبلغ"), QStringLiteral("m"), 30).totalFrom(QStringLiteral("s")).grouped())
            .totals(QStringLiteral("جمع"));
        QCOMPARE(r.fieldNames(), (QStringList {"c", "s"}));
        const Document d = r.fill({{"c", 99}, {"s", "123456"}}, QList<QVariantMap> {{{"name", "الف"}, {"cnt", 1}, {"m", 5}}});
        QCOMPARE(d.texts(0, Role::Totals), (QStringList {"جمع", "99", "123,456"}));
        QCOMPARE(d.field("c"), QStringLiteral("99"));
        QCOMPARE(d.field("s"), QStringLiteral("123456"));
    }

    void groupsHaveHeadersFootersAndTheirOwnTotals()
    {
        const QList<QVariantMap> rows = paymentRows(9);   // three provinces, three rows each
        const Document d = paymentsReport(true).fill({}, rows);
        QCOMPARE(d.pageCount(), 1);
        QCOMPARE(d.texts(0, Role::GroupHeader), (QStringList {"استان تهران", "استان فارس", "استان گیلان"}));
        const QList<Element> footers = textsOf(d, 0, Role::GroupFooter);
        QStringList captions, amounts, counts;
        for (const Element& e : footers) {
            if (e.column.isEmpty())
                captions << e.text;
            else if (e.column == QLatin1String("mablagh"))
                amounts << e.text;
            else if (e.column == QLatin1String("cnt"))
                counts << e.text;
        }
        QCOMPARE(captions, (QStringList {"جمع تهران (3)", "جمع فارس (3)", "جمع گیلان (3)"}));
        QCOMPARE(amounts, (QStringList {"6,000,000", "15,000,000", "24,000,000"}));
        QCOMPARE(counts, (QStringList {"3", "3", "3"}));   // 0+1+2 in each group
        QCOMPARE(d.texts(0, Role::Totals).at(1), QStringLiteral("45,000,000"));
        // Reading down the page: header, its rows, footer, next header ...
        double lastTop = -1;
        QStringList order;
        for (const Element& e : d.page(0).elements) {
            if (!e.isText())
                continue;
            if (e.role == Role::GroupHeader || (e.role == Role::GroupFooter && e.column.isEmpty())
                || (e.role == Role::Cell && e.column == QLatin1String("name"))) {
                QVERIFY(e.rect.top() > lastTop);
                lastTop = e.rect.top();
                order << (e.role == Role::GroupHeader ? QStringLiteral("H") : e.role == Role::GroupFooter ? QStringLiteral("F") : QStringLiteral("r"));
            }
        }
        QCOMPARE(order.join(QString()), QStringLiteral("HrrrFHrrrFHrrrF"));
        // Row numbers run on across groups unless asked to restart.
        QCOMPARE(rowTexts(d, 3).first(), QStringLiteral("4"));
        TableStyle restart;
        restart.restartNumbersPerGroup = true;
        const Document again = paymentsReport(true).style(restart).fill({}, rows);
        QCOMPARE(rowTexts(again, 3).first(), QStringLiteral("1"));
        QCOMPARE(rowTexts(again, 8).first(), QStringLiteral("3"));
    }

    void groupHeaderIsNeverLastOnAPage()
    {
        // Many small groups over several pages.
        QList<QVariantMap> rows;
        for (int i = 0; i < 120; ++i)
            rows.append({{"ostan", QStringLiteral("استان %1").arg(i / 4)}, {"name", QString::number(i)}, {"mablagh", "1"}, {"cnt", "1"}});
        const Document d = paymentsReport(true).fill({}, rows);
        QVERIFY(d.pageCount() > 3);
        int groupsSeen = 0;
        for (int p = 0; p < d.pageCount(); ++p) {
            for (const Element& h : textsOf(d, p, Role::GroupHeader)) {
                ++groupsSeen;
                bool rowBelow = false;
                for (const Element& c : textsOf(d, p, Role::Cell))
                    rowBelow = rowBelow || std::abs(c.rect.top() - h.rect.bottom()) < 1e-6;
                QVERIFY2(rowBelow, qPrintable(h.text));
            }
            QCOMPARE(d.texts(p, Role::ColumnHeading).size(), 5);
        }
        QCOMPARE(groupsSeen, 30);
    }

    void spanHeadingCoversItsColumns()
    {
        TableReport r = paymentsReport(false);
        r.span(QStringLiteral("ارقام"), QStringLiteral("mablagh"), QStringLiteral("cnt"));
        const Document d = r.fill({}, paymentRows(2));
        const auto g = r.columnGeometry();
        const QList<Element> spans = d.elements(0, Role::SpanHeading);
        QCOMPARE(spans.size(), 2);   // its box and its text
        const Element& box = spans.at(0);
        QCOMPARE(box.kind, Element::Kind::Box);
        QCOMPARE(box.rect.left(), g.at(4).first);
        QCOMPARE(box.rect.right(), g.at(3).first + g.at(3).second);
        QCOMPARE(spans.at(1).text, QStringLiteral("ارقام"));
        const TableStyle st;
        QVERIFY(box.rect.height() >= st.spanHeight);
        double bottom = -1;
        for (const Element& e : d.elements(0, Role::ColumnHeading)) {
            if (e.kind != Element::Kind::Box)
                continue;
            const bool under = e.column == QLatin1String("mablagh") || e.column == QLatin1String("cnt");
            QCOMPARE(e.rect.top(), under ? box.rect.bottom() : box.rect.top());
            if (bottom < 0)
                bottom = e.rect.bottom();
            QCOMPARE(e.rect.bottom(), bottom);
            QVERIFY(e.rect.height() >= (under ? st.headerHeight : st.headerHeight + st.spanHeight));
        }
        // The first row starts under the header row.
        QCOMPARE(textsOf(d, 0, Role::Cell).first().rect.top(), bottom);
    }

    void longCaptionsMakeTheHeaderRowTaller()
    {
        TableReport r(kA5);
        r.column(Column(QStringLiteral("کد"), QStringLiteral("c"), 30));
        const double usual = r.fill({}, QList<QVariantMap> {}).elements(0, Role::ColumnHeading).first().rect.height();
        QCOMPARE(usual, TableStyle().headerHeight);
        r.column(Column(QStringLiteral("تعداد واحدهای قابل واگذاری به متقاضیان"), QStringLiteral("n"), 14));
        const QList<Element> headings = r.fill({}, QList<QVariantMap> {}).elements(0, Role::ColumnHeading);
        const double tall = headings.first().rect.height();
        QVERIFY(tall > 2 * usual);
        for (const Element& e : headings)
            QCOMPARE(e.rect.height(), tall);
    }

    // A word shrinks to fit its column; one that cannot shrink enough breaks
    // at the column's edge instead of running into the next column.
    void aLongWordShrinksThenBreaksInsideItsColumn()
    {
        const QString word = QStringLiteral("ردیف");
        const double natural = detail::textWidthMm(word, TextStyle().pt(TableStyle().headingFontSize).bold());
        const double padding = 2 * TableStyle().padding;
        TableReport r(kA5);
        r.column(Column(word, QStringLiteral("n"), natural * 0.7 + padding))
            .column(Column(QStringLiteral("نام"), QStringLiteral("m"), 30))
            .column(Column(word, QStringLiteral("k"), natural * 0.4 + padding));
        const QList<Element> headings = textsOf(r.fill({}, QList<QVariantMap> {}), 0, Role::ColumnHeading);
        QVERIFY(headings.at(0).style.pointSize < TableStyle().headingFontSize);
        QCOMPARE(headings.at(1).style.pointSize, TableStyle().headingFontSize);
        QCOMPARE(headings.at(0).rect.height(), TableStyle().headerHeight);
        QCOMPARE(detail::textLines(word, {}, headings.at(0).style, headings.at(0).rect.width()).size(), 1);
        QCOMPARE(headings.at(2).style.pointSize, TableStyle().headingFontSize * 0.55);
        const auto pieces = detail::textLines(word, {}, headings.at(2).style, headings.at(2).rect.width());
        QCOMPARE(pieces.size(), 2);
        for (const auto& piece : pieces)
            QVERIFY(detail::textWidthMm(word.mid(piece.start, piece.length), headings.at(2).style)
                    <= headings.at(2).rect.width() + 0.01);
    }

    void wrappedCellsMakeTheirRowTaller()
    {
        TableReport r(kA5);
        r.column(Column(QStringLiteral("شرح"), QStringLiteral("t"), 30, Qt::AlignRight).wrapped())
            .column(Column(QStringLiteral("کد"), QStringLiteral("c"), 15));
        const Document d = r.fill({}, QList<QVariantMap> {
                                           {{"t", "کوتاه"}, {"c", 1}},
                                           {{"t", "شرحی بسیار بلند که در سی میلیمتر یک سطر جا نمی‌گیرد و باید بشکند"}, {"c", 2}},
                                           {{"t", "کوتاه"}, {"c", 3}}});
        QList<double> heights;
        for (const Element& e : textsOf(d, 0, Role::Cell))
            if (e.column == QLatin1String("c"))
                heights << e.rect.height();
        QCOMPARE(heights.size(), 3);
        QCOMPARE(heights.at(0), TableStyle().rowHeight);   // one line fits the usual height
        QVERIFY(heights.at(1) > 2 * TableStyle().rowHeight);
        QCOMPARE(heights.at(2), heights.at(0));
    }

    void longUnwrappedValuesShrinkToTheirCell()
    {
        TableReport r(kA5);
        r.column(Column(QStringLiteral("نام"), QStringLiteral("n"), 20));
        const Document d = r.fill({}, QList<QVariantMap> {{{"n", "کوتاه"}}, {{"n", "نامی بسیار بسیار بلند برای این ستون"}}});
        const QList<Element> cells = textsOf(d, 0, Role::Cell);
        QCOMPARE(cells.at(0).style.pointSize, TableStyle().fontSize);
        QVERIFY(cells.at(1).style.pointSize < TableStyle().fontSize);
    }

    void emptyTableStillShowsHeaderAndTotals()
    {
        const Document d = paymentsReport(true).fill({}, QList<QVariantMap> {});
        QCOMPARE(d.pageCount(), 1);
        QCOMPARE(d.texts(0, Role::ColumnHeading).size(), 5);
        QVERIFY(d.texts(0, Role::Cell).isEmpty());
        QVERIFY(d.texts(0, Role::GroupHeader).isEmpty());
        QCOMPARE(d.texts(0, Role::Totals), (QStringList {"جمع کل", "0", "0"}));
        TableReport plain(kA5);
        plain.column(Column(QStringLiteral("الف"), QStringLiteral("a"), 20));
        QCOMPARE(plain.fill({}, QList<QVariantMap> {}).texts(0, Role::ColumnHeading), QStringList {"الف"});
    }

    void titleBeforeAndSummaryAfterTheTable()
    {
        TableReport r = paymentsReport(false);
        r.title(Band().paragraph(10, 128, QStringLiteral("بند ۱ و ۲ {name}")));
        Band summary;
        summary.paragraph(10, 128, QStringLiteral("بندهای ۳ تا ۹ که پس از جدول می‌آیند."), TextStyle().justify())
            .box(QRectF(10, 0, 128, 60));
        r.summary(summary);
        // Rows that leave less than 60 mm under the table: the summary moves to a new page.
        for (int n : {2, 18}) {
            const Document d = r.fill({{"name", "فلانی"}}, paymentRows(n));
            QCOMPARE(d.texts(0, Role::Title), QStringList {"بند ۱ و ۲ فلانی"});
            const double titleBottom = textsOf(d, 0, Role::Title).first().rect.bottom();
            QVERIFY(textsOf(d, 0, Role::ColumnHeading).first().rect.top() >= titleBottom - 1e-6);
            const int last = d.pageCount() - 1;
            const QList<Element> s = d.elements(last, Role::Summary);
            QCOMPARE(s.size(), 2);
            if (n == 2) {
                QCOMPARE(d.pageCount(), 1);
                QVERIFY(s.first().rect.top() >= textsOf(d, 0, Role::Totals).first().rect.bottom() - 1e-6);
            } else {
                QCOMPARE(d.pageCount(), 2);
                QVERIFY(d.texts(1, Role::ColumnHeading).isEmpty());   // no table on the summary's page
                QCOMPARE(s.at(1).rect.top(), kA5.contentRect().top() + 12);   // right under the page header
            }
            QVERIFY(s.at(1).rect.bottom() <= kA5.contentRect().bottom());
        }
    }

    // Clauses in the page header repeat over every page of a long table.
    void flowingPageHeaderRepeatsAboveTheTable()
    {
        TableReport r(kA5);
        Band header;
        header.text(QRectF(10, 0, 128, 8), QStringLiteral("تفاهم نامه"), TextStyle().pt(12).bold().centre())
            .paragraph(10, 128, QStringLiteral("۱- متن بند نخست که {who} آن را می‌پذیرد و به اندازه دو سطر یا بیشتر ادامه می‌یابد تا بلندی سربرگ را بیازماید."), TextStyle().justify(), 9)
            .paragraph(10, 128, QStringLiteral("۲- بند دوم."), TextStyle().justify(), 1);
        r.pageHeader(header).column(Column(QStringLiteral("مبلغ"), QStringLiteral("m"), 40));
        QList<QVariantMap> rows;
        for (int i = 0; i < 50; ++i)
            rows.append({{"m", i}});
        const Document d = r.fill({{"who", "وديعه‌گذار"}}, rows);
        QVERIFY(d.pageCount() >= 2);
        for (int p = 0; p < d.pageCount(); ++p) {
            const QList<Element> clauses = textsOf(d, p, Role::PageHeader);
            QCOMPARE(clauses.size(), 3);
            QVERIFY(clauses.at(1).text.contains(QStringLiteral("وديعه‌گذار")));
            QVERIFY(clauses.at(1).rect.height() > 8);     // two lines at least
            QCOMPARE(clauses.at(2).rect.top(), clauses.at(1).rect.bottom() + 1);
            QCOMPARE(textsOf(d, p, Role::ColumnHeading).first().rect.top(), clauses.at(2).rect.bottom());
        }
    }

    void rowsFromACallbackOrAList()
    {
        const QList<QVariantMap> rows = paymentRows(40);
        int given = 0;
        RowSource source = [&]() -> std::optional<QVariantMap> {
            if (given >= rows.size())
                return std::nullopt;
            return rows.at(given++);
        };
        const Document a = paymentsReport(true).fill({}, source);
        const Document b = paymentsReport(true).fill({}, rows);
        QCOMPARE(given, 40);
        QCOMPARE(a.pageCount(), b.pageCount());
        QCOMPARE(a.plainText(), b.plainText());
        // Handed over one at a time by a read that calls back (the filler
        // keeps its own copy of the report it was made from).
        TableReport::Filler filler(paymentsReport(true), {{"dat", "1403/01/01"}});
        for (const QVariantMap& row : rows)
            filler.add(row);
        const Document c = filler.finish();
        QCOMPARE(c.plainText(), paymentsReport(true).fill({{"dat", "1403/01/01"}}, rows).plainText());
        QVERIFY(c.plainText().contains(QStringLiteral("1403/01/01")));
        for (int p = 0; p < c.pageCount(); ++p)
            QCOMPARE(c.page(p).elements.size(), b.page(p).elements.size());
    }

    // Measurements are remembered per text and style: asked again (the same
    // text, a plain one whose height comes with its width, a wrapped one at
    // another width) they give what a fresh layout gives.
    void rememberedMeasuresEqualFreshOnes()
    {
        const TextStyle plain = TextStyle().pt(9);
        const QString persian = QStringLiteral("مسکن مهر فاز 2 بلوک 1-2-3");
        for (const QString& text : {QStringLiteral("09121234567"), persian, QStringLiteral("a\nlonger line")}) {
            const double w = detail::textWidthMm(text, plain);
            QCOMPARE(detail::textWidthMm(text, plain), w);
            QCOMPARE(w, detail::naturalWidthMm(text, plain));
            QVERIFY(detail::textWidthMm(text, plain.pt(12)) > w);
            const double h = detail::textHeightMm(text, {}, plain, 1000);
            QCOMPARE(h, detail::layoutText(text, {}, plain, &referenceImage(), QRectF(0, 0, 1000 * kPxPerMm, 0),
                                           nullptr) / kPxPerMm);
        }
        QCOMPARE(detail::textHeightMm(QStringLiteral("09121234567"), {}, plain.spacing(2), 10),
                 detail::oneLineHeightMm(plain));
        QVERIFY(detail::oneLineHeightMm(plain.pt(14)) > detail::oneLineHeightMm(plain));
        QVERIFY(detail::textWidthMm(QStringLiteral("Wide words"), plain.bold())
                > detail::textWidthMm(QStringLiteral("Wide words"), plain));
        QVERIFY(detail::textHeightMm(QStringLiteral("a\nb"), {}, plain.spacing(2), 10)
                > detail::textHeightMm(QStringLiteral("a\nb"), {}, plain, 10));
        const TextStyle wrap = plain.wrap();
        const double wide = detail::textHeightMm(persian, {}, wrap, 200);
        const double narrow = detail::textHeightMm(persian, {}, wrap, 12);
        QVERIFY(narrow > 2 * wide);
        QCOMPARE(detail::textHeightMm(persian, {}, wrap, 200), wide);
    }

    // A long report writes its finished pages out as it is filled and reads
    // them back one at a time: every element of every page is what the
    // report kept in memory gives (group headers finished pages later, a row
    // broken over pages, page numbers), copies read the same pages, they draw
    // clean and print the same PDF, and the temporary file goes with them.
    void writtenOutPagesReadBackAsFilled()
    {
        QList<QVariantMap> rows = paymentRows(150);
        rows[70]["name"] = QStringLiteral("نامی بلند ").repeated(120);   // taller than a page
        const auto report = [] {
            return paymentsReport(true, true)
                .groupBy(QStringLiteral("ostan"), QStringLiteral("استان {ostan} ({count})"), QStringLiteral("جمع"));
        };
        const Document whole = report().fill({{"dat", "1403/01/01"}}, rows);
        const Document spilled = report().pagesInMemory(1).fill({{"dat", "1403/01/01"}}, rows);
        QVERIFY2(whole.pageCount() >= 8, qPrintable(QString::number(whole.pageCount())));
        QCOMPARE(whole.pagesInMemory(), whole.pageCount());
        QVERIFY2(spilled.pagesInMemory() <= 4, qPrintable(QString::number(spilled.pagesInMemory())));   // the last group's pages
        const auto key = [](const Element& e) {
            QStringList runs;
            for (const auto& r : e.boldRuns)
                runs << QStringLiteral("%1+%2").arg(r.first).arg(r.second);
            return QStringList {QString::number(int(e.kind)), QString::number(int(e.role)),
                                QStringLiteral("%1,%2,%3,%4").arg(e.rect.x(), 0, 'g', 17).arg(e.rect.y(), 0, 'g', 17)
                                    .arg(e.rect.width(), 0, 'g', 17).arg(e.rect.height(), 0, 'g', 17),
                                e.text, runs.join(' '), e.style.family, QString::number(e.style.pointSize, 'g', 17),
                                QString::number(e.style.isBold), QString::number(int(e.style.alignment)),
                                QString::number(e.style.wordWrap), QString::number(e.penWidth), e.stroke.name(),
                                e.fill.isValid() ? e.fill.name() : QString(), e.fields.join(','), e.column,
                                QString::number(e.row), e.source, QString::number(e.firstLine),
                                QString::number(e.lineCount)}
                .join('|');
        };
        const auto pageKeys = [&](const Document& d, int p) {
            QStringList out;
            for (const Element& e : d.page(p).elements)
                out << key(e);
            return out;
        };
        const Document copy = spilled;
        QCOMPARE(spilled.pageCount(), whole.pageCount());
        for (int p = whole.pageCount() - 1; p >= 0; --p) {   // backwards: every page read back again
            QCOMPARE(pageKeys(spilled, p), pageKeys(whole, p));
            QCOMPARE(pageKeys(copy, p), pageKeys(whole, p));
        }
        QVERIFY(spilled.plainText().contains(QStringLiteral("استان تهران (50)")));
        int parts = 0;
        for (int p = 0; p < spilled.pageCount(); ++p)
            for (const Element& e : spilled.elements(p, Role::Cell))
                parts += e.isPart() && e.row == 70;
        QVERIFY(parts >= 2);   // the long name goes on over pages
        QCOMPARE(spilled.plainText(), whole.plainText());
        QVERIFY(spilled.plainText().contains(QStringLiteral("صفحه 3 از %1").arg(whole.pageCount())));
        VERIFY_PRINTS_CLEAN(spilled);
        if (test::havePdfTools()) {
            QTemporaryDir dir;
            QVERIFY(whole.renderToPdf(dir.filePath("whole.pdf")));
            QVERIFY(spilled.renderToPdf(dir.filePath("spilled.pdf")));
            QCOMPARE(test::pdfText(dir.filePath("spilled.pdf")), test::pdfText(dir.filePath("whole.pdf")));
        }
        const QDir data(programDataFolder());
        QVERIFY(data.entryList({"pages-*"}, QDir::Files).isEmpty());   // unnamed, or named only while it lives
    }

    // A preview given the rows opens once its first page is laid out and
    // lays the rest out while it shows: only finished pages are shown, their
    // count reads "از بيش از N" and a page's own count "…" until the last is
    // known; then every page is there, numbered, as a whole fill gives it.
    void previewOpensOnTheFirstPageAndGrows()
    {
        const QList<QVariantMap> rows = paymentRows(400);
        int given = 0;
        const RowSource source = [&]() -> std::optional<QVariantMap> {
            return given < rows.size() ? std::optional<QVariantMap>(rows.at(given++)) : std::nullopt;
        };
        const Document whole = paymentsReport(true).fill({}, rows);
        TableReport::Filler filler(paymentsReport(true).pagesInMemory(2), {}, source);
        test::DialogRecorder rec;
        QStringList totals;
        QList<int> counts;
        int givenAtOpening = -1;
        QList<int> pagesAtOpening;
        QString firstFooter;
        rec.onExec = [&](QDialog* dlg) {
            auto* preview = qobject_cast<PrintPreview*>(dlg);
            auto* total = dlg->findChild<QLabel*>(QStringLiteral("pageTotal"));
            if (!preview || !total)
                return int(QDialog::Rejected);
            givenAtOpening = given;
            // Only finished pages are shown and counted.
            pagesAtOpening = {preview->pageCount(), filler.pagesDone(), filler.document().pageCount()};
            for (const test::DrawnItem& item : test::drawnItems(filler.document(), 0, 300))
                if (item.element >= 0 && filler.document().page(0).elements.at(item.element).role == Role::PageFooter)
                    firstFooter += item.text;
            preview->resize(800, 600);
            preview->show();
            for (int i = 0; i < 10000 && preview->isFilling(); ++i) {
                counts << preview->pageCount();
                totals << total->text();
                QCoreApplication::processEvents();
            }
            preview->showPage(preview->pageCount() - 1);
            QCoreApplication::processEvents();
            counts << preview->pageCount();
            totals << total->text();
            return int(QDialog::Accepted);
        };
        QCOMPARE(filler.showPreview(QStringLiteral("فهرست")), int(QDialog::Accepted));
        // Open once the first group's count is known (its header on page 1 shows it).
        QVERIFY2(givenAtOpening > 134 && givenAtOpening < 160, qPrintable(QString::number(givenAtOpening)));
        QVERIFY2(firstFooter.contains(QChar(0x2026)) && firstFooter.contains(QLatin1Char('1')) &&
                     !firstFooter.contains(QLatin1Char('{')),
                 qPrintable(firstFooter));   // "صفحه 1 از …"
        QCOMPARE(pagesAtOpening.at(0), pagesAtOpening.at(1));
        QVERIFY(pagesAtOpening.at(0) >= 1 && pagesAtOpening.at(0) < pagesAtOpening.at(2));
        QVERIFY(counts.first() >= 1 && counts.first() < whole.pageCount());
        QCOMPARE(totals.first(), QStringLiteral(" از بيش از %1 ").arg(counts.first()));
        QCOMPARE(counts.last(), whole.pageCount());
        QCOMPARE(totals.last(), QStringLiteral(" از %1 ").arg(whole.pageCount()));
        QVERIFY(std::is_sorted(counts.cbegin(), counts.cend()));
        QCOMPARE(given, rows.size());
        QCOMPARE(filler.document().plainText(), whole.plainText());

        // Rows that cannot be read close the preview, and the failure reaches the caller.
        int n = 0;
        TableReport::Filler failing(paymentsReport(false), {}, [&]() -> std::optional<QVariantMap> {
            if (++n > 100)
                throw std::runtime_error("unreadable");
            return rows.at(n - 1);
        });
        bool closed = false;
        rec.onExec = [&](QDialog* dlg) {
            auto* preview = qobject_cast<PrintPreview*>(dlg);
            preview->show();
            for (int i = 0; i < 1000 && preview->isFilling(); ++i)
                QCoreApplication::processEvents();
            closed = !preview->isVisible() && preview->result() == QDialog::Rejected;
            return preview->result();
        };
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, failing.showPreview(QStringLiteral("فهرست")));
        QVERIFY(closed);
        QCOMPARE(n, 101);
    }

    void pdfShowsColumnsRightToLeft()
    {
        if (!test::havePdfTools())
            QSKIP("pdftotext is not installed");
        QTemporaryDir dir;
        const QString pdf = dir.path() + QStringLiteral("/report.pdf");
        const Document d = paymentsReport(true).fill({{"dat", "1403/01/01"}}, paymentRows(60));
        VERIFY_PRINTS_CLEAN(d);
        QVERIFY(d.renderToPdf(pdf));
        const QString artifacts = qEnvironmentVariable("TAVRIN_DOC_ARTIFACTS");
        if (!artifacts.isEmpty())
            for (int p = 0; p < d.pageCount(); ++p)
                d.toImage(p, 110).save(artifacts + QStringLiteral("/payments-%1.png").arg(p + 1));
        const QList<test::PdfWord> words = test::pdfWords(pdf);
        QVERIFY(!words.isEmpty());
        const auto find = [&](const QString& text, int page) -> std::optional<QRectF> {
            for (const test::PdfWord& w : words)
                if (w.page == page && w.text == test::normalise(text))
                    return w.box;
            return std::nullopt;
        };
        for (int p = 0; p < d.pageCount(); ++p) {
            const auto number = find(QStringLiteral("ردیف"), p);
            const auto province = find(QStringLiteral("استان"), p);
            const auto name = find(QStringLiteral("نام"), p);
            const auto amount = find(QStringLiteral("مبلغ"), p);
            QVERIFY(number && province && name && amount);
            QVERIFY(number->left() > province->right());
            QVERIFY(province->left() > name->right());
            QVERIFY(name->left() > amount->right());
            QVERIFY(find(QStringLiteral("%1").arg(d.pageCount()), p));
        }
        const std::optional<QString> text = test::pdfText(pdf);
        QVERIFY(text);
        const QString letters = test::withoutBlanks(*text);
        for (const QString& s : {"فهرست پرداخت‌ها", "جمع کل", "جمع تهران", "جمع گیلان", "متقاضی", "1,830,000,000"})
            QVERIFY2(letters.contains(test::withoutBlanks(test::normalise(s))), qPrintable(s));
        QCOMPARE(text->count(QLatin1Char('\f')), d.pageCount());
    }
};

TAVRIN_TEST_MAIN(TestTableReport)
#include "tst_tablereport.moc"
