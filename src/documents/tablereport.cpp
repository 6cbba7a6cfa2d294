#include "documents/tablereport.h"

#include "documents/textlayout.h"

#include <cmath>

namespace tavrin::doc {

RowSource rowsOf(const QList<QVariantMap>& rows)
{
    return [rows, next = qsizetype(0)]() mutable -> std::optional<QVariantMap> {
        if (next >= rows.size())
            return std::nullopt;
        return rows.at(next++);
    };
}

TableReport::TableReport(const PageSetup& setup) : m_setup(setup) {}

TableReport& TableReport::span(const QString& caption, const QString& firstField, const QString& lastField)
{
    m_spans.append({caption, firstField, lastField});
    return *this;
}

TableReport& TableReport::groupBy(const QString& field, const QString& header, const QString& footer)
{
    m_group = Grouping {field, header, footer};
    return *this;
}

QList<QPair<double, double>> TableReport::columnGeometry() const
{
    const QRectF content = m_setup.contentRect();
    double total = 0;
    for (const Column& c : m_columns)
        total += c.width;
    const double scale = total > content.width() && total > 0 ? content.width() / total : 1.0;
    double right = content.right() - (content.width() - total * scale) / 2;
    QList<QPair<double, double>> out;
    for (const Column& c : m_columns) {
        const double w = c.width * scale;
        right -= w;
        out.append({right, w});
    }
    return out;
}

QStringList TableReport::fieldNames() const
{
    QStringList names;
    for (const Band* band : {&m_pageHeader, &m_title, &m_summary, &m_pageFooter})
        for (const QString& n : band->fieldNames())
            if (!names.contains(n))
                names << n;
    for (const Column& c : m_columns)
        if (!c.totalField.isEmpty() && !names.contains(c.totalField))
            names << c.totalField;
    return names;
}

Document TableReport::fill(const QVariantMap& values, const QList<QVariantMap>& rows) const
{
    return fill(values, rowsOf(rows));
}

Band TableReport::pageNumberFooter(const PageSetup& setup, double heightMm, const TextStyle& style)
{
    const QRectF content = setup.contentRect();
    Band band(heightMm);
    band.text(QRectF(content.left(), 0, content.width(), heightMm), QStringLiteral("صفحه {page} از {pages}"), style);
    return band;
}

namespace {

// A column's running total: whole numbers exactly, others as doubles.
struct Total {
    qint64 whole = 0;
    double fraction = 0;
    bool hasFraction = false;

    void add(const QString& text)
    {
        QString t = text.trimmed();
        t.remove(QLatin1Char(','));
        t.remove(QChar(0x066C));   // Arabic thousands separator
        for (QChar& c : t) {
            if (c.unicode() >= 0x06F0 && c.unicode() <= 0x06F9)
                c = QChar('0' + (c.unicode() - 0x06F0));
            else if (c.unicode() >= 0x0660 && c.unicode() <= 0x0669)
                c = QChar('0' + (c.unicode() - 0x0660));
        }
        if (t.isEmpty())
            return;
        bool ok = false;
        const qint64 w = t.toLongLong(&ok);
        if (ok) {
            whole += w;
            return;
        }
        const double d = t.toDouble(&ok);
        if (ok) {
            fraction += d;
            hasFraction = true;
        }
    }

