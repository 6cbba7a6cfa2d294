// Printed pages keep everything on the paper and off other text, whatever the
// values: long paragraphs and tokens, huge amounts, values with line breaks,
// rows taller than a page, bands at the end of a page.  Each document is
// checked by what it really draws (documents/drawcheck.h).
#include "support/testsupport.h"

#include "documents/drawcheck.h"
#include "documents/tablereport.h"

using namespace tavrin;
using namespace tavrin::doc;

namespace {

const PageSetup kA5 {Paper::A5, Orientation::Portrait, QMarginsF(10, 10, 10, 10)};

const QString kClause = QStringLiteral("خريدار متعهد است اقساط را در موعد مقرر پرداخت نمايد و در غير اين صورت "
                                       "خسارت تاخير به نرخ مندرج در قرارداد بر عهده اوست. ");

QList<Element> texts(const Document& d, int page, Role role)
{
    QList<Element> out;
    for (const Element& e : d.elements(page, role))
        if (e.isText())
            out << e;
    return out;
}

// The texts of one table row over all pages: (page, column, text).
QList<std::tuple<int, QString, QString>> rowParts(const Document& d, int row)
{
    QList<std::tuple<int, QString, QString>> out;
    for (int p = 0; p < d.pageCount(); ++p)
        for (const Element& e : texts(d, p, Role::Cell))
            if (e.row == row && !e.text.isEmpty())
                out.append({p, e.column, e.text});
    return out;
}

// A deposit list: the values that break naive layouts.
TableReport depositReport()
{
    TableReport r(kA5);
    r.pageHeader(Band(10).text(QRectF(10, 0, 128, 8), QStringLiteral("فهرست وديعه ها"), TextStyle().pt(12).bold().centre()))
        .pageFooter(TableReport::pageNumberFooter(kA5))
        .rowNumber(QStringLiteral("رديف"), 9)
        .column(Column(QStringLiteral("نام"), QStringLiteral("name"), 22, Qt::AlignRight))
        .column(Column(QStringLiteral("شماره حساب"), QStringLiteral("hesab"), 18).wrapped())
        .column(Column(QStringLiteral("شرح"), QStringLiteral("cmt"), 40, Qt::AlignRight).wrapped())
        .column(Column(QStringLiteral("مبلغ"), QStringLiteral("mablagh"), 22).summed().grouped())
        .column(Column(QStringLiteral("آدرس"), QStringLiteral("adr"), 17, Qt::AlignRight))
        .groupBy(QStringLiteral("ostan"), QStringLiteral("استان {ostan} - {count} وديعه"), QStringLiteral("جمع {ostan}"))
        .totals(QStringLiteral("جمع کل"));
    return r;
}

QList<QVariantMap> depositRows()
{
    QList<QVariantMap> rows;
    for (int i = 0; i < 14; ++i)
        rows.append({{"ostan", i < 9 ? "تهران" : "فارس"},
                     {"name", QStringLiteral("متقاضي %1").arg(i + 1)},
                     {"hesab", "0100"},
                     {"cmt", "کوتاه"},
                     {"mablagh", 1000000},
                     {"adr", "قم"}});
    rows[1]["name"] = QStringLiteral("نام و نام خانوادگي بسيار بسيار بلند يک متقاضي که در ستون نمي گنجد");
    rows[2]["hesab"] = QStringLiteral("0100234567890123456789012");          // one token, wider than its column
    rows[3]["mablagh"] = 1e15;                                                // a whole double of 16 digits
    rows[4]["mablagh"] = QStringLiteral("999999999999999999");
    rows[5]["adr"] = QStringLiteral("تهران \nخيابان آزادي\nکوچه ۱۲");         // line breaks in an unwrapped column
    rows[6]["cmt"] = kClause.repeated(16);                                    // a row taller than a page
    rows[10]["cmt"] = kClause.repeated(3);
    return rows;
}

} // namespace

