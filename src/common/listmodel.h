#pragma once
// The grid of a list window and the model behind it.  A search is one
// statement: the first page with the count of the whole result (and the
// query's totals) beside it, so that a search costs one round trip to a
// distant server.  Further rows are fetched page by page as the grid scrolls,
// so a search over a large table never loads the whole result (the PostgreSQL
// driver would otherwise fetch every row into memory).  Exports and printed
// lists read the whole result once (forEachRow), never page by page.
#include "db/database.h"
#include "listquery.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QSqlRecord>
#include <QTableView>

#include <functional>
#include <memory>

class QLabel;

namespace tavrin {

enum class ColumnKind { Auto, Text, Money, Number };

struct GridColumn {
    QString field;
    QString caption;
    ColumnKind kind = ColumnKind::Auto;
    bool hidden = false;
    QColor titleColor = {};
    // How a stored text is shown (a user's level in Persian); as it is when unset.
    std::function<QString(const QString&)> shown = {};
};

class ListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListModel(QObject* parent = nullptr);

    // The columns the grid shows, in order; the records keep every field of the select.
    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& columns() const { return m_columns; }

    // Counts and shows the result of q with one statement (throws DbError).
    // The sort order of the previous search is kept when the new one has the
    // same field.
    void setQuery(const ListQuery& q);
    const ListQuery& query() const { return m_query; }
    // Runs the same search again (after an insert, edit or delete).
    void refresh();
    // Shows the list again after the record with this id was added, and
    // returns its row (-1 when the result does not hold it).  In the id order
    // of a search without totals this is one statement that reads the end of
    // the list and counts only the rows beyond the largest id the last count
    // saw (a list shorter than a page is counted exactly); other lists are
    // searched again (refresh, rowOfId).  Throws DbError.
    int refreshAfterInsert(const QVariant& id);
    void clear();

    int totalCount() const { return m_count; }
    // The query's totals (ListQuery::total) over the whole result, read with
    // the count: name -> value (NULL when the result is empty).
    const QVariantMap& totals() const { return m_totals; }
    QSqlRecord record(int row) const;
    QVariant value(int row, const QString& field) const;
    QStringList fieldNames() const;

    // The row of the record with this id in the grid's order, or -1 when the
    // result does not hold it.  Rows already read are looked at first; otherwise
    // the rows before it are counted on the server (two statements, whatever
    // the length of the list) or, for an order that cannot be counted that way,
    // the first pages are read.  Throws DbError.
    int rowOfId(const QVariant& id) const;