    QString text() const
    {
        if (!hasFraction)
            return QString::number(whole);
        QString s = QString::number(double(whole) + fraction, 'f', 2);
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
        return s;
    }
};

} // namespace

// Lays a report's bands and table out page by page.
class TablePaginator {
public:
    TablePaginator(const TableReport& report, const QVariantMap& values)
        : r(report), values(values), st(report.m_style), doc(report.m_setup), geometry(report.columnGeometry())
    {
        footerHeight = r.m_pageFooter.isEmpty() ? 0 : detail::measureItems(r.m_pageFooter.items(), r.m_pageFooter.minHeight(), values);
        for (const TableReport::Span& s : r.m_spans) {
            const int first = columnIndex(s.firstField);
            const int last = columnIndex(s.lastField);
            if (first < 0 || last < 0) {
                qWarning("tavrin.documents: heading over unknown columns %s..%s", qPrintable(s.firstField),
                         qPrintable(s.lastField));
                continue;
            }
            spans.append({s.caption, std::min(first, last), std::max(first, last)});
        }
        // Captions that wrap onto more lines than the set heights hold make the header row taller.
        captionHeight = st.headerHeight;
        for (int i = 0; i < r.m_columns.size(); ++i)
            captionHeight = std::max(captionHeight, fittedHeight(r.m_columns.at(i).caption, geometry.at(i).second));
        spanHeight = spans.isEmpty() ? 0 : st.spanHeight;
        for (const SpanAt& s : spans)
            spanHeight = std::max(spanHeight, fittedHeight(s.caption, right(s.first) - geometry.at(s.last).first));
        headerHeight = captionHeight + spanHeight;
        firstTotal = int(r.m_columns.size());
        for (int i = 0; i < r.m_columns.size(); ++i)
            if (r.m_columns.at(i).isSummed || !r.m_columns.at(i).totalField.isEmpty()) {
                firstTotal = i;
                break;
            }
        grand.resize(r.m_columns.size());
        groupTotals.resize(r.m_columns.size());
    }

    Document run(const RowSource& rows)
    {
        startPage();
        if (!r.m_title.isEmpty())
            placeBand(r.m_title, Role::Title);

        if (!r.m_columns.isEmpty()) {
            std::optional<QString> groupKey;
            QVariantMap groupFirst;
            int groupCount = 0;
            int number = 0;
            int rowIndex = 0;
            while (std::optional<QVariantMap> row = rows ? rows() : std::nullopt) {
                if (r.m_group) {
                    const QString key = detail::valueText(row->value(r.m_group->field));
                    if (!groupKey || *groupKey != key) {
                        if (groupKey)
                            groupFooter(groupFirst, groupCount);
                        groupKey = key;
                        groupFirst = *row;
                        groupCount = 0;
                        groupTotals.fill(Total {});
                        if (st.restartNumbersPerGroup)
                            number = 0;
                        groupHeader(groupFirst);
                    }
                }
                ++number;
                ++groupCount;
                placeRow(*row, number, rowIndex++);
            }
            if (groupKey)
                groupFooter(groupFirst, groupCount);
            if (r.m_hasTotals)
                totalsLine();
            needTableRoom(0);   // an empty table still shows its header row
        }

        if (!r.m_summary.isEmpty())
            placeBand(r.m_summary, Role::Summary);
        detail::numberPages(doc, st.persianNumbers);
        return doc;
    }

private:
    struct SpanAt {
        QString caption;
        int first;
        int last;
    };

    int columnIndex(const QString& field) const
    {
        for (int i = 0; i < r.m_columns.size(); ++i)
            if (r.m_columns.at(i).field == field)
                return i;
        return -1;
    }

    Page& page() { return doc.mutablePage(doc.pageCount() - 1); }
    bool fits(double h) const { return y + h <= bottom + 1e-6; }
    bool pageIsFresh() const { return y <= bodyTop + 1e-6; }

    void startPage()
    {
        doc.addPage();
        headerShown = false;
        const QRectF content = r.m_setup.contentRect();
        y = content.top();
        if (!r.m_pageHeader.isEmpty())
            y += detail::placeItems(r.m_pageHeader.items(), r.m_pageHeader.minHeight(), y, Role::PageHeader, values,
                                    page(), doc);
        bodyTop = y;
        bottom = content.bottom() - footerHeight;
        if (!r.m_pageFooter.isEmpty())
            detail::placeItems(r.m_pageFooter.items(), r.m_pageFooter.minHeight(), bottom, Role::PageFooter, values,
                               page(), doc);
    }

    void placeBand(const Band& band, Role role)
    {
        const double h = detail::measureItems(band.items(), band.minHeight(), values);
        if (!fits(h) && !pageIsFresh())
            startPage();
        y += detail::placeItems(band.items(), band.minHeight(), y, role, values, page(), doc);
    }