class TestPrintBounds : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The checker itself finds text off the paper, out of its box, over
    // other text and across lines, and passes a clean page.
    void checkerFindsEveryFault()
    {
        Document d(kA5);
        Page& page = d.addPage();
        const auto text = [&](const QRectF& r, const QString& t) {
            Element e;
            e.rect = r;
            e.text = t;
            e.style = TextStyle().pt(10).right().top();
            page.elements << e;
        };
        Element line;
        line.kind = Element::Kind::Line;
        line.rect = QRectF(QPointF(10, 60), QPointF(138, 60));
        page.elements << line;
        text(QRectF(10, 20, 128, 8), QStringLiteral("متن درست"));
        QVERIFY(test::drawingFaults(d).isEmpty());

        text(QRectF(140, 30, 40, 8), QStringLiteral("بيرون از کاغذ"));                        // off the paper
        text(QRectF(10, 40, 15, 8), QStringLiteral("متني بلندتر از کادر خود"));                 // out of its box
        text(QRectF(90, 20, 48, 8), QStringLiteral("روي متن ديگر"));                           // over "متن درست"
        text(QRectF(10, 57, 128, 8), QStringLiteral("روي خط"));                                // across the line
        const QString all = test::drawingFaults(d).join(QLatin1Char('\n'));
        for (const char* expected : {"\"بيرون از کاغذ\" is drawn off the paper", "\"متني بلندتر از کادر خود\" runs out of its box",
                                     "\"متن درست\" is drawn over layout \"روي متن ديگر\"",
                                     "\"روي خط\" is drawn across the line of layout"})
            QVERIFY2(all.contains(QString::fromUtf8(expected)), qPrintable(all));
    }

    void adversarialTablePrintsCleanAndWhole()
    {
        const QList<QVariantMap> rows = depositRows();
        const Document d = depositReport().fill({}, rows);
        test::saveArtifacts(d, QStringLiteral("deposits"));
        VERIFY_PRINTS_CLEAN(d);

        // Nothing is cut: every value prints whole, amounts grouped without decimals.
        for (int i : {1, 2, 5}) {
            const QString field = i == 1 ? "name" : i == 2 ? "hesab" : "adr";
            QStringList shown;
            for (const auto& [p, column, text] : rowParts(d, i))
                if (column == field)
                    shown << text;
            QCOMPARE(shown, QStringList {rows.at(i).value(field).toString()});
        }
        QCOMPARE(std::get<2>(rowParts(d, 3).at(4)), QStringLiteral("1,000,000,000,000,000"));
        QCOMPARE(std::get<2>(rowParts(d, 4).at(4)), QStringLiteral("999,999,999,999,999,999"));

        // The row taller than a page goes on over pages; its number and
        // amount are on its first part, its text continues in order.
        const auto parts = rowParts(d, 6);
        QList<int> pages;
        QString cmt;
        for (const auto& [p, column, text] : parts) {
            if (column == Column::kRowNumber || column == QLatin1String("mablagh"))
                QCOMPARE(p, std::get<0>(parts.first()));
            if (column == QLatin1String("cmt")) {
                pages << p;
                cmt += text;
            }
        }
        QVERIFY(pages.size() >= 2);
        QVERIFY(std::is_sorted(pages.begin(), pages.end()) && pages.first() < pages.last());
        QCOMPARE(cmt, rows.at(6).value("cmt").toString());
        // Every page the table runs over repeats its header row.
        for (int p = 0; p < d.pageCount(); ++p)
            QCOMPARE(texts(d, p, Role::ColumnHeading).size(), 6);

        // Group headers give the group's number of rows.
        QStringList headers;
        for (int p = 0; p < d.pageCount(); ++p)
            for (const Element& e : texts(d, p, Role::GroupHeader))
                headers << e.text;
        QCOMPARE(headers, (QStringList {"استان تهران - 9 وديعه", "استان فارس - 5 وديعه"}));
        const qint64 sum = 999999999999999999LL + 1000000000000000LL + 12 * 1000000LL;
        QCOMPARE(d.texts(d.pageCount() - 1, Role::Totals).at(1), groupThousands(QString::number(sum)));
    }

    // Whatever falls at the end of a page, a group header is followed by
    // its first row on the same page, and summed first columns keep the
    // footer and total captions.
    void groupHeaderIsNeverLeftAloneAndCaptionsStay()
    {
        TableReport r(kA5);
        r.column(Column(QStringLiteral("تعداد"), QStringLiteral("n"), 20).summed())
            .column(Column(QStringLiteral("شرح"), QStringLiteral("cmt"), 60, Qt::AlignRight).wrapped())
            .groupBy(QStringLiteral("g"), QStringLiteral("گروه {g}"), QStringLiteral("جمع گروه {g}"))
            .totals(QStringLiteral("جمع کل"));
        for (int before = 20; before < 30; ++before) {
            QList<QVariantMap> rows;
            for (int i = 0; i < before; ++i)
                rows.append({{"g", "الف"}, {"n", 1}, {"cmt", "يک"}});
            for (int i = 0; i < 3; ++i)
                rows.append({{"g", "ب"}, {"n", 2}, {"cmt", kClause}});
            const Document d = r.fill({}, rows);
            for (int p = 0; p < d.pageCount(); ++p) {
                const QList<Element>& els = d.page(p).elements;
                for (int i = 0; i < els.size(); ++i)
                    if (els.at(i).role == Role::GroupHeader) {
                        bool followed = false;
                        for (int j = i + 1; j < els.size(); ++j)
                            followed = followed || els.at(j).role == Role::Cell;
                        QVERIFY2(followed, qPrintable(QStringLiteral("%1 rows: header alone on page %2").arg(before).arg(p + 1)));
                    }
            }
            if (before == 20) {
                VERIFY_PRINTS_CLEAN(d);
                QCOMPARE(d.texts(0, Role::GroupFooter).mid(0, 2), (QStringList {"جمع گروه الف", "20"}));
                QCOMPARE(d.texts(d.pageCount() - 1, Role::Totals), (QStringList {"جمع کل", "26", ""}));
            }
        }
    }

    // A summary band that does not fit the rest of the page moves whole to
    // the next when it fits there, and is broken between its paragraphs'
    // lines when it is breakable or taller than a page.
    void summaryBandsMoveOrAreBrokenOverPages()
    {
        for (int clauses : {4, 12}) {
            for (bool breakable : {false, true}) {
                Band summary;
                QString expected;
                for (int i = 1; i <= clauses; ++i) {
                    const QString clause = QStringLiteral("%1- ").arg(i) + kClause.repeated(2);
                    summary.paragraph(10, 128, clause, TextStyle().pt(10).justify(), 2);
                    expected += clause;
                }
                // A frame and a rule along the whole band, cut at each page end.
                const double h = detail::measureItems(summary.items(), 0, {});
                summary.box(QRectF(9.5, 0, 129, h + 1), 0.3).line(QPointF(9, 0), QPointF(9, h));
                TableReport r(kA5);
                r.column(Column(QStringLiteral("مبلغ"), QStringLiteral("m"), 40)).summary(summary.breakable(breakable));
                QList<QVariantMap> rows;
                for (int i = 0; i < 20; ++i)
                    rows.append({{"m", i}});
                const Document d = r.fill({}, rows);
                test::saveArtifacts(d, QStringLiteral("summary%1%2").arg(clauses).arg(breakable));
                VERIFY_PRINTS_CLEAN(d);
                QString joined;
                QList<int> pages;
                for (int p = 0; p < d.pageCount(); ++p)
                    for (const Element& e : texts(d, p, Role::Summary)) {
                        pages << p;
                        joined += e.text;
                    }
                QCOMPARE(joined, expected);
                QCOMPARE(pages.first(), clauses == 4 && !breakable ? 1 : 0);
                QCOMPARE(pages.last(), clauses == 4 ? 1 : d.pageCount() - 1);
                if (clauses == 12)
                    QVERIFY(d.pageCount() >= 3);
            }
        }
    }

    // A letter whose paragraph outgrows its page goes on over a continuation
    // page: the signature moves under the end of the text, the page number
    // is on every page.  Without continuation it is cut and listed.
    void longParagraphsContinueOrAreCut()
    {
        PageLayout l(kA5);
        l.text(QRectF(10, 10, 128, 8), QStringLiteral("بسمه تعالي"), TextStyle().pt(12).bold().centre())
            .text(QRectF(10, 10, 30, 6), QStringLiteral("شماره: {no}"), TextStyle().pt(8).left()).onEveryPage()
            .paragraph(10, 128, QStringLiteral("موضوع: {mozo}"), TextStyle().pt(10).bold().right(), 25)
            .paragraph(10, 128, QStringLiteral("احتراما {body}"), TextStyle().pt(10).justify().boldFields(), 3)
            .line(QPointF(80, 170), QPointF(138, 170), 0.3)
            .field(QStringLiteral("modir"), QRectF(80, 172, 58, 7), TextStyle().pt(10).centre())
            .text(QRectF(10, 192, 128, 6), QStringLiteral("صفحه {page} از {pages}"), TextStyle().pt(8).centre()).onEveryPage();
        const QVariantMap values {{"no", "1403/77"}, {"mozo", "معرفي"}, {"modir", "محمد کريمي"},
                                  {"body", QString(kClause.repeated(14) + QStringLiteral("IR0100234567890123456789012345678901234567890"))}};
        const Document d = l.fill(values);
        test::saveArtifacts(d, QStringLiteral("letter"));
        VERIFY_PRINTS_CLEAN(d);
        QCOMPARE(d.pageCount(), 2);
        QCOMPARE(d.overflows().size(), 1);
        QCOMPARE(d.overflows().first().kind, Overflow::Kind::Continued);
        QVERIFY(d.cutTexts().isEmpty());
        QString body;
        for (int p = 0; p < 2; ++p) {
            QVERIFY(d.texts(p).contains(QStringLiteral("شماره: 1403/77")));
            QVERIFY(d.texts(p).contains(QStringLiteral("صفحه %1 از 2").arg(p + 1)));
            for (const Element& e : d.page(p).elements)
                if (e.flowing && e.text != QStringLiteral("موضوع: معرفي"))
                    body += e.text;
        }
        QCOMPARE(body, QStringLiteral("احتراما ") + values.value("body").toString());
        QVERIFY(!d.texts(0).contains(QStringLiteral("محمد کريمي")));
        QVERIFY(d.texts(1).contains(QStringLiteral("محمد کريمي")));
        double textEnd = 0;
        for (const Element& e : d.page(1).elements)
            if (e.flowing)
                textEnd = std::max(textEnd, e.rect.bottom());
        QVERIFY(textEnd <= 170);

        l.continuation(false);
        const Document cut = l.fill(values);
        test::saveArtifacts(cut, QStringLiteral("letter-cut"));
        VERIFY_PRINTS_CLEAN(cut);
        QCOMPARE(cut.pageCount(), 1);
        QCOMPARE(cut.cutTexts().size(), 1);
        QVERIFY(cut.texts(0).contains(QStringLiteral("محمد کريمي")));
        test::DialogRecorder rec;
        rec.onExec = [](QDialog*) { return 0; };
        cut.showPreview();
        QCOMPARE(rec.shown.first().kind, QStringLiteral("warning"));
        QVERIFY(rec.shown.first().text.startsWith(kTextCutWarning));
        QCOMPARE(rec.shown.last().kind, QStringLiteral("window"));
    }

    // Fields longer than their boxes shrink, wrap inside the box or are cut
    // with "…", and never reach the text beside or below them.
    void fieldsStayInsideTheirBoxes()
    {
        PageLayout l(kA5);
        l.text(QRectF(110, 20, 28, 7), QStringLiteral("نام:"), TextStyle().pt(10).bold().right())
            .field(QStringLiteral("name"), QRectF(60, 20, 49, 7), TextStyle().pt(10).right())
            .text(QRectF(10, 20, 49, 7), QStringLiteral("کد ملي: 0012345678"), TextStyle().pt(10).right())
            .field(QStringLiteral("adr"), QRectF(10, 30, 128, 14), TextStyle().pt(10).right().top())
            .field(QStringLiteral("cmt"), QRectF(10, 46, 128, 20), TextStyle().pt(10).justify().wrap().top())
            .field(QStringLiteral("hesab"), QRectF(10, 68, 30, 14), TextStyle().pt(10).wrap())
            .text(QRectF(10, 84, 128, 7), QStringLiteral("متن زيرين"), TextStyle().pt(10).right());
        const QVariantMap values {{"name", QStringLiteral("نام و نام خانوادگي خيلي خيلي بلند متقاضي با چند کلمه بيشتر")},
                                  {"adr", QStringLiteral("سطر يک نشاني\nسطر دو نشاني\nسطر سه\nسطر چهار\nسطر پنج")},
                                  {"cmt", kClause.repeated(8)},
                                  {"hesab", QStringLiteral("01002345678901234567890123456789")}};
        const Document d = l.fill(values);
        test::saveArtifacts(d, QStringLiteral("fields"));
        VERIFY_PRINTS_CLEAN(d);
        QStringList cutFields;
        for (const Overflow& o : d.cutTexts())
            cutFields << o.fields;
        cutFields.sort();
        QCOMPARE(cutFields, (QStringList {"cmt", "name"}));
        QVERIFY(d.texts(0).contains(QStringLiteral("سطر يک نشاني\nسطر دو نشاني\nسطر سه سطر چهار سطر پنج")));
        const QList<Element>& e = d.page(0).elements;
        QVERIFY(e.at(1).text.endsWith(QLatin1String("...")) || e.at(1).text.endsWith(QChar(0x2026)));
        QVERIFY(e.at(1).style.pointSize < 10);
        QCOMPARE(e.at(5).text, values.value("hesab").toString());   // broken over lines, whole
        QCOMPARE(d.field(QStringLiteral("name")), values.value("name").toString());   // the field keeps its value
    }
};

TAVRIN_TEST_MAIN(TestPrintBounds)
#include "tst_printbounds.moc"
