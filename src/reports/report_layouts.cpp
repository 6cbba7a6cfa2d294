#include "reports/report_layouts.h"

#include "reports/report_texts.h"

#include <QPainter>
#include <QPainterPath>

namespace tavrin::reports {

using namespace doc;

namespace {

// A printed column: its field, heading, width (mm) and the heading over it
// (the first column of a group names the group).
struct Col {
    QString field;
    QString caption;
    double width;
    QString group = {};
    bool numeric = true;
    bool wrapped = false;
};

const QString kPair = QStringLiteral("|");
// Between the two headings of a stacked cell.
const QString kCaptionRule = QStringLiteral("\n\u2015\u2015\u2015\n");

bool isProjectColumn(ReportKind kind, const QString& field)
{
    static const QStringList statusProject {QStringLiteral("prj_name|prj_cod"), QStringLiteral("prj_typ|prj_prot_typ"),
                                            QStringLiteral("st_tavrin"), QStringLiteral("prot_typ"),
                                            QStringLiteral("bank|etebar_loc")};
    static const QStringList comprehensiveProject {QStringLiteral("prj_name"), QStringLiteral("prj_cod"),
                                                   QStringLiteral("prj_typ"), QStringLiteral("prot_typ"),
                                                   QStringLiteral("bank"), QStringLiteral("etebar_loc")};
    switch (kind) {
    case ReportKind::Status:
        return statusProject.contains(field);
    case ReportKind::Comprehensive:
        return comprehensiveProject.contains(field);
    default:
        return field == QLatin1String("prj_name");
    }
}

QList<Col> allColumns(ReportKind kind)
{
    QList<Col> cols;
    switch (kind) {
    case ReportKind::Status: {
        // Widths of the stacked cells, in the order of the layout.
        static const double widths[] = {20, 25, 20, 12, 14, 14, 13, 14, 15, 23, 10, 14, 10, 14, 13, 16, 22};
        int i = 0;
        for (const reptext::StackedColumn& s : reptext::kStatusColumns) {
            const bool pair = !s.lower.isEmpty();
            const bool text = s.upper == QLatin1String("ostan") || s.upper == QLatin1String("prj_name") ||
                              s.upper == QLatin1String("prj_typ") || s.upper == QLatin1String("st_tavrin") ||
                              s.upper == QLatin1String("prot_typ") || s.upper == QLatin1String("bank");
            cols << Col {pair ? s.upper + kPair + s.lower : s.upper,
                         pair ? s.upperCaption + kCaptionRule + s.lowerCaption : s.upperCaption, widths[i++], s.group,
                         !text, true};
        }
        break;
    }
    case ReportKind::FacilitiesUsed: {
        static const double widths[] = {25, 25, 40, 24, 24, 24, 14};
        int i = 0;
        for (const auto& [field, caption] : reptext::kTashilatColumns) {
            cols << Col {field, caption, widths[i], {}, i >= 3, i == 2};
            ++i;
        }
        break;
    }
    case ReportKind::UnitProgress:
    case ReportKind::Activity: {
        const auto& list = kind == ReportKind::UnitProgress ? reptext::kVahedColumns : reptext::kSabtColumns;
        int i = 0;
        for (const auto& [field, caption] : list) {
            cols << Col {field, caption, i < 2 ? 18.0 : i == 2 ? 30.0 : kind == ReportKind::UnitProgress ? 12.5 : 14.0,
                         {}, i >= 3, i == 2};
            ++i;
        }
        break;
    }
    case ReportKind::Comprehensive: {
        static const QMap<QString, double> widths {
            {QStringLiteral("ostan"), 18},     {QStringLiteral("shahrestan"), 18}, {QStringLiteral("prj_name"), 32},
            {QStringLiteral("prj_cod"), 14},   {QStringLiteral("prj_typ"), 16},    {QStringLiteral("prot_typ"), 18},
            {QStringLiteral("bank"), 14},      {QStringLiteral("etebar_loc"), 18}, {QStringLiteral("daryafti"), 22},
            {QStringLiteral("vahed_takhsis"), 22}};
        static const QStringList texts {QStringLiteral("ostan"), QStringLiteral("shahrestan"), QStringLiteral("prj_name"),
                                        QStringLiteral("prj_cod"), QStringLiteral("prj_typ"), QStringLiteral("prot_typ"),
                                        QStringLiteral("bank"), QStringLiteral("etebar_loc")};
        for (const reptext::GroupedColumn& g : reptext::kTasColumns)
            cols << Col {g.field, g.caption, widths.value(g.field, 12), g.group, !texts.contains(g.field),
                         g.field == QLatin1String("prj_name")};
        break;
    }
    }
    return cols;
}

// The columns a grouping prints; a group whose first column is left out is
// named by its first remaining column.
QList<Col> columnsOf(ReportKind kind, Grouping grouping)
{
    QList<Col> out;
    QString pendingGroup;
    for (Col c : allColumns(kind)) {
        if (!c.group.isEmpty())
            pendingGroup = c.group;
        bool shown = grouping == Grouping::Project || !isProjectColumn(kind, c.field);
        if (grouping == Grouping::Province) {
            if (c.field == QLatin1String("shahrestan"))
                shown = false;
            if (c.field == QLatin1String("ostan|shahrestan")) {
                c.field = QStringLiteral("ostan");
                c.caption = reptext::kStatusColumns.first().upperCaption;
            }
        }
        if (!shown)
            continue;
        c.group = pendingGroup;
        pendingGroup.clear();
        out << c;
    }
    return out;
}

QString totalName(const QString& field)
{
    QStringList names;
    for (const QString& f : field.split(kPair))
        names << f + QStringLiteral("_sum");
    return names.join(kPair);
}

// Columns of amounts in rials: printed in groups of three, in every row and
// in the totals.
bool isAmount(const QString& field)
{
    static const QStringList amounts {QStringLiteral("vahed_mablagh"), QStringLiteral("vahed_vosol"),
                                      QStringLiteral("daryafti"),      QStringLiteral("vahed_takhsis"),
                                      QStringLiteral("hemayati"),      QStringLiteral("nohemayati"),
                                      QStringLiteral("vam")};
    return amounts.contains(field);
}

QString plain(const QVariant& v)
{
    return doc::detail::valueText(v);
}

// A field's value as printed.
QString printedValue(const QString& field, const QVariant& v)
{
    return isAmount(field) ? groupThousands(plain(v)) : plain(v);
}

Band pageHeader(ReportKind kind, const PageSetup& setup)
{
    const QRectF content = setup.contentRect();
    const TextStyle label = TextStyle().pt(9).bold().right();
    const TextStyle value = TextStyle().pt(9).right();
    Band header(19);
    header.image(QRectF(content.right() - 16, 0, 16, 16), reportEmblem())
        .text(QRectF(content.left() + 48, 2, content.width() - 66, 9), reportTitle(kind),
              TextStyle().pt(13).bold().centre().fit())
        .text(QRectF(content.left() + 24, 1, 22, 6), reptext::kReportDate, label)
        .field(QStringLiteral("dat"), QRectF(content.left(), 1, 23, 6), value)
        .text(QRectF(content.left() + 24, 8, 22, 6), reptext::kReportTime, label)
        .field(QStringLiteral("tim"), QRectF(content.left(), 8, 23, 6), value);
    return header;
}

} // namespace

QString layoutName(ReportKind kind)
{
    switch (kind) {
    case ReportKind::Status: return QStringLiteral("Tprj_koli_rep");
    case ReportKind::FacilitiesUsed: return QStringLiteral("Tprj_rep_tashilat");
    case ReportKind::UnitProgress: return QStringLiteral("Tprj_rep_vahedha");
    case ReportKind::Activity: return QStringLiteral("Tgozaresh_sabt");
    case ReportKind::Comprehensive: return QStringLiteral("Tprj_tas_rep");
    }
    return {};
}

QString reportTitle(ReportKind kind)
{
    switch (kind) {
    case ReportKind::Status: return reptext::kStatusTitle;
    case ReportKind::FacilitiesUsed: return reptext::kTashilatTitle;
    case ReportKind::UnitProgress: return reptext::kVahedTitle;
    case ReportKind::Activity: return reptext::kSabtTitle;
    case ReportKind::Comprehensive: return reptext::kTasTitle;
    }
    return {};
}

QStringList printedFields(ReportKind kind, Grouping grouping)
{
    QStringList out;
    for (const Col& c : columnsOf(kind, grouping))
        out << c.field;
    return out;
}

TableReport reportLayout(ReportKind kind, Grouping grouping)
{
    const bool landscape = kind == ReportKind::Status || kind == ReportKind::Comprehensive;
    const PageSetup setup {Paper::A4, landscape ? Orientation::Landscape : Orientation::Portrait,
                           QMarginsF(10, 10, 10, 8)};
    TableStyle style;
    style.fontSize = 8;
    style.headingFontSize = 7;
    style.padding = 1;
    if (kind == ReportKind::Status) {
        // Two lines in every line of the table.
        style.rowHeight = 5.5;
        style.totalsHeight = 10.5;
    }
    TableReport report(setup);
    report.pageHeader(pageHeader(kind, setup))
        .pageFooter(TableReport::pageNumberFooter(setup, 6))
        .style(style)
        .rowNumber(reptext::kRowNumber, 8);
    const QList<Col> cols = columnsOf(kind, grouping);
    for (const Col& c : cols) {
        Column column(c.caption, c.field, c.width, c.numeric ? Qt::AlignHCenter : Qt::AlignRight);
        if (c.numeric)
            column.totalFrom(totalName(c.field));
        column.grouped(isAmount(c.field));
        column.wrapped(c.wrapped);
        report.column(column);
    }
    for (int i = 0; i < cols.size(); ++i) {
        if (cols.at(i).group.isEmpty())
            continue;
        int last = i;
        while (last + 1 < cols.size() && cols.at(last + 1).group.isEmpty())
            ++last;
        report.span(cols.at(i).group, cols.at(i).field, cols.at(last).field);
    }
    report.totals(reptext::kSumCaption);

    const QRectF content = setup.contentRect();
    if (kind == ReportKind::Status) {
        Band summary(8);
        summary.text(QRectF(content.right() - 40, 1.5, 40, 6), reptext::kCountCaption + QStringLiteral(" {cnt}"),
                     TextStyle().pt(9).bold().right());
        report.summary(summary);
    } else if (kind == ReportKind::Activity) {
        Band summary(8);
        summary.text(QRectF(content.right() - 80, 1.5, 80, 6), reptext::kRecordCount + QStringLiteral(":  {record_cnt}"),
                     TextStyle().pt(9).bold().right());
        report.summary(summary);
    }
    return report;
}

Document reportDocument(ReportKind kind, Grouping grouping, const QVariantMap& values, const QList<QVariantMap>& rows)
{
    const QList<Col> cols = columnsOf(kind, grouping);
    QVariantMap filled {{QStringLiteral("dat"), values.value(QStringLiteral("dat"))},
                        {QStringLiteral("tim"), values.value(QStringLiteral("tim"))},
                        {QStringLiteral("cnt"), values.value(QStringLiteral("c"))}};
    QMap<QString, QString> labels;
    qint64 records = 0;
    for (const QString& name : sumNames(kind)) {
        const QString sum = name + QStringLiteral("_sum");
        labels.insert(sum, printedValue(name, values.value(sum)));
        if (kind == ReportKind::Activity && name != QLatin1String("vahed_kol") && name != QLatin1String("vahed_vagozari"))
            records += values.value(sum).toLongLong();
    }
    for (const Col& c : cols) {
        if (!c.numeric)
            continue;
        QStringList parts;
        for (const QString& n : totalName(c.field).split(kPair))
            parts << labels.value(n);
        filled.insert(totalName(c.field), parts.join(QLatin1Char('\n')));
    }
    if (kind == ReportKind::Activity)
        filled.insert(QStringLiteral("record_cnt"), records);

    // Stacked cells hold their two values one above the other.
    QList<QVariantMap> printed;
    printed.reserve(rows.size());
    for (const QVariantMap& r : rows) {
        QVariantMap p = r;
        for (const Col& c : cols)
            if (c.field.contains(kPair)) {
                const QStringList f = c.field.split(kPair);
                p.insert(c.field, QString(printedValue(f.at(0), r.value(f.at(0))) + QLatin1Char('\n') +
                                          printedValue(f.at(1), r.value(f.at(1)))));
            }
        printed << p;
    }
    Document d = reportLayout(kind, grouping).fill(filled, printed);
    for (auto it = labels.cbegin(); it != labels.cend(); ++it)
        d.setField(it.key(), it.value());
    return d;
}

const QImage& reportEmblem()
{
    static const QImage emblem = [] {
        QImage img(240, 240, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor blue(20, 60, 120);
        p.setPen(QPen(blue, 10));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(8, 8, 224, 224));
        // A house: roof, walls and a door.
        QPainterPath roof;
        roof.moveTo(50, 122);
        roof.lineTo(120, 56);
        roof.lineTo(190, 122);
        p.setPen(QPen(blue, 12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(roof);
        p.setBrush(blue);
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(72, 118, 96, 64));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(108, 140, 24, 42));
        return img;
    }();
    return emblem;
}

} // namespace tavrin::reports