    // Room for a table line of height h, with the header row above it when
    // the table starts on this page.
    void needTableRoom(double h)
    {
        if (!fits((headerShown ? 0 : headerHeight) + h) && !pageIsFresh())
            startPage();
        if (!headerShown)
            headerRow();
    }

    double right(int first) const { return geometry.at(first).first + geometry.at(first).second; }

    void cell(const QRectF& rect, const QString& text, const TextStyle& style, const QColor& fill, Role role,
              const QString& column, int row)
    {
        Element box;
        box.kind = Element::Kind::Box;
        box.role = role;
        box.rect = rect;
        box.penWidth = st.penWidth;
        box.fill = fill;
        box.column = column;
        box.row = row;
        page().elements.append(box);

        Element e;
        e.role = role;
        e.rect = rect.adjusted(st.padding, 0, -st.padding, 0);
        e.text = text;
        e.style = style;
        e.column = column;
        e.row = row;
        e.style = shrunk(text, style, e.rect.width());
        page().elements.append(e);
    }

    // A text too wide for its cell gets a smaller font: the whole text on one
    // line, or its widest word when it wraps.
    static TextStyle shrunk(const QString& text, const TextStyle& style, double width)
    {
        if (text.isEmpty())
            return style;
        const double natural = style.wordWrap ? detail::widestWordMm(text, style) : detail::textWidthMm(text, style);
        TextStyle out = style;
        if (natural > width && natural > 0)
            out.pointSize *= std::max(0.55, width / natural * 0.98);
        return out;
    }

    TextStyle cellStyle(const Column& c) const
    {
        return TextStyle().pt(st.fontSize).horizontal(c.alignment).middle().wrap(c.wordWrap);
    }

    QString number(qint64 n) const
    {
        const QString s = QString::number(n);
        return st.persianNumbers ? persianDigits(s) : s;
    }

    TextStyle headingStyle() const
    {
        return TextStyle().pt(st.headingFontSize).bold().centre().middle().wrap().spacing(0.85);
    }

    // Height of a heading's wrapped text with a little air above and below.
    double fittedHeight(const QString& caption, double width) const
    {
        const double inner = width - 2 * st.padding;
        return detail::textHeightMm(caption, {}, shrunk(caption, headingStyle(), inner), inner) + 1.0;
    }

    void headerRow()
    {
        const TextStyle style = headingStyle();
        for (int i = 0; i < r.m_columns.size(); ++i) {
            const Column& c = r.m_columns.at(i);
            bool spanned = false;
            for (const SpanAt& s : spans)
                spanned = spanned || (i >= s.first && i <= s.last);
            const double top = spanned ? y + spanHeight : y;
            cell(QRectF(geometry.at(i).first, top, geometry.at(i).second, y + headerHeight - top), c.caption, style,
                 st.headingFill, Role::ColumnHeading, c.field, -1);
        }
        for (const SpanAt& s : spans) {
            const double l = geometry.at(s.last).first;
            cell(QRectF(l, y, right(s.first) - l, spanHeight), s.caption, style, st.headingFill,
                 Role::SpanHeading, r.m_columns.at(s.first).field, -1);
        }
        y += headerHeight;
        headerShown = true;
    }

    void placeRow(const QVariantMap& row, int n, int rowIndex)
    {
        QStringList texts;
        double h = st.rowHeight;
        for (int i = 0; i < r.m_columns.size(); ++i) {
            const Column& c = r.m_columns.at(i);
            QString text = c.field == Column::kRowNumber ? number(n) : detail::valueText(row.value(c.field));
            if (c.groupDigits)
                text = groupThousands(text);
            if (c.wordWrap && !text.isEmpty()) {
                // The row height holds one line; each further line adds its height.
                const double inner = geometry.at(i).second - 2 * st.padding;
                const TextStyle style = shrunk(text, cellStyle(c), inner);
                const double lines = detail::textHeightMm(text, {}, style, inner);
                const double one = detail::textHeightMm(QStringLiteral("x"), {}, style, 1e6);
                h = std::max(h, st.rowHeight + lines - one);
            }
            texts << text;
            grand[i].add(text);
            groupTotals[i].add(text);
        }
        needTableRoom(h);
        for (int i = 0; i < r.m_columns.size(); ++i) {
            const Column& c = r.m_columns.at(i);
            cell(QRectF(geometry.at(i).first, y, geometry.at(i).second, h), texts.at(i), cellStyle(c), QColor(),
                 Role::Cell, c.field, rowIndex);
        }
        y += h;
    }

