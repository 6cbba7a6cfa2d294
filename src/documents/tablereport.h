#pragma once
// Tabular reports drawn right to left: the first column is the rightmost.
// A report has a page header and a page footer repeated on every page, an
// optional title band before the table and summary band after it, a header
// row of column captions (with optional headings spanning several columns)
// repeated on every page the table runs over, one line per row, optional
// groups (a header line and a footer line with the group's totals whenever the
// group field changes) and a grand totals line.
//
//     TableReport r(PageSetup{Paper::A4, Orientation::Landscape});
//     r.pageHeader(Band(12).text({10, 0, 277, 8}, "...", TextStyle().pt(14).bold().centre()))
//      .pageFooter(TableReport::pageNumberFooter(r.setup()))
//      .rowNumber("رديف", 10)
//      .column(Column("استان", "ostan", 25))
//      .column(Column("تعداد", "vahed_kol", 18).summed())
//      .totals("جمع");
//     Document d = r.fill({{"dat", today}}, rows);
//
// Rows may come from a list or from a callback that gives one row at a time.
// Only the placed texts of the pages are kept, never the rows themselves.
#include "documents/layout.h"

#include <functional>
#include <memory>
#include <optional>

namespace tavrin::doc {

class TablePaginator;

// Gives the rows one at a time; nothing at the end.
using RowSource = std::function<std::optional<QVariantMap>()>;
RowSource rowsOf(const QList<QVariantMap>& rows);

class Column {
public:
    // The field of the column that prints the running row number.
    static inline const QString kRowNumber = QStringLiteral("#row");

    Column(const QString& caption, const QString& field, double widthMm,
           Qt::Alignment alignment = Qt::AlignHCenter)
        : caption(caption), field(field), width(widthMm), alignment(alignment)
    {
    }

    // Group and grand totals add the column's values up.
    Column& summed(bool on = true) { isSummed = on; return *this; }
    // The grand total is the fill value of this name (a named field of the document).
    Column& totalFrom(const QString& valueName) { totalField = valueName; return *this; }
    // Whole numbers in groups of three with ",".
    Column& grouped(bool on = true) { groupDigits = on; return *this; }
    // Long values wrap and make their line taller (otherwise the font shrinks to fit).
    Column& wrapped(bool on = true) { wordWrap = on; return *this; }
    Column& aligned(Qt::Alignment a) { alignment = a; return *this; }

    QString caption;
    QString field;
    double width;
    Qt::Alignment alignment;
    bool isSummed = false;
    QString totalField;
    bool groupDigits = false;
    bool wordWrap = false;
};

struct TableStyle {
    double fontSize = 9;            // points, rows and totals
    double headingFontSize = 9;     // points, column captions
    double rowHeight = 6.5;         // mm, least height of a row
    double headerHeight = 10;       // mm, least height of the captions' row
    double spanHeight = 6;          // mm, least height of the headings over several columns (above the captions)
    double groupHeight = 7;         // mm, group header and footer lines
    double totalsHeight = 7;        // mm, grand totals line
    double padding = 1.5;           // mm, left and right inside a cell
    double penWidth = 0.2;          // mm, cell borders
    QColor headingFill = QColor(225, 225, 225);
    QColor groupFill = QColor(242, 242, 242);
    QColor totalsFill = QColor(232, 232, 232);
    bool persianNumbers = false;    // row numbers, page numbers and computed totals in Persian digits
    bool restartNumbersPerGroup = false;
};

class TableReport {
public:
    explicit TableReport(const PageSetup& setup = {});