    // Sorts by a field of the select; the id column breaks ties.
    void sortByField(const QString& field, Qt::SortOrder order);
    QString sortField() const { return m_sortField; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

    // Every row of the current result in the grid's order, read once
    // (Database::forEachRow: forward only, or a server-side cursor).
    void forEachRow(const std::function<void(const QSqlRecord&)>& visit) const;
    // The same behind a cancellable progress dialog titled label; false when
    // the user cancelled (visit has then seen only the first rows).
    bool forEachRow(const QString& label, const std::function<void(const QSqlRecord&)>& visit) const;
    // The same rows pulled one at a time (Database::RowReader); nullptr
    // before a search.  Throws DbError.
    std::unique_ptr<Database::RowReader> rowReader() const;

    // A foreground colour per row (the users list draws inactive users in red).
    void setRowColor(std::function<QColor(const QSqlRecord&)> colour) { m_rowColor = std::move(colour); }

    static QString display(const QVariant& v, ColumnKind kind);

    // Whether a column shows amounts: marked Money, or left Auto over a money
    // column of a table the list reads (known once a search has run).
    bool isMoney(int column) const;
    // The widest amount (as shown) of each money column among the rows read so
    // far; grows as later pages are read, starts again with every search.
    QString widestAmount(int column) const { return m_widestAmount.value(column); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

    static constexpr int kPageSize = 200;

Q_SIGNALS:
    // A page read later held an amount wider than those read before it.
    void amountsWidened();

private:
    // The money columns of the current columns over the tables of q.
    void findMoneyColumns(const ListQuery& q);
    // Notes the widest amounts of rows just read; true when one grew.
    bool noteAmounts(const QList<QSqlRecord>& rows) const;
    ColumnKind kindOf(int column) const;

    // The order by clause of q in the grid's order (reversed: the opposite
    // order), the sorted field found by its position among fields.
    QString orderClause(const ListQuery& q, const QSqlRecord& fields, bool reversed = false) const;
    // The list statement in the grid's order (reversed: the opposite order), with
    // an extra condition when given.
    QString orderedSql(bool reversed = false, const QString& extra = {}) const;
    QList<QSqlRecord> fetchPage(int page) const;
    struct FirstPage;
    FirstPage fetchFirstPage(const ListQuery& q, const QSqlRecord& fields) const;
    QList<QSqlRecord> run(const QString& sql, QVariantList values, int limit, int offset, bool reversed) const;
    // Whether a page can be read from a neighbouring page's boundary row (keyset
    // paging) and whether the order can be reversed to read from the end.
    bool canSeek() const;
    bool canReverse() const;
    // The condition that keeps the rows after `row` in the grid's order (before
    // it when reversed), with its values.
    QString after(const QSqlRecord& row, bool reversed, QVariantList& values) const;
    const QSqlRecord* row(int r) const;

    QList<GridColumn> m_columns;
    ListQuery m_query;
    int m_count = 0;
    QVariant m_lastId;   // the largest id of the result when it was counted
    QVariantMap m_totals;
    QString m_sortField;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QSqlRecord m_fields;
    mutable QHash<int, QList<QSqlRecord>> m_pages;
    mutable QList<int> m_pageAge;
    std::function<QColor(const QSqlRecord&)> m_rowColor;
    QList<bool> m_money;                      // per column
    mutable QHash<int, QString> m_widestAmount;  // column -> widest amount shown
};

// Reads a select once, in order (Database::forEachRow), behind a cancellable
// progress dialog titled label (of total rows when known): the read of a
// printed list or a page the user asked for.  False when the user cancelled;
// visit has then seen only the first rows, and the caller shows nothing.
bool readRows(const QString& label, const QString& sql, const QVariantList& values,
              const std::function<void(const QSqlRecord&)>& visit, qint64 total = 0);

// A list grid: whole-row selection, right to left, and the title click that
// sorts ascending, then descending, then ascending again, with the sorted
// title in bold.  A column is never narrower than its title, also while the
// list is empty, and a money column never narrower than its widest amount.
// Texts in Latin letters only (a file's ".jpg") read left to right.
class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget* parent = nullptr);
    ListModel* listModel() const { return m_model; }
    // The row under the cursor, or -1.
    int currentRow() const;
    QSqlRecord currentRecord() const;
    // Sorts as a click on the title of the given visible column does.
    void titleClick(int column);
    // Sizes every column to its title and a sample of the first rows
    // (kSizingRows, read with the first page).  It stands in for QTableView's
    // own, which measures up to a thousand rows (every row of a grid not yet
    // shown), fetching page after page to do it.
    void resizeColumnsToContents();
    static constexpr int kSizingRows = 50;

    // Makes the row of the record with this id the current one (ListModel::rowOfId);
    // false when the result does not hold it or it cannot be read.
    bool selectId(const QVariant& id);
    // Runs the same search again (after an insert, edit or delete) and keeps
    // the current row on the same record; throws DbError.
    void refreshKeepingRow();
    // A label that shows the number of rows of the result after every search
    // and refresh (the list windows' `cnt`).
    void setCounter(QLabel* counter);
    // The first result with rows sizes the columns to their titles and values
    // (no wider than maxWidth); the user's widths are kept after that.
    void sizeColumnsOnFirstRows(int maxWidth = 260);
    // The width a money column needs for its widest amount read so far (0 for
    // other columns).  A money column is never narrower: after every search
    // and refresh (a save), when later pages bring wider amounts, and when the
    // user drags its edge, it is widened to this, so that an amount is never
    // cut to what reads as a smaller one.
    int amountWidth(int column) const;

Q_SIGNALS:
    void rowClicked(int row);

protected:
    void showEvent(QShowEvent* e) override;

private:
    void fitTitles();
    void fitAmounts();

    ListModel* m_model;
    QLabel* m_counter = nullptr;
    int m_sizeOnFirstRows = 0;  // the widest column; 0 once sized, or when not asked
};

} // namespace tavrin