    QVariantMap groupValues(const QVariantMap& first, int count) const
    {
        QVariantMap v = values;
        for (auto it = first.cbegin(); it != first.cend(); ++it)
            v.insert(it.key(), it.value());
        v.insert(QStringLiteral("count"), number(count));
        return v;
    }

    void groupHeader(const QVariantMap& first)
    {
        // Kept together with the group's first row.
        needTableRoom(st.groupHeight + st.rowHeight);
        const double l = geometry.last().first;
        const QString text = detail::fillText(r.m_group->header, groupValues(first, 0)).text;
        cell(QRectF(l, y, right(0) - l, st.groupHeight), text, TextStyle().pt(st.fontSize).bold().right().middle(),
             st.groupFill, Role::GroupHeader, r.m_group->field, -1);
        y += st.groupHeight;
    }

    void groupFooter(const QVariantMap& first, int count)
    {
        const QString caption = detail::fillText(r.m_group->footer, groupValues(first, count)).text;
        QStringList cells;
        for (int i = 0; i < r.m_columns.size(); ++i) {
            const Column& c = r.m_columns.at(i);
            cells << (c.isSummed ? formatTotal(c, groupTotals.at(i)) : QString());
        }
        totalsRow(caption, cells, st.groupHeight, st.groupFill, Role::GroupFooter);
    }

    void totalsLine()
    {
        QStringList cells;
        for (int i = 0; i < r.m_columns.size(); ++i) {
            const Column& c = r.m_columns.at(i);
            QString text;
            if (!c.totalField.isEmpty()) {
                text = detail::valueText(values.value(c.totalField));
                doc.setField(c.totalField, text);
                if (c.groupDigits)
                    text = groupThousands(text);
            } else if (c.isSummed) {
                text = formatTotal(c, grand.at(i));
            }
            cells << text;
        }
        totalsRow(r.m_totalsCaption, cells, st.totalsHeight, st.totalsFill, Role::Totals);
    }

    QString formatTotal(const Column& c, const Total& t) const
    {
        QString s = t.text();
        if (c.groupDigits)
            s = groupThousands(s);
        return st.persianNumbers ? persianDigits(s) : s;
    }

    // A caption over the columns before the first total, then one cell per column.
    void totalsRow(const QString& caption, const QStringList& cells, double h, const QColor& fill, Role role)
    {
        needTableRoom(h);
        const TextStyle bold = TextStyle().pt(st.fontSize).bold().centre().middle();
        if (firstTotal > 0) {
            const double l = geometry.at(firstTotal - 1).first;
            cell(QRectF(l, y, right(0) - l, h), caption, bold, fill, role, QString(), -1);
        }
        for (int i = firstTotal; i < r.m_columns.size(); ++i) {
            const Column& c = r.m_columns.at(i);
            cell(QRectF(geometry.at(i).first, y, geometry.at(i).second, h), cells.at(i),
                 bold.horizontal(c.alignment), fill, role, c.field, -1);
        }
        y += h;
    }

    const TableReport& r;
    const QVariantMap& values;
    const TableStyle& st;
    Document doc;
    QList<QPair<double, double>> geometry;
    QList<SpanAt> spans;
    QList<Total> grand;
    QList<Total> groupTotals;
    double headerHeight = 0;
    double captionHeight = 0;
    double spanHeight = 0;
    double footerHeight = 0;
    int firstTotal = 0;
    double y = 0;
    double bodyTop = 0;
    double bottom = 0;
    bool headerShown = false;
};

Document TableReport::fill(const QVariantMap& values, const RowSource& rows) const
{
    return TablePaginator(*this, values).run(rows);
}

} // namespace tavrin::doc
