// Page layouts: filling named fields, placing items, page numbers, values
// that keep their order inside right-to-left text, and the real output (PDF
// text, painted pixels, the print preview drawn as the PDF prints).
#include "support/testsupport.h"

#include "common/bidi.h"
#include "documents/layout.h"
#include "documents/preview.h"
#include "documents/textlayout.h"
#include "documents/drawcheck.h"
#include "documents/pdftext.h"

#include <QAbstractScrollArea>
#include <QTemporaryDir>

using namespace tavrin;
using namespace tavrin::doc;

namespace {

// A small introduction letter: a template of fixed text and named fields.
PageLayout sampleLetter()
{
    PageLayout l(PageSetup {Paper::A5, Orientation::Portrait});
    const QRectF c = l.setup().contentRect();   // 10..138 x 10..200
    l.text(QRectF(c.left(), c.top(), c.width(), 8), QStringLiteral("بسمه تعالی"), TextStyle().pt(12).bold().centre())
        .text(QRectF(c.left(), 20, 40, 6), QStringLiteral("شماره: {no}"), TextStyle().pt(9).right())
        .text(QRectF(c.left(), 26, 40, 6), QStringLiteral("تاریخ: {dat}"), TextStyle().pt(9).right())
        .line(QPointF(c.left(), 34), QPointF(c.right(), 34), 0.4)
        .text(QRectF(c.left(), 38, c.width(), 7), QStringLiteral("ریاست محترم بانک {bank} شعبه {shobe}"),
              TextStyle().pt(11).bold().right())
        .text(QRectF(c.left(), 50, c.width(), 50),
              QStringLiteral("با سلام، احتراماً بدین‌وسیله آقای/خانم {lname} فرزند {father} به شماره ملی {nation} "
                             "خریدار واحد شماره {vahed_no} پروژه {prj_name} جهت عقد قرارداد تسهیلات به مبلغ "
                             "{mablagh} ریال به آن شعبه معرفی می‌گردد."),
              TextStyle().pt(11).wrap().justify().top().spacing(1.3).boldFields())
        .field(QStringLiteral("modirkol"), QRectF(c.left(), 110, 50, 7), TextStyle().pt(10).bold().centre())
        .text(QRectF(c.left(), 117, 50, 6), QStringLiteral("مدیر کل"), TextStyle().pt(9).centre())
        .box(QRectF(c.left(), 130, 40, 20), 0.3, QColor(240, 240, 240))
        .newPage()
        .text(QRectF(c.left(), c.top(), c.width(), 8), QStringLiteral("پیوست نامه {no}"), TextStyle().pt(12).bold().right())
        .paragraph(c.left(), c.width(), QStringLiteral("۱- رونوشت قرارداد {prot_no} به پیوست است."), TextStyle().pt(10), 20)
        .paragraph(c.left(), c.width(),
                   QStringLiteral("۲- متقاضی متعهد است مدارک خود را ظرف یک هفته تحویل دهد و در غیر این صورت "
                                  "مسئولیت تأخیر با اوست؛ این بند برای آزمودن شکستن سطرها بلندتر نوشته شده است."),
                   TextStyle().pt(10), 3)
        .text(QRectF(c.left(), c.bottom() - 6, c.width(), 6), QStringLiteral("صفحه {page} از {pages}"),
              TextStyle().pt(9).centre());
    return l;
}

QVariantMap sampleValues()
{
    return {{"no", "1403/125"},        {"dat", "1403/05/12"},   {"bank", "مسکن"},
            {"shobe", "مرکزی"},        {"lname", "علی رضایی"},  {"father", "حسین"},
            {"nation", "0012345678"},  {"vahed_no", 12},          {"prj_name", "مهر ۲"},
            {"mablagh", "1,250,000,000"}, {"modirkol", "محمد کریمی"}, {"unused", "x"}};
}

// Columns of the image that hold dark pixels within rows y1..y2.
QPair<int, int> inkSpan(const QImage& img, int y1, int y2)
{
    int lo = img.width(), hi = -1;
    for (int y = y1; y < y2; ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) {
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
    return {lo, hi};
}

// Dark pixels of a with no dark pixel of b at most one pixel away, as a share
// of a's dark pixels (within the rectangle both cover).
double unmatchedInk(const QImage& a, const QImage& b, const QRect& area)
{
    const auto dark = [](const QImage& img, int x, int y) {
        return x >= 0 && y >= 0 && x < img.width() && y < img.height() && qGray(img.pixel(x, y)) < 140;
    };
    int ink = 0, lost = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!dark(a, x, y))
                continue;
            ++ink;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = dark(b, x + dx, y + dy);
            lost += near ? 0 : 1;
        }
    return ink == 0 ? 1.0 : double(lost) / ink;
}

