#include "documents/tablereport.h"

#include "documents/textlayout.h"

#include <QElapsedTimer>

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
        if (ok && !qAddOverflow(whole, w, &whole))
            return;
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
        : r(report), values(values), st(r.m_style), doc(report.m_setup), geometry(report.columnGeometry())
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

    // The page header, the title and (when a row comes) the table's header row.
    void begin()
    {
        doc.numberPagesWhileFilling(st.persianNumbers);
        startPage();
        if (!r.m_title.isEmpty())
            placeBand(r.m_title, Role::Title);
    }

    void add(const QVariantMap& row)
    {
        if (r.m_columns.isEmpty())
            return;
        bool startsGroup = false;
        if (r.m_group) {
            const QString key = detail::valueText(row.value(r.m_group->field));
            if (!groupKey || *groupKey != key) {
                if (groupKey)
                    groupFooter(groupFirst, groupCount);
                groupKey = key;
                groupFirst = row;
                groupCount = 0;
                groupTotals.fill(Total {});
                if (st.restartNumbersPerGroup)
                    rowNumber = 0;
                startsGroup = true;
            }
        }
        ++rowNumber;
        ++groupCount;
        const Line line = measureRow(row, rowNumber, rowIndex++);
        if (startsGroup)
            groupHeader(groupFirst, line);
        placeRow(line, startsGroup);
    }

    const Document& document() const { return doc; }
    bool isComplete() const { return complete; }

    // Pages nothing placed later changes: all but the one being filled and
    // those from an open group's header on (its count comes at its end).
    int pagesDone() const
    {
        if (complete)
            return doc.pageCount();
        const int open = std::max(0, doc.pageCount() - 1);
        return openHeader.first >= 0 ? std::min(open, openHeader.first) : open;
    }

    Document finish()
    {
        completeInPlace();
        return std::move(doc);
    }

    void completeInPlace()
    {
        if (complete)
            return;
        complete = true;
        if (!r.m_columns.isEmpty()) {
            if (groupKey)
                groupFooter(groupFirst, groupCount);
            if (r.m_hasTotals)
                totalsLine();
            needTableRoom(0);   // an empty table still shows its header row
        }
        if (!r.m_summary.isEmpty())
            placeBand(r.m_summary, Role::Summary);
        detail::numberPages(doc, st.persianNumbers);
    }