    TableReport& pageHeader(const Band& band) { m_pageHeader = band; return *this; }
    TableReport& pageFooter(const Band& band) { m_pageFooter = band; return *this; }
    TableReport& title(const Band& band) { m_title = band; return *this; }
    TableReport& summary(const Band& band) { m_summary = band; return *this; }
    TableReport& column(const Column& column) { m_columns.append(column); return *this; }
    TableReport& rowNumber(const QString& caption, double widthMm)
    {
        return column(Column(caption, Column::kRowNumber, widthMm));
    }
    // A heading over the columns from firstField to lastField (in column order).
    TableReport& span(const QString& caption, const QString& firstField, const QString& lastField);
    // Rows come ordered by the field; each run of equal values is a group.  The
    // header and footer texts are filled from the group's first row (and
    // "count", the group's number of rows); the footer line carries the
    // group's totals of the summed columns.
    TableReport& groupBy(const QString& field, const QString& header, const QString& footer);
    // A grand totals line after the last row, with this caption.
    TableReport& totals(const QString& caption) { m_totalsCaption = caption; m_hasTotals = true; return *this; }
    TableReport& style(const TableStyle& style) { m_style = style; return *this; }
    // Finished pages kept in memory while the report is filled: when there
    // are more, they are written out (Document::spillPagesBefore), so a list
    // of any length fills in the same memory.
    TableReport& pagesInMemory(int pages) { m_pagesInMemory = std::max(1, pages); return *this; }

    const PageSetup& setup() const { return m_setup; }
    const QList<Column>& columns() const { return m_columns; }
    const TableStyle& tableStyle() const { return m_style; }
    // Left edge and width (mm) of each column in column order: the first
    // column is the rightmost.  The table is centred in the content area and
    // narrowed to fit it.
    QList<QPair<double, double>> columnGeometry() const;
    // Named fields of the bands and of the given totals.
    QStringList fieldNames() const;

    Document fill(const QVariantMap& values, const QList<QVariantMap>& rows) const;
    Document fill(const QVariantMap& values, const RowSource& rows) const;

    // The same for rows handed over one at a time (by a read that calls back
    // for each row): each row is placed as it comes and not kept.
    //     TableReport::Filler f(report, values);
    //     list.forEachRow(label, [&](const QSqlRecord& r) { f.add(rowOf(r)); });
    //     Document d = f.finish();
    //
    // Given a row source, it pulls the rows itself, a slice at a time, and
    // can open the preview as soon as the first page is laid out:
    //     TableReport::Filler f(report, values, rows);
    //     f.showPreview(title);
    class Filler : public DocumentFilling {
    public:
        Filler(const TableReport& report, const QVariantMap& values);
        Filler(const TableReport& report, const QVariantMap& values, const RowSource& rows);
        ~Filler() override;
        void add(const QVariantMap& row);
        Document finish();   // once, after the last row

        // The pages so far (all of them once complete).
        const Document& document() const;
        bool isComplete() const;
        // Rows from the source for a few tens of milliseconds; false (and
        // the document complete) once they have all come.
        bool fillMore() override;
        int pagesDone() const override;
        // Lays the first page out and opens the preview (Document::showPreview),
        // which lays the rest out while it shows.
        int showPreview(const QString& title);

    private:
        // Rows from the source until enough(rows so far) or the last.
        bool pull(const std::function<bool(int)>& enough);

        std::unique_ptr<TablePaginator> m_paginator;
        RowSource m_rows;
    };

    // A footer with "صفحه N از M" centred in the content width.
    static Band pageNumberFooter(const PageSetup& setup, double heightMm = 7,
                                 const TextStyle& style = TextStyle().pt(9).centre());

private:
    friend class TablePaginator;
    struct Span {
        QString caption;
        QString firstField;
        QString lastField;
    };
    struct Grouping {
        QString field;
        QString header;
        QString footer;
    };

    PageSetup m_setup;
    Band m_pageHeader;
    Band m_pageFooter;
    Band m_title;
    Band m_summary;
    QList<Column> m_columns;
    QList<Span> m_spans;
    std::optional<Grouping> m_group;
    QString m_totalsCaption;
    bool m_hasTotals = false;
    TableStyle m_style;
    int m_pagesInMemory = 32;
};

} // namespace tavrin::doc