void saveArtifact(const Document& d, const QString& name)
{
    const QString dir = qEnvironmentVariable("TAVRIN_DOC_ARTIFACTS");
    if (dir.isEmpty())
        return;
    d.renderToPdf(dir + QLatin1Char('/') + name + QStringLiteral(".pdf"));
    for (int i = 0; i < d.pageCount(); ++i)
        d.toImage(i, 110).save(dir + QStringLiteral("/%1-%2.png").arg(name).arg(i + 1));
}

} // namespace

class TestPageLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fieldNamesInOrderOfFirstUse()
    {
        QCOMPARE(sampleLetter().fieldNames(),
                 (QStringList {"no", "dat", "bank", "shobe", "lname", "father", "nation", "vahed_no", "prj_name",
                               "mablagh", "modirkol", "prot_no"}));
        QCOMPARE(sampleLetter().pageCount(), 2);
    }

    void fillRecordsEveryNamedField()
    {
        const Document d = sampleLetter().fill(sampleValues());
        QCOMPARE(d.field("lname"), QStringLiteral("علی رضایی"));
        QCOMPARE(d.field("vahed_no"), QStringLiteral("12"));
        QCOMPARE(d.field("mablagh"), QStringLiteral("1,250,000,000"));
        // Named by the layout but given no value: printed blank.
        QVERIFY(d.hasField("prot_no"));
        QCOMPARE(d.field("prot_no"), QString());
        // A value the layout does not name is not a field of the document.
        QVERIFY(!d.hasField("unused"));
        QCOMPARE(d.fields().keys().size(), 12);
    }

    void valuesReplaceNamesInsideFixedText()
    {
        const Document d = sampleLetter().fill(sampleValues());
        const QStringList texts = d.texts(0);
        QVERIFY(texts.contains(QStringLiteral("شماره: 1403/125")));
        QVERIFY(texts.contains(QStringLiteral("ریاست محترم بانک مسکن شعبه مرکزی")));
        const QString para = texts.at(4);
        QVERIFY(para.startsWith(QStringLiteral("با سلام، احتراماً بدین‌وسیله آقای/خانم علی رضایی فرزند حسین به شماره ملی 0012345678 ")));
        QVERIFY(!para.contains(QLatin1Char('{')));
        // The paragraph prints its values in bold, exactly where they landed.
        const Element e = d.page(0).elements.at(5);   // after the line element
        QCOMPARE(e.text, para);
        QStringList bold;
        for (const auto& run : e.boldRuns)
            bold << para.mid(run.first, run.second);
        QCOMPARE(bold, (QStringList {"علی رضایی", "حسین", "0012345678", "12", "مهر ۲", "1,250,000,000"}));
        QCOMPARE(e.fields, (QStringList {"lname", "father", "nation", "vahed_no", "prj_name", "mablagh"}));
    }

    void fillFromStringMap()
    {
        QMap<QString, QString> values {{"no", "7"}, {"modirkol", "ناظر"}};
        const Document d = sampleLetter().fill(values);
        QCOMPARE(d.field("no"), QStringLiteral("7"));
        QCOMPARE(d.texts(1).first(), QStringLiteral("پیوست نامه 7"));
        QVERIFY(d.texts(0).contains(QStringLiteral("ناظر")));
    }

    void paperSizes()
    {
        QCOMPARE((PageSetup {Paper::A4, Orientation::Portrait}.paperSize()), QSizeF(210, 297));
        QCOMPARE((PageSetup {Paper::A4, Orientation::Landscape}.paperSize()), QSizeF(297, 210));
        QCOMPARE((PageSetup {Paper::A5, Orientation::Portrait}.paperSize()), QSizeF(148, 210));
        QCOMPARE((PageSetup {Paper::A5, Orientation::Landscape}.paperSize()), QSizeF(210, 148));
        const PageSetup s {Paper::A5, Orientation::Landscape, QMarginsF(5, 6, 7, 8)};
        QCOMPARE(s.contentRect(), QRectF(5, 6, 210 - 12, 148 - 14));
        const Document d = sampleLetter().fill(sampleValues());
        QCOMPARE(d.toImage(0, 100).size(), QSize(qRound(148 / 25.4 * 100), qRound(210 / 25.4 * 100)));
    }

    void pageNumbersPerPage()
    {
        const Document d = sampleLetter().fill(sampleValues());
        QCOMPARE(d.pageCount(), 2);
        QCOMPARE(d.texts(1).last(), QStringLiteral("صفحه 2 از 2"));
        QVERIFY(!d.hasField("page"));
        QVERIFY(!d.hasField("pages"));
    }

    void flowingParagraphsStackAndGrow()
    {
        const Document d = sampleLetter().fill(sampleValues());
        const QList<Element>& els = d.page(1).elements;
        const Element& first = els.at(1);
        const Element& second = els.at(2);
        QCOMPARE(first.rect.top(), 20.0);                    // the gap above the first
        QVERIFY(first.rect.height() > 3 && first.rect.height() < 9);    // one line of 10pt
        QCOMPARE(second.rect.top(), first.rect.bottom() + 3);
        QVERIFY(second.rect.height() > 1.8 * first.rect.height());      // wrapped onto more lines
        QCOMPARE(second.rect.width(), 128.0);
        QVERIFY(second.style.wordWrap);
        // Placed in a band lower down, the paragraphs move with it.
        Band band;
        band.paragraph(10, 100, QStringLiteral("یک {x}")).paragraph(10, 100, QStringLiteral("دو"), TextStyle(), 2);
        Page page;
        Document sink;
        const double h = detail::placeItems(band.items(), 0, 50, Role::Summary, {{"x", "1"}}, page, sink);
        QCOMPARE(page.elements.at(0).rect.top(), 50.0);
        QCOMPARE(page.elements.at(1).rect.top(), 50 + page.elements.at(0).rect.height() + 2);
        QCOMPARE(h, page.elements.at(1).rect.bottom() - 50);
        QCOMPARE(page.elements.at(0).role, Role::Summary);
        QCOMPARE(sink.field("x"), QStringLiteral("1"));
    }

    void bandHeightIsLeastHeightOrLowestItem()
    {
        Band b(12);
        b.text(QRectF(10, 2, 50, 5), QStringLiteral("الف"));
        QCOMPARE(detail::measureItems(b.items(), b.minHeight(), {}), 12.0);
        b.line(QPointF(10, 20), QPointF(100, 20));
        QCOMPARE(detail::measureItems(b.items(), b.minHeight(), {}), 20.0);
    }

    void shrinkToFitOnlyWhenTooWide()
    {
        PageLayout l;
        const TextStyle s = TextStyle().pt(12).fit();
        l.field(QStringLiteral("a"), QRectF(10, 10, 30, 8), s).field(QStringLiteral("b"), QRectF(10, 20, 30, 8), s);
        const Document d = l.fill(QVariantMap {{"a", "کوتاه"}, {"b", "نام بسیار بلندی که در سی میلیمتر جا نمی‌شود"}});
        QCOMPARE(d.page(0).elements.at(0).style.pointSize, 12.0);
        const Element& b = d.page(0).elements.at(1);
        QVERIFY(b.style.pointSize < 12.0);
        QVERIFY(b.style.pointSize >= 12.0 * 0.6);
    }

    void valueTexts()
    {
        QCOMPARE(detail::valueText(QVariant()), QString());
        QCOMPARE(detail::valueText(QVariant(2500000.0)), QStringLiteral("2500000"));
        QCOMPARE(detail::valueText(QVariant(2.5)), QStringLiteral("2.50"));
        QCOMPARE(detail::valueText(QVariant(qint64(12))), QStringLiteral("12"));
        QCOMPARE(detail::valueText(QVariant(1e15)), QStringLiteral("1000000000000000"));
        QCOMPARE(detail::valueText(QVariant(-2.5e16)), QStringLiteral("-25000000000000000"));
        QCOMPARE(detail::valueText(QVariant(1e20)), QStringLiteral("100000000000000000000"));
        // A date never entered prints blank, not "/ /".
        QCOMPARE(detail::valueText(QStringLiteral("    /  /  ")), QString());
        QCOMPARE(detail::valueText(QStringLiteral("//")), QString());
        QCOMPARE(detail::valueText(QStringLiteral("1405/02/01")), QStringLiteral("1405/02/01"));
        QCOMPARE(detail::fieldsIn(QStringLiteral("{a} و {b_2} و {a} {page} {9x} {}")), (QStringList {"a", "b_2"}));
    }

    void digitHelpers()
    {
        QCOMPARE(persianDigits(QStringLiteral("1403/05/12")), QStringLiteral("۱۴۰۳/۰۵/۱۲"));
        QCOMPARE(groupThousands(QStringLiteral("1250000")), QStringLiteral("1,250,000"));
        QCOMPARE(groupThousands(QStringLiteral("-1250")), QStringLiteral("-1,250"));
        QCOMPARE(groupThousands(QStringLiteral("125")), QStringLiteral("125"));
        QCOMPARE(groupThousands(QStringLiteral("")), QStringLiteral(""));
        QCOMPARE(groupThousands(QStringLiteral("12a45")), QStringLiteral("12a45"));
        QCOMPARE(groupThousands(QStringLiteral("-")), QStringLiteral("-"));
        // Amounts stored with decimals: a zero fraction is dropped, another kept.
        QCOMPARE(groupThousands(QStringLiteral("1000000000000000.00")), QStringLiteral("1,000,000,000,000,000"));
        QCOMPARE(groupThousands(QStringLiteral("-1234567.50")), QStringLiteral("-1,234,567.50"));
        QCOMPARE(groupThousands(QStringLiteral("1.2.3")), QStringLiteral("1.2.3"));
    }

    void textDirection()
    {
        QVERIFY(detail::isRightToLeft(QStringLiteral("abc علی")));
        QVERIFY(!detail::isRightToLeft(QStringLiteral("-1,250")));
        QVERIFY(!detail::isRightToLeft(QStringLiteral("1403/05/12")));
        QVERIFY(!detail::isRightToLeft(QStringLiteral("۱۲۳")));   // Persian digits are numbers, not letters
    }

    // A unit, a contract number, a phone or a code inside Persian text reads
    // in its own order, on paper as in the preview; so does a label's value.
    void valuesKeepTheirOrderInRightToLeftText()
    {
        const auto runs = [](const QString& text) {
            QStringList out;
            for (const auto& [start, length] : bidi::leftToRightRuns(text))
                out << text.mid(start, length);
            return out;
        };
        QCOMPARE(runs(QStringLiteral("تلفن 021-88776655. قرارداد (1405-101)")), (QStringList {"021-88776655", "1405-101"}));
        QCOMPARE(runs(QStringLiteral("بلوک Block A-12 North، مانده -1,250 و ۱-۲-۳")),
                 (QStringList {"Block A-12 North", "-1,250", "۱-۲-۳"}));
        QCOMPARE(runs(QStringLiteral("1403/05/12 10:30")), (QStringList {"1403/05/12", "10:30"}));
        // Numbers alone, and the marks around them, read right as they are.
        QCOMPARE(runs(QStringLiteral("1- ماده 3 ثمن با سود 18% (واحد 12)")), QStringList());
        QCOMPARE(bidi::isolatedForRightToLeft(QStringLiteral("1-1-2")), QStringLiteral("1-1-2"));
        QCOMPARE(bidi::isolatedForRightToLeft(QStringLiteral("فاز 2-1")), QStringLiteral("فاز \u20662-1\u2069"));
        QCOMPARE(bidi::withoutMarks(bidi::isolatedForRightToLeft(QStringLiteral("واحد 1-1-2"))), QStringLiteral("واحد 1-1-2"));

        PageLayout l(PageSetup {Paper::A5});
        const QStringList lines {"خريدار واحد {a}", "شماره قرارداد: {b}", "تلفن {c}.", "واحد ({a}) بلوک {d} شمالي",
                                 "واحد {a} به تاريخ {e}"};
        for (int i = 0; i < lines.size(); ++i)
            l.text(QRectF(10, 10 + 10 * i, 128, 8), lines.at(i), TextStyle().pt(11).right().boldFields());
        const Document d = l.fill(QVariantMap {{"a", "1-2-3"}, {"b", "1405-101"}, {"c", "021-88776655"},
                                               {"d", "A-12"}, {"e", "1405/02/01"}});
        VERIFY_PRINTS_CLEAN(d);
        for (const int dpi : {1200, 96}) {
            const QList<test::DrawnItem> items = test::drawnItems(d, 0, dpi);
            QCOMPARE(test::readLeftToRight(items, 0), QStringLiteral("1-2-3"));
            QCOMPARE(test::readLeftToRight(items, 1), QStringLiteral("1405-101"));
            QCOMPARE(test::readLeftToRight(items, 2), QStringLiteral("021-88776655"));
            // Right to left the unit comes first, on the right; each value reads left to right.
            QCOMPARE(test::readLeftToRight(items, 3), QStringLiteral("A-121-2-3"));
            QCOMPARE(test::readLeftToRight(items, 4), QStringLiteral("1405/02/011-2-3"));
        }
        // The text of the document is the filled text, without marks.
        QCOMPARE(d.texts(0).at(0), QStringLiteral("خريدار واحد 1-2-3"));
    }

    // Right and left are edges of the paper for Persian and Latin text alike.
    void alignmentIsPhysical()
    {
        PageLayout l(PageSetup {Paper::A5});
        const TextStyle s = TextStyle().pt(14);
        l.text(QRectF(20, 20, 100, 10), QStringLiteral("راست"), s.right())
            .text(QRectF(20, 40, 100, 10), QStringLiteral("چپ"), s.left())
            .text(QRectF(20, 60, 100, 10), QStringLiteral("-1,250"), s.right())
            .text(QRectF(20, 80, 100, 10), QStringLiteral("-1,250"), s.left())
            .text(QRectF(20, 100, 100, 10), QStringLiteral("وسط"), s.centre());
        const int dpi = 100;
        const QImage img = l.fill(QVariantMap()).toImage(0, dpi);
        const auto px = [dpi](double mm) { return int(mm / 25.4 * dpi); };
        const int left = px(20), right = px(120), mid = px(70);
        const auto r1 = inkSpan(img, px(20), px(30));
        QVERIFY2(r1.second > right - px(3) && r1.first > mid, "right-aligned Persian hugs the right edge");
        const auto r2 = inkSpan(img, px(40), px(50));
        QVERIFY2(r2.first < left + px(3) && r2.second < mid, "left-aligned Persian hugs the left edge");
        const auto r3 = inkSpan(img, px(60), px(70));
        QVERIFY(r3.second > right - px(3) && r3.first > mid);
        const auto r4 = inkSpan(img, px(80), px(90));
        QVERIFY(r4.first < left + px(3) && r4.second < mid);
        const auto r5 = inkSpan(img, px(100), px(110));
        QVERIFY(std::abs((r5.first + r5.second) / 2 - mid) < px(2));
        // A minus sign stays in front of the number.
        const QImage number = img.copy(r3.first, px(60), r3.second - r3.first + 1, px(10));
        const auto minus = inkSpan(number, 0, number.height());
        QVERIFY(minus.first == 0);
    }

    void linesBoxesAndImagesArePlaced()
    {
        QImage emblem(20, 20, QImage::Format_ARGB32);
        emblem.fill(Qt::black);
        PageLayout l;
        l.line(QPointF(10, 10), QPointF(100, 10), 0.5).box(QRectF(10, 20, 50, 30), 0, Qt::black).image(QRectF(120, 20, 20, 20), emblem);
        const Document d = l.fill(QVariantMap());
        const QList<Element>& e = d.page(0).elements;
        QCOMPARE(e.size(), 3);
        QCOMPARE(e.at(0).kind, Element::Kind::Line);
        QCOMPARE(e.at(0).penWidth, 0.5);
        QCOMPARE(e.at(1).kind, Element::Kind::Box);
        QCOMPARE(e.at(2).kind, Element::Kind::Image);
        const int dpi = 50;
        const QImage img = d.toImage(0, dpi);
        const auto px = [dpi](double mm) { return int(mm / 25.4 * dpi); };
        QCOMPARE(qGray(img.pixel(px(35), px(35))), 0);    // inside the filled box
        QCOMPARE(qGray(img.pixel(px(130), px(30))), 0);   // inside the image
        QCOMPARE(qGray(img.pixel(px(80), px(35))), 255);  // blank paper
    }

    void appendedDocumentsPrintTogether()
    {
        Document d = sampleLetter().fill(sampleValues());
        PageLayout other(PageSetup {Paper::A5});
        other.field(QStringLiteral("extra"), QRectF(10, 10, 50, 8));
        d.append(other.fill(QVariantMap {{"extra", "سوم"}}));
        QCOMPARE(d.pageCount(), 3);
        QCOMPARE(d.field("extra"), QStringLiteral("سوم"));
        QCOMPARE(d.field("lname"), QStringLiteral("علی رضایی"));
        QCOMPARE(d.texts(2), QStringList {QStringLiteral("سوم")});
    }

    void pdfHoldsTheFilledPersianText()
    {
        if (!test::havePdfTools())
            QSKIP("pdftotext is not installed");
        const Document d = sampleLetter().fill(sampleValues());
        VERIFY_PRINTS_CLEAN(d);
        saveArtifact(d, QStringLiteral("letter"));
        QTemporaryDir dir;
        const QString pdf = dir.path() + QStringLiteral("/letter.pdf");
        QVERIFY(d.renderToPdf(pdf, QStringLiteral("letter")));
        const std::optional<QString> text = test::pdfText(pdf);
        QVERIFY(text);
        // Justified lines come back with letters spaced apart: compare without blanks.
        const QString letters = test::withoutBlanks(*text);
        for (const QString& word : {"بسمه تعالی", "ریاست محترم بانک مسکن شعبه مرکزی", "علی رضایی", "حسین",
                                    "0012345678", "1,250,000,000", "محمد کریمی", "1403/05/12", "پیوست", "مدیر کل",
                                    "مهر", "۲"})
            QVERIFY2(letters.contains(test::withoutBlanks(test::normalise(word))), qPrintable(word));
        QCOMPARE(text->count(QLatin1Char('\f')), 2);   // two pages
        QVERIFY(!text->contains(QLatin1Char('{')));
    }

    void previewShowsEveryPageThroughTheDialogService()
    {
        test::DialogRecorder rec;
        int pages = -1;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        rec.onExec = [&](QDialog* dlg) {
            direction = dlg->layoutDirection();
            if (auto* preview = qobject_cast<PrintPreview*>(dlg)) {
                pages = preview->pageCount();
                preview->showPage(1);
            }
            return int(QDialog::Accepted);
        };
        const Document d = sampleLetter().fill(sampleValues());
        QCOMPARE(d.showPreview(QStringLiteral("نامه")), int(QDialog::Accepted));
        QCOMPARE(rec.shown.size(), 1);
        QCOMPARE(rec.shown.first().kind, QStringLiteral("window"));
        QCOMPARE(rec.shown.first().title, QStringLiteral("preview"));   // the object name
        QCOMPARE(rec.shown.first().text, QStringLiteral("نامه"));
        QCOMPARE(direction, Qt::RightToLeft);
        QCOMPARE(pages, 2);
    }

    // The preview draws what the printer prints: the same words, blanks,
    // bold values and parentheses in the same places as the PDF (which
    // pdftoppm renders), at the zoom the preview shows.
    void previewShowsWhatThePdfPrints()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("pdftoppm is not installed");
        PageLayout l(PageSetup {Paper::A5});
        const QRectF c = l.setup().contentRect();
        l.paragraph(c.left(), c.width(),
                    QStringLiteral("اين تفاهمنامه به نمايندگي آقاي {modirkol} با سمت {semat} به عنوان نورواد در "
                                   "پروژه {prj} منعقد شد. ماده {n} ثمن معامله:"),
                    TextStyle().pt(11).justify().boldFields().spacing(1.15))
            .paragraph(c.left(), c.width(), QStringLiteral("خريدار واحد {unit} قرارداد {prot} تلفن {phone}."),
                       TextStyle().pt(11).right(), 3);
        // A narrow heading whose parenthesis wraps onto lines of its own.
        l.text(QRectF(c.right() - 20, c.top() + 80, 18, 40), QStringLiteral("شده (داراي متقاضي)"),
               TextStyle().pt(14).bold().centre().top().wrap());
        const Document d = l.fill(QVariantMap {{"modirkol", "محمد محمدي"}, {"semat", "مديرکل استان تهران"},
                                               {"prj", "مسکن"}, {"n", "3"}, {"unit", "1-2-3"},
                                               {"prot", "1405-101"}, {"phone", "021-88776655"}});
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
        QVERIFY(d.renderToPdf(pdf));
        const int dpi = 150;
        QProcess render;
        render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                                                   QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("page"))});
        QVERIFY(render.waitForFinished(60000) && render.exitCode() == 0);
        const QImage printed(dir.filePath(QStringLiteral("page.png")));
        QVERIFY(!printed.isNull());

        test::DialogRecorder rec;
        QImage shown;
        QRect page;
        rec.onExec = [&](QDialog* dlg) {
            auto* preview = qobject_cast<PrintPreview*>(dlg);
            auto* pages = dlg->findChild<QAbstractScrollArea*>(QStringLiteral("pages"));
            if (!preview || !pages)
                return int(QDialog::Rejected);
            preview->setWindowState(Qt::WindowNoState);
            preview->resize(1000, 1450);
            preview->show();
            preview->setZoom(dpi / double(pages->logicalDpiX()));
            preview->showPage(0);
            shown = pages->viewport()->grab().toImage();
            page = preview->pageRect(0);
            preview->hide();
            return int(QDialog::Accepted);
        };
        d.showPreview();
        QVERIFY(!shown.isNull());
        QVERIFY(std::abs(page.width() - printed.width()) <= 1 && std::abs(page.height() - printed.height()) <= 1);
        // The page inside its frame, as the preview shows it, against the printed page.
        const QRect inside = page.adjusted(2, 2, -2, -2).intersected(shown.rect());
        QVERIFY(inside.height() > printed.height() / 2);
        const QImage preview = shown.copy(inside);
        const QRect area(QPoint(0, 0), inside.size());
        const QImage paper = printed.copy(inside.translated(-page.topLeft()));
        QVERIFY2(unmatchedInk(preview, paper, area) < 0.02, qPrintable(QString::number(unmatchedInk(preview, paper, area))));
        QVERIFY2(unmatchedInk(paper, preview, area) < 0.02, qPrintable(QString::number(unmatchedInk(paper, preview, area))));
    }
};

TAVRIN_TEST_MAIN(TestPageLayout)
#include "tst_pagelayout.moc"