private:
    struct SpanAt {
        QString caption;
        int first;
        int last;
    };
    // A text of a table line as it will be drawn.
    struct CellText {
        QString text;
        TextStyle style;
        double extra = 0;   // how much taller than one line its lines are
    };
    // A row measured before it is placed.
    struct Line {
        QList<CellText> cells;
        double height = 0;
        int index = -1;
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
    // Room for table lines on a page of their own, below the header row.
    double rowsRoom() const { return bottom - bodyTop - headerHeight; }

    void startPage()
    {
        // The pages before this one are finished, but for the one holding a
        // group header whose count is still to come.
        if (doc.pagesInMemory() > r.m_pagesInMemory)
            doc.spillPagesBefore(openHeader.first >= 0 ? openHeader.first : doc.pageCount());
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

    // A band that fits the space left goes there; one that does not moves to
    // the next page when it fits a page, and is broken over pages otherwise
    // (and always when it is breakable).
    void placeBand(const Band& band, Role role)
    {
        const double h = detail::measureItems(band.items(), band.minHeight(), values);
        if (!fits(h) && !pageIsFresh() && !band.isBreakable() && h <= bottom - bodyTop + 1e-6)
            startPage();
        if (fits(h)) {
            y += detail::placeItems(band.items(), band.minHeight(), y, role, values, page(), doc);
            return;
        }
        Page placed;
        detail::placeItems(band.items(), band.minHeight(), 0, role, values, placed, doc);
        detail::BandFlow flow(placed.elements, 0, h);
        while (!flow.atEnd()) {
            double cut = flow.cutBefore(flow.from() + (bottom - y));
            if (cut <= flow.from() + 1e-6) {
                if (!pageIsFresh()) {
                    startPage();
                    continue;
                }
                cut = flow.from() + (bottom - y);   // an item taller than a page
            }
            const double from = flow.from();
            flow.emit(cut, y, page());
            y += cut - from;
            if (!flow.atEnd())
                startPage();
        }
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

    // A cell's frame and its text (already fitted) inside the padding.
    Element& cell(const QRectF& rect, const QString& text, const TextStyle& style, const QColor& fill, Role role,
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
        page().elements.append(e);
        return page().elements.last();
    }

    // A text too wide for its cell gets a smaller font (down to 55%): the
    // whole text on one line, or its widest word when it wraps.  A line that
    // is still too wide wraps, and a word still too wide breaks at the edge.
    static TextStyle fitted(const QString& text, const TextStyle& style, double width)
    {
        if (text.isEmpty())
            return style;
        if (!style.wordWrap)
            return detail::fitText(text, {}, style, QSizeF(width, 0), 0.55).style;
        const double widest = detail::widestWordMm(text, style);
        TextStyle out = style;
        if (widest > width && widest > 0)
            out.pointSize *= std::max(0.55, width / widest * 0.98);
        return out;
    }

    CellText cellText(const QString& text, const TextStyle& style, double inner) const
    {
        CellText c {text, fitted(text, style, inner)};
        if (!text.isEmpty()) {
            const double lines = detail::textHeightMm(text, {}, c.style, inner);
            c.extra = std::max(0.0, lines - oneLine(c.style));
        }
        return c;
    }

    static double oneLine(const TextStyle& style)
    {
        return detail::oneLineHeightMm(style);
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
        return detail::textHeightMm(caption, {}, fitted(caption, headingStyle(), inner), inner) + 1.0;
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
            const double inner = geometry.at(i).second - 2 * st.padding;
            cell(QRectF(geometry.at(i).first, top, geometry.at(i).second, y + headerHeight - top), c.caption,
                 fitted(c.caption, style, inner), st.headingFill, Role::ColumnHeading, c.field, -1);
        }
        for (const SpanAt& s : spans) {
            const double l = geometry.at(s.last).first;
            cell(QRectF(l, y, right(s.first) - l, spanHeight), s.caption,
                 fitted(s.caption, style, right(s.first) - l - 2 * st.padding), st.headingFill, Role::SpanHeading,
                 r.m_columns.at(s.first).field, -1);
        }
        y += headerHeight;
        headerShown = true;
    }

    Line measureRow(const QVariantMap& row, int n, int rowIndex)
    {
        Line line;
        line.index = rowIndex;
        line.height = st.rowHeight;
        for (int i = 0; i < r.m_columns.size(); ++i) {
            const Column& c = r.m_columns.at(i);
            QString text = c.field == Column::kRowNumber ? number(n) : detail::valueText(row.value(c.field));
            if (c.groupDigits)
                text = groupThousands(text);
            grand[i].add(text);
            groupTotals[i].add(text);
            // The row height holds one line; each further line adds its height.
            line.cells << cellText(text, cellStyle(c), geometry.at(i).second - 2 * st.padding);
            line.height = std::max(line.height, st.rowHeight + line.cells.last().extra);
        }
        return line;
    }

    // The least part of a row kept with what comes before it on a page.
    double firstPart(const Line& line) const
    {
        return line.height <= rowsRoom() ? line.height : std::min(line.height, 3 * st.rowHeight);
    }

    // A row goes on the page when it fits; otherwise on the next page, or
    // broken over pages when it is taller than a page (or must stay under
    // the group header just placed).  The parts of a broken row carry on its
    // wrapped texts; the row number and the one-line values stay on the first.
    void placeRow(const Line& line, bool underGroupHeader)
    {
        if (!(underGroupHeader && !fits(line.height)) && line.height <= rowsRoom()) {
            needTableRoom(line.height);
            for (int i = 0; i < r.m_columns.size(); ++i)
                cell(QRectF(geometry.at(i).first, y, geometry.at(i).second, line.height), line.cells.at(i).text,
                     line.cells.at(i).style, QColor(), Role::Cell, r.m_columns.at(i).field, line.index);
            y += line.height;
            return;
        }
        needTableRoom(firstPart(line));

        struct Flowing {
            QList<detail::TextLine> lines;
            double pad = 0;
            int next = 0;
            int take = 0;
        };
        QList<Flowing> flowing(r.m_columns.size());
        for (int i = 0; i < r.m_columns.size(); ++i) {
            const CellText& c = line.cells.at(i);
            if (c.extra > 1e-6) {
                flowing[i].lines = detail::textLines(c.text, {}, c.style, geometry.at(i).second - 2 * st.padding);
                flowing[i].pad = (st.rowHeight - oneLine(c.style)) / 2;
            }
        }
        for (bool first = true;; first = false) {
            const double room = bottom - y;
            bool last = true;
            double h = st.rowHeight;
            for (Flowing& f : flowing) {
                f.take = 0;
                if (f.lines.isEmpty() || f.next >= f.lines.size())
                    continue;
                const double base = f.lines.at(f.next).top;
                int k = f.next;
                while (k < f.lines.size() && 2 * f.pad + f.lines.at(k).bottom - base <= room + 1e-6)
                    ++k;
                if (k == f.next)
                    k = f.next + 1;   // a line taller than the room
                f.take = k - f.next;
                last = last && k >= f.lines.size();
                h = std::max(h, 2 * f.pad + f.lines.at(k - 1).bottom - base);
            }
            if (!last)
                h = std::max(h, room);
            for (int i = 0; i < r.m_columns.size(); ++i) {
                const Column& c = r.m_columns.at(i);
                const CellText& t = line.cells.at(i);
                const QRectF rect(geometry.at(i).first, y, geometry.at(i).second, h);
                Flowing& f = flowing[i];
                if (f.lines.isEmpty()) {
                    Element& e = cell(rect, first ? t.text : QString(), t.style, QColor(), Role::Cell, c.field,
                                      line.index);
                    e.rect.setHeight(std::min(h, st.rowHeight));   // at the top of the row
                    continue;
                }
                if (f.take == 0) {
                    cell(rect, QString(), t.style, QColor(), Role::Cell, c.field, line.index);
                    continue;
                }
                const detail::TextLine& a = f.lines.at(f.next);
                const detail::TextLine& b = f.lines.at(f.next + f.take - 1);
                Element& e = cell(rect, t.text.mid(a.start, b.start + b.length - a.start), t.style.top(), QColor(),
                                  Role::Cell, c.field, line.index);
                e.source = t.text;
                e.firstLine = f.next;
                e.lineCount = f.take;
                e.rect = QRectF(e.rect.left(), y + f.pad, e.rect.width(), b.bottom - a.top);
                f.next += f.take;
                f.take = 0;
            }
            y += h;
            if (last)
                return;
            startPage();
            needTableRoom(0);
        }
    }

    QVariantMap groupValues(const QVariantMap& first, int count) const
    {
        QVariantMap v = values;
        for (auto it = first.cbegin(); it != first.cend(); ++it)
            v.insert(it.key(), it.value());
        v.insert(QStringLiteral("count"), number(count));
        return v;
    }

    TextStyle groupHeaderStyle() const { return TextStyle().pt(st.fontSize).bold().right().middle(); }

    // The group's row count is known only at its end: the header is sized
    // for a long count and its text written again then (finishGroupHeader).
    void groupHeader(const QVariantMap& first, const Line& firstRow)
    {
        const double l = geometry.last().first;
        const double inner = right(0) - l - 2 * st.padding;
        const CellText sized = cellText(detail::fillText(r.m_group->header, groupValues(first, 999999)).text,
                                        groupHeaderStyle(), inner);
        const double h = st.groupHeight + sized.extra;
        // Kept together with the group's first row (or the first part of it).
        needTableRoom(h + firstPart(firstRow));
        cell(QRectF(l, y, right(0) - l, h), sized.text, sized.style, st.groupFill, Role::GroupHeader,
             r.m_group->field, -1);
        openHeader = {doc.pageCount() - 1, int(page().elements.size()) - 1};
        y += h;
    }

    void finishGroupHeader(const QVariantMap& first, int count)
    {
        if (openHeader.first < 0)
            return;
        Element& e = doc.mutablePage(openHeader.first).elements[openHeader.second];
        e.text = detail::fillText(r.m_group->header, groupValues(first, count)).text;
        e.style = fitted(e.text, groupHeaderStyle(), e.rect.width());
        openHeader = {-1, -1};
    }

    void groupFooter(const QVariantMap& first, int count)
    {
        finishGroupHeader(first, count);
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

    // A caption over the columns before the first total, then one cell per
    // column.  When the first column is itself a total the caption has a
    // line of its own above the totals.
    void totalsRow(const QString& caption, const QStringList& cells, double least, const QColor& fill, Role role)
    {
        const TextStyle bold = TextStyle().pt(st.fontSize).bold().centre().middle();
        const double captionLeft = firstTotal > 0 ? geometry.at(firstTotal - 1).first : geometry.last().first;
        const CellText title = cellText(caption, bold, right(0) - captionLeft - 2 * st.padding);
        QList<CellText> texts;
        double h = least;
        for (int i = 0; i < r.m_columns.size(); ++i) {
            const double inner = geometry.at(i).second - 2 * st.padding;
            texts << (i >= firstTotal ? cellText(cells.at(i), bold.horizontal(r.m_columns.at(i).alignment), inner)
                                      : CellText());
            h = std::max(h, least + texts.last().extra);
        }
        const bool ownLine = firstTotal == 0 && !caption.isEmpty();
        const double captionHeight = least + title.extra;
        if (firstTotal > 0)
            h = std::max(h, captionHeight);
        needTableRoom(h + (ownLine ? captionHeight : 0));
        if (ownLine) {
            cell(QRectF(captionLeft, y, right(0) - captionLeft, captionHeight), title.text, title.style, fill, role,
                 QString(), -1);
            y += captionHeight;
        } else if (firstTotal > 0) {
            cell(QRectF(captionLeft, y, right(0) - captionLeft, h), title.text, title.style, fill, role, QString(), -1);
        }
        for (int i = firstTotal; i < r.m_columns.size(); ++i) {
            const Column& c = r.m_columns.at(i);
            cell(QRectF(geometry.at(i).first, y, geometry.at(i).second, h), texts.at(i).text, texts.at(i).style, fill,
                 role, c.field, -1);
        }
        y += h;
    }

    const TableReport r;   // a copy: a filler may outlive the report it was made from
    const QVariantMap values;
    const TableStyle& st;
    Document doc;
    QList<QPair<double, double>> geometry;
    QList<SpanAt> spans;
    QList<Total> grand;
    QList<Total> groupTotals;
    std::optional<QString> groupKey;   // the open group's value
    QVariantMap groupFirst;            // and its first row
    int groupCount = 0;
    int rowNumber = 0;
    int rowIndex = 0;
    QPair<int, int> openHeader {-1, -1};   // page and element of the open group's header text
    double headerHeight = 0;
    double captionHeight = 0;
    double spanHeight = 0;
    double footerHeight = 0;
    int firstTotal = 0;
    double y = 0;
    double bodyTop = 0;
    double bottom = 0;
    bool headerShown = false;
    bool complete = false;
};

Document TableReport::fill(const QVariantMap& values, const RowSource& rows) const
{
    Filler filler(*this, values);
    while (std::optional<QVariantMap> row = rows ? rows() : std::nullopt)
        filler.add(*row);
    return filler.finish();
}

TableReport::Filler::Filler(const TableReport& report, const QVariantMap& values)
    : m_paginator(std::make_unique<TablePaginator>(report, values))
{
    m_paginator->begin();
}

TableReport::Filler::Filler(const TableReport& report, const QVariantMap& values, const RowSource& rows)
    : Filler(report, values)
{
    m_rows = rows;
}

TableReport::Filler::~Filler() = default;

const Document& TableReport::Filler::document() const
{
    return m_paginator->document();
}

bool TableReport::Filler::isComplete() const
{
    return m_paginator->isComplete();
}

bool TableReport::Filler::pull(const std::function<bool(int)>& enough)
{
    if (m_paginator->isComplete())
        return false;
    for (int n = 1;; ++n) {
        std::optional<QVariantMap> row = m_rows ? m_rows() : std::nullopt;
        if (!row) {
            m_paginator->completeInPlace();
            return false;
        }
        m_paginator->add(*row);
        if (enough(n))
            return true;
    }
}

bool TableReport::Filler::fillMore()
{
    QElapsedTimer slice;
    slice.start();
    return pull([&](int n) { return n % 16 == 0 && slice.elapsed() >= 25; });
}

int TableReport::Filler::pagesDone() const
{
    return m_paginator->pagesDone();
}

int TableReport::Filler::showPreview(const QString& title)
{
    if (pagesDone() < 1)
        pull([this](int) { return pagesDone() >= 1; });
    return document().showPreview(title, isComplete() ? nullptr : this);
}

void TableReport::Filler::add(const QVariantMap& row)
{
    m_paginator->add(row);
}

Document TableReport::Filler::finish()
{
    return m_paginator->finish();
}

} // namespace tavrin::doc
