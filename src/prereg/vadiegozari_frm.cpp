#include "prereg/vadiegozari_frm.h"

#include "prereg/prereg_texts.h"

#include "common/dialogs.h"
#include "common/lookups.h"
#include "db/database.h"

namespace tavrin {

using namespace doc;
using namespace prereg;
using namespace preregtext;

namespace {

// Type sizes: the clauses start at kBodyPoints and shrink, half a point at a
// time, to kLeastPoints when the wording does not fit its page.
constexpr double kBodyPoints = 11;
constexpr double kLeastPoints = 7;
constexpr double kParagraphGap = 1.6;  // mm above a paragraph
constexpr double kHeadingGap = 3.5;    // mm above a section heading

TextStyle bodyStyle(double pt)
{
    return TextStyle().pt(pt).justify().boldFields().spacing(1.15);
}

// The two-line header (when asked), then the paragraphs of a section, as
// flowing items of a page layout or a band; the first item lies startGap mm
// below the top of the page or band.
template <class Builder>
void addFlow(Builder& b, const AgreementTemplate& t, const QString& section, double pt, bool header, double startGap)
{
    const QRectF content = agreementPageSetup().contentRect();
    const double x = content.left();
    const double w = content.width();
    double gap = startGap;
    if (header) {
        const QStringList lines = t.lines(QStringLiteral("header"));
        for (int i = 0; i < lines.size(); ++i) {
            b.paragraph(x, w, lines[i], TextStyle().pt(i == 0 ? 16 : 13).bold().centre(), gap);
            gap = 1;
        }
        gap = kHeadingGap;
    }
    bool first = true;
    for (const Paragraph& p : section.isEmpty() ? QList<Paragraph>() : t.paragraphs(section)) {
        // A section heading stands further from the text above it.
        const double above = p.heading && !first ? std::max(gap, kHeadingGap) : gap;
        if (p.heading)
            b.paragraph(x, w, p.text, TextStyle().pt(pt + 0.5).bold().right(), above);
        else
            b.paragraph(x, w, p.text, bodyStyle(pt), above);
        gap = kParagraphGap;
        first = false;
    }
}

// An empty line that only keeps its gap: air at the end of a band.
template <class Builder>
void addAir(Builder& b, double mm)
{
    const QRectF content = agreementPageSetup().contentRect();
    b.paragraph(content.left(), content.width(), QString(), TextStyle().pt(1), mm);
}

// The height a set of items takes once filled.
double heightOf(const QList<Item>& items, const QVariantMap& values)
{
    return doc::detail::measureItems(items, 0, values);
}

// The items of a flowing page at a type size: the header and the section's
// paragraphs, continued on a further page (under the header again) when they
// do not fit one, then the signature block when asked.
PageLayout composeFlowPage(const AgreementTemplate& t, const QString& section, const QVariantMap& values,
                           bool signatures, double pt)
{
    const PageSetup setup = agreementPageSetup();
    const QRectF content = setup.contentRect();
    Band headerBand;
    addFlow(headerBand, t, QString(), pt, true, content.top());
    Band bodyBand;
    addFlow(bodyBand, t, section, pt, false, kHeadingGap);

    PageLayout layout(setup);
    double y = 0;
    const auto startPage = [&](bool first) {
        if (!first)
            layout.newPage();
        for (const Item& item : headerBand.items())
            layout.add(item);
        y = heightOf(headerBand.items(), values);
    };
    startPage(true);
    bool pageHasBody = false;
    for (const Item& item : bodyBand.items()) {
        const double h = heightOf({item}, values);
        if (pageHasBody && y + h > content.bottom()) {
            startPage(false);
            pageHasBody = false;
        }
        layout.add(item);
        y += h;
        pageHasBody = true;
    }
    if (signatures) {
        const QStringList depositor = t.lines(QStringLiteral("signature.depositor"));
        const QStringList office = t.lines(QStringLiteral("signature.organisation"));
        const double lineHeight = 8;
        const double gap = 14;
        const double height = gap + lineHeight * std::max(depositor.size(), office.size());
        if (y + height > content.bottom())
            startPage(false);
        // The depositor signs on the right, the office on the left.
        const double columnWidth = content.width() / 2 - 10;
        const auto place = [&](const QStringList& lines, double x) {
            for (int i = 0; i < lines.size(); ++i)
                layout.text(QRectF(x, y + gap + i * lineHeight, columnWidth, lineHeight - 1), lines[i],
                            TextStyle().pt(11).bold().centre().fit());
        };
        place(depositor, content.right() - columnWidth);
        place(office, content.left());
    }
    return layout;
}

// A flowing page at the largest type size (down to the least one) with which
// it fits one sheet; at the least size a longer wording continues on more.
Document flowPage(const AgreementTemplate& t, const QString& section, const QVariantMap& values, bool signatures)
{
    for (double pt = kBodyPoints;; pt -= 0.5) {
        const PageLayout layout = composeFlowPage(t, section, values, signatures, pt);
        if (layout.pageCount() == 1 || pt - 0.5 < kLeastPoints)
            return layout.fill(values);
    }
}

// Page 2's bands: the header and the clauses above the table, repeated on
// every page, and the clauses after the table.
Band page2Header(const AgreementTemplate& t, double pt)
{
    Band header;
    addFlow(header, t, QStringLiteral("page2.top"), pt, true, 0);
    addAir(header, 3);
    return header;
}

Band page2Summary(const AgreementTemplate& t, double pt)
{
    Band summary;
    addFlow(summary, t, QStringLiteral("page2.bottom"), pt, false, 3);
    return summary;
}

double columnWidth(int index)
{
    // row number, amount, date, way of payment, remarks (180 mm in all)
    static const double widths[] = {12, 36, 36, 42, 54};
    return widths[index];
}

} // namespace

namespace prereg {

PageSetup agreementPageSetup()
{
    return PageSetup {Paper::A4, Orientation::Portrait, QMarginsF(15, 12, 15, 12)};
}

QString askPadash()
{
    const auto typed = dialogs().input(kPadashTitle, kPadashPrompt, kPadashDefault);
    return typed ? *typed : kPadashDefault;
}

QVariantMap agreementPage1Values(const QSqlRecord& person, AgreementVariant variant, const QString& padash)
{
    const bool county = variant == AgreementVariant::County;
    const QString ostan = text(person.value(QStringLiteral("ostan")));
    const QString shahrestan = text(person.value(QStringLiteral("shahrestan")));
    QVariantMap v;
    for (const char* c : {"father", "sh_no", "nation", "adr", "phone", "mobile", "bank", "hesab_no"})
        v.insert(QString::fromLatin1(c), text(person.value(QString::fromLatin1(c))));
    v.insert(QStringLiteral("lname"),
             QString(text(person.value(QStringLiteral("fname"))) + ' ' + text(person.value(QStringLiteral("lname")))));
    v.insert(QStringLiteral("padash"), padash);
    v.insert(QStringLiteral("shahrestan"), county ? kWordCounty : kWordProvince);
    v.insert(QStringLiteral("QRLabel29"), county ? kTitleCounty : kTitleProvince);
    v.insert(QStringLiteral("ostan"), county ? shahrestan : ostan);
    v.insert(QStringLiteral("norvad_adr"), county ? settingValueCity(ostan, shahrestan, kSettingAddress)
                                                  : settingValueOst(ostan, kSettingAddress));
    v.insert(QStringLiteral("modirkol"), county ? settingValueCity(ostan, shahrestan, kSettingCountyManager)
                                                : settingValueOst(ostan, kSettingDirector));
    return v;
}

QVariantMap agreementPage3Values(const QSqlRecord& person, AgreementVariant variant)
{
    const bool county = variant == AgreementVariant::County;
    QVariantMap v;
    v.insert(QStringLiteral("semat"), county ? kSematCounty : kSematProvince);
    v.insert(QStringLiteral("ostan"), text(person.value(county ? QStringLiteral("shahrestan") : QStringLiteral("ostan"))));
    return v;
}

QVariantMap agreementRow(const Deposit& d)
{
    QVariantMap row;
    row.insert(QStringLiteral("mablagh"), d.mablagh ? QString::number(*d.mablagh) : QString());
    row.insert(QStringLiteral("dat"), d.dat);
    row.insert(QStringLiteral("pardakht_typ"), d.pardakhtTyp);
    row.insert(QStringLiteral("cmt"), d.cmt);
    return row;
}

} // namespace prereg

Document Tvadiegozari_frm1::build(const QVariantMap& values, const AgreementTemplate& wording)
{
    return flowPage(wording, QStringLiteral("page1"), values, false);
}

Document Tvadiegozari_frm3::build(const QVariantMap& values, const AgreementTemplate& wording)
{
    return flowPage(wording, QStringLiteral("page3"), values, true);
}

TableReport Tvadiegozari_frm2::layout(const AgreementTemplate& wording, double pt)
{
    const PageSetup setup = agreementPageSetup();
    QStringList captions = wording.lines(QStringLiteral("page2.columns"));
    if (captions.size() < 5)
        captions = AgreementTemplate::builtIn().lines(QStringLiteral("page2.columns"));
    const QStringList fields {Column::kRowNumber, QStringLiteral("mablagh"), QStringLiteral("dat"),
                              QStringLiteral("pardakht_typ"), QStringLiteral("cmt")};
    TableStyle style;
    style.fontSize = 10;
    style.headingFontSize = 10;
    style.rowHeight = 7;
    TableReport report(setup);
    report.pageHeader(page2Header(wording, pt)).summary(page2Summary(wording, pt)).style(style);
    for (int i = 0; i < fields.size(); ++i) {
        Column c(captions.value(i), fields[i], columnWidth(i));
        if (fields[i] == QLatin1String("pardakht_typ") || fields[i] == QLatin1String("cmt"))
            c.aligned(Qt::AlignRight).wrapped();
        // Amounts in groups of three.
        c.grouped(fields[i] == QLatin1String("mablagh"));
        report.column(c);
    }
    return report;
}

Document Tvadiegozari_frm2::build(const QList<QVariantMap>& rows, const AgreementTemplate& wording)
{
    const double room = agreementPageSetup().contentRect().height();
    // The clauses above the table, its titles, one line and the clauses after
    // it must fit one page, so that the table's last page can be completed.
    double pt = kBodyPoints;
    for (; pt - 0.5 >= kLeastPoints; pt -= 0.5) {
        const double titlesAndOneLine = 30;
        if (heightOf(page2Header(wording, pt).items(), {}) + heightOf(page2Summary(wording, pt).items(), {}) +
                titlesAndOneLine <= room)
            break;
    }
    return layout(wording, pt).fill({}, rows);
}

} // namespace tavrin
