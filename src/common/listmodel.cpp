#include "listmodel.h"

#include "dialogs.h"
#include "monedit.h"
#include "windows.h"

#include "db/database.h"
#include "db/schema.h"

#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QLocale>
#include <QRegularExpression>
#include <QSqlField>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>

namespace tavrin {

namespace {
constexpr int kKeptPages = 40;
} // namespace

ListModel::ListModel(QObject* parent) : QAbstractTableModel(parent) {}

void ListModel::setColumns(const QList<GridColumn>& columns)
{
    beginResetModel();
    m_columns = columns;
    findMoneyColumns(m_query);
    m_widestAmount.clear();
    for (const QList<QSqlRecord>& page : std::as_const(m_pages))
        noteAmounts(page);
    endResetModel();
}

namespace {
// The tables a list reads: the names after "from" and "join" in its from clause.
QStringList tablesOf(const QString& from)
{
    static const QRegularExpression named(QStringLiteral("\\b(?:from|join)\\s+([A-Za-z_][A-Za-z0-9_]*)"),
                                          QRegularExpression::CaseInsensitiveOption);
    QStringList out;
    for (auto it = named.globalMatch(from); it.hasNext();)
        out << it.next().captured(1).toLower();
    return out;
}
} // namespace

void ListModel::findMoneyColumns(const ListQuery& q)
{
    // Amounts are shown grouped and sized whole wherever the schema keeps them
    // as money, whether or not the window marked the column.
    QList<const TableDef*> tables;
    for (const QString& name : tablesOf(q.from()))
        if (const TableDef* t = schema().table(name))
            tables << t;
    m_money.clear();
    for (const GridColumn& c : std::as_const(m_columns)) {
        bool money = c.kind == ColumnKind::Money;
        if (c.kind == ColumnKind::Auto)
            for (const TableDef* t : std::as_const(tables))
                if (const ColumnDef* d = t->column(c.field); d && d->type == ColType::Money)
                    money = true;
        m_money << money;
    }
}

ColumnKind ListModel::kindOf(int column) const
{
    const ColumnKind k = m_columns.at(column).kind;
    return k == ColumnKind::Auto && m_money.value(column) ? ColumnKind::Money : k;
}

bool ListModel::isMoney(int column) const
{
    return column >= 0 && column < m_columns.size() && kindOf(column) == ColumnKind::Money;
}

bool ListModel::noteAmounts(const QList<QSqlRecord>& rows) const
{
    bool grew = false;
    for (int c = 0; c < m_columns.size(); ++c) {
        if (!isMoney(c))
            continue;
        QString widest = m_widestAmount.value(c);
        for (const QSqlRecord& r : rows) {
            const QString shown = display(r.value(m_columns[c].field), ColumnKind::Money);
            if (shown.size() > widest.size())
                widest = shown;
        }
        if (widest.size() > m_widestAmount.value(c).size()) {
            m_widestAmount.insert(c, widest);
            grew = true;
        }
    }
    return grew;
}

struct ListModel::FirstPage {
    QList<QSqlRecord> rows;
    QSqlRecord fields;
    int count = 0;
    QVariant lastId;
    QVariantMap totals;
};

ListModel::FirstPage ListModel::fetchFirstPage(const ListQuery& q, const QSqlRecord& fields) const
{
    // with tavrin_totals as (select count(*), <totals> <from> <where>)
    // <select>, (select count from tavrin_totals), ... <from> <where> <order> <page>
    // The extra fields come last, so the select's positions stay as they are.
    const QList<QPair<QString, QString>>& totals = q.totals();
    // The largest id of a one-table list's table comes with the count (one
    // probe of its key, not a read of the result): every row the search keeps
    // up to it was counted, so a refresh after an insert counts only the rows
    // beyond it (refreshAfterInsert).
    static const QRegularExpression oneTable(QStringLiteral("^\\s*from\\s+\\w+(\\s+(as\\s+)?\\w+)?\\s*$"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QString last = oneTable.match(q.from()).hasMatch()
                             ? QStringLiteral("(select max(%1) %2)").arg(q.idColumn(), q.from())
                             : QStringLiteral("null");
    QString head = QStringLiteral("with tavrin_totals as (select count(*) as tavrin_count");
    QString extra = QStringLiteral(", (select tavrin_count from tavrin_totals) as tavrin_count, %1 as tavrin_last").arg(last);
    for (int i = 0; i < totals.size(); ++i) {
        head += QStringLiteral(", %1 as tavrin_total%2").arg(totals[i].second).arg(i);
        extra += QStringLiteral(", (select tavrin_total%1 from tavrin_totals) as tavrin_total%1").arg(i);
    }
    const Dialect& d = dm().dialect();
    QString sql;
    QVariantList values;
    static const QRegularExpression allColumns(QStringLiteral("^\\s*select\\s+\\*\\s*$"), QRegularExpression::CaseInsensitiveOption);
    if (q.narrowedByKey() && !d.materializedAs().isEmpty() && last != QLatin1String("null") && q.order().isEmpty() &&
        allColumns.match(q.select()).hasMatch()) {
        // A search narrowed by a key keeps few rows: they are found once, the
        // key's candidates checked against every condition, with their id,
        // sorted value and place in the table (PostgreSQL's ctid), and the
        // count, the totals and the first page come from that set: the
        // conditions are planned and the rows visited once, and only the
        // page's rows are read whole, by their place.  The place is in no
        // index, so the planner reads the candidates through the key rather
        // than folding the text of every row of an ordered index (it costs
        // the folding as one operator); and with no limit of its own that
        // part is never answered by walking an order's index.
        // with tavrin_ids as materialized (select id, ctid, <sorted> <from> <where>),
        //      tavrin_totals as (select count(*), <totals> ... of those rows)
        // select *, ... <from> where ctid = any(the page's places) <order>
        const bool sorted = !m_sortField.isEmpty() && fields.indexOf(m_sortField) >= 0;
        const QString dir = !sorted || m_sortOrder == Qt::AscendingOrder ? QStringLiteral(" asc") : QStringLiteral(" desc");
        head = QStringLiteral("with tavrin_ids %1 (select %2 as tavrin_id, ctid as tavrin_row%3 %4%5), ")
                   .arg(d.materializedAs(), q.idColumn(),
                        sorted ? QStringLiteral(", %1 as tavrin_key").arg(m_sortField) : QString(), q.from(), q.whereSql()) +
               head.mid(5);
        sql = head +
              (totals.isEmpty() ? QStringLiteral(" from tavrin_ids")
                                : ' ' + q.from() + QStringLiteral(" where ctid in (select tavrin_row from tavrin_ids)")) +
              QStringLiteral(") ") + q.select() + extra + ' ' + q.from() +
              QStringLiteral(" where ctid = any (array(select tavrin_row from tavrin_ids order by ") +
              (sorted ? QStringLiteral("tavrin_key") + dir + ',' : QString()) + QStringLiteral("tavrin_id") + dir +
              d.pageClause() + QStringLiteral("))") + orderClause(q, fields);
        values = q.values();
    } else {
        sql = head + ' ' + q.from() + q.whereSql() + QStringLiteral(") ") + q.select() + extra + ' ' + q.from() +
              q.whereSql() + orderClause(q, fields) + d.pageClause();
        values = q.values() + q.values();
    }
    if (d.pageBindsOffsetFirst())
        values << 0 << kPageSize;
    else
        values << kPageSize << 0;
    QSqlQuery query = dm().exec(sql, values);
    FirstPage first;
    // The field list is read once, without the count and totals; each row is
    // a copy of it with the row's values (cheaper than the driver's record per row).
    first.fields = query.record();
    const int own = first.fields.count() - 2 - int(totals.size());
    while (first.fields.count() > own)
        first.fields.remove(first.fields.count() - 1);
    for (int i = 0; i < totals.size(); ++i)
        first.totals.insert(totals[i].first, QVariant());
    first.rows.reserve(kPageSize);
    while (query.next()) {
        if (first.rows.isEmpty()) {
            first.count = query.value(own).toInt();
            first.lastId = query.value(own + 1);
            for (int i = 0; i < totals.size(); ++i)
                first.totals.insert(totals[i].first, query.value(own + 2 + i));
        }
        QSqlRecord r = first.fields;
        for (int i = 0; i < own; ++i)
            r.setValue(i, query.value(i));
        first.rows << r;
    }
    return first;
}

void ListModel::setQuery(const ListQuery& q)
{
    if (q.isEmpty()) {
        clear();
        return;
    }
    // A search of the same select keeps its fields, and so the position of
    // the sorted field; another select learns them from its first page.
    const bool sameSelect = !m_fields.isEmpty() && q.select() == m_query.select() && q.from() == m_query.from();
    FirstPage first = fetchFirstPage(q, sameSelect ? m_fields : QSqlRecord());
    if (!sameSelect && !m_sortField.isEmpty() && first.fields.indexOf(m_sortField) >= 0 && first.count > 0)
        first = fetchFirstPage(q, first.fields);  // now sorted as the later pages will be
    beginResetModel();
    m_query = q;
    m_count = first.count;
    m_lastId = first.lastId;
    m_totals = first.totals;
    m_fields = first.fields;
    m_pages.clear();
    m_pageAge.clear();
    m_pages.insert(0, first.rows);
    m_pageAge << 0;
    findMoneyColumns(q);
    m_widestAmount.clear();
    noteAmounts(first.rows);
    endResetModel();
}

void ListModel::refresh()
{
    if (!m_query.isEmpty())
        setQuery(m_query);
}

int ListModel::refreshAfterInsert(const QVariant& id)
{
    if (m_query.isEmpty())
        return -1;
    const bool byId = (m_sortField.isEmpty() || m_fields.indexOf(m_sortField) < 0) && m_query.order().isEmpty();
    if (!byId || !m_query.totals().isEmpty() || m_lastId.isNull() || m_fields.isEmpty() || !id.isValid()) {
        refresh();
        return rowOfId(id);
    }
    // with tavrin_new as (select count(*), max(id) <from> <where> and id>?)
    // <select>, (the count), (the largest id) <from> <where> order by id desc <page>
    const Dialect& d = dm().dialect();
    const QString idc = m_query.idColumn();
    const QString sql = QStringLiteral("with tavrin_new as (select count(*) as tavrin_count, max(%1) as tavrin_last ")
                            .arg(idc) +
                        m_query.from() + m_query.whereSql() + QStringLiteral(" and ") + idc +
                        QStringLiteral(">?) ") + m_query.select() +
                        QStringLiteral(", (select tavrin_count from tavrin_new) as tavrin_count, "
                                       "(select tavrin_last from tavrin_new) as tavrin_last ") +
                        m_query.from() + m_query.whereSql() + orderClause(m_query, m_fields, true) + d.pageClause();
    QVariantList values = m_query.values();
    values << m_lastId;
    values += m_query.values();
    if (d.pageBindsOffsetFirst())
        values << 0 << kPageSize;
    else
        values << kPageSize << 0;
    QSqlQuery query = dm().exec(sql, values);
    const int own = m_fields.count();
    QList<QSqlRecord> last;   // the end of the list, last row first
    qint64 added = 0;
    QVariant newLast;
    while (query.next()) {
        if (last.isEmpty()) {
            added = query.value(own).toLongLong();
            newLast = query.value(own + 1);
        }
        QSqlRecord r = m_fields;
        for (int i = 0; i < own; ++i)
            r.setValue(i, query.value(i));
        last << r;
    }
    // A list shorter than a page is all there, so its count is exact; a
    // longer one is the count read at the search plus the rows it keeps added
    // since (by anyone) beyond the largest id then, without counting the
    // whole list again.
    const int count = last.size() < kPageSize ? int(last.size()) : m_count + int(added);
    beginResetModel();
    m_count = count;
    if (!newLast.isNull())
        m_lastId = newLast;
    m_pages.clear();
    m_pageAge.clear();
    int row = -1;
    if (count > 0) {
        const int page = (count - 1) / kPageSize;
        QList<QSqlRecord> rows = last.mid(0, count - page * kPageSize);
        std::reverse(rows.begin(), rows.end());
        for (int i = 0; i < rows.size(); ++i)
            if (rows[i].value(QStringLiteral("id")) == id)
                row = page * kPageSize + i;
        m_pages.insert(page, rows);
        m_pageAge << page;
    }
    endResetModel();
    return row;
}

void ListModel::clear()
{
    beginResetModel();
    m_query = ListQuery();
    m_count = 0;
    m_lastId = QVariant();
    m_totals.clear();
    m_pages.clear();
    m_pageAge.clear();
    m_fields = QSqlRecord();
    m_widestAmount.clear();
    endResetModel();
}

bool ListModel::canReverse() const
{
    // A fixed order of the list's own (the log's "saat_sys desc") is not reversed.
    const bool bySortField = !m_sortField.isEmpty() && m_fields.indexOf(m_sortField) >= 0;
    return bySortField || m_query.order().isEmpty();
}

bool ListModel::canSeek() const
{
    if (!canReverse())
        return false;
    if (m_sortField.isEmpty() || m_fields.indexOf(m_sortField) < 0)
        return true;  // the id alone orders the list
    // The sorted field must be a column the statement's conditions can name.
    return m_query.select().trimmed().compare(QLatin1String("select *"), Qt::CaseInsensitive) == 0;
}

QString ListModel::orderClause(const ListQuery& q, const QSqlRecord& fields, bool reversed) const
{
    const auto dir = [reversed](bool ascending) {
        return ascending != reversed ? QStringLiteral(" asc") : QStringLiteral(" desc");
    };
    QStringList order;
    bool idAscending = true;
    if (!m_sortField.isEmpty() && fields.indexOf(m_sortField) >= 0) {
        // By position: field names of a join may be ambiguous, positions are not.
        // Ties follow the same direction, so that one index can serve the order.
        idAscending = m_sortOrder == Qt::AscendingOrder;
        order << QString::number(fields.indexOf(m_sortField) + 1) + dir(idAscending);
    } else if (!q.order().isEmpty()) {
        order << q.order();
    }
    order << q.idColumn() + dir(idAscending);
    return QStringLiteral(" order by ") + order.join(',');
}

QString ListModel::orderedSql(bool reversed, const QString& extra) const
{
    QString sql = m_query.select() + ' ' + m_query.from() + m_query.whereSql();
    if (!extra.isEmpty())
        sql += QStringLiteral(" and (") + extra + ')';
    return sql + orderClause(m_query, m_fields, reversed);
}

QString ListModel::after(const QSqlRecord& row, bool reversed, QVariantList& values) const
{
    const QString id = m_query.idColumn();
    const bool sorted = !m_sortField.isEmpty() && m_fields.indexOf(m_sortField) >= 0;
    const bool ascending = (!sorted || m_sortOrder == Qt::AscendingOrder) != reversed;
    const QString cmp = ascending ? QStringLiteral(">") : QStringLiteral("<");
    const QVariant lastId = row.value(QStringLiteral("id"));
    if (!sorted) {
        values << lastId;
        return id + cmp + QStringLiteral("?");
    }
    const QString f = m_sortField;
    const QVariant v = row.value(f);
    // Where the NULLs of the sorted column stand in this direction.
    const bool nullsFirst = dm().dialect().nullsFirstAscending() == ascending;
    if (v.isNull()) {
        values << lastId;
        return nullsFirst ? QStringLiteral("(%1 is null and %2%3?) or %1 is not null").arg(f, id, cmp)
                          : QStringLiteral("%1 is null and %2%3?").arg(f, id, cmp);
    }
    values << v << v << lastId;
    return QStringLiteral("%1%3? or (%1=? and %2%3?)").arg(f, id, cmp) +
           (nullsFirst ? QString() : QStringLiteral(" or %1 is null").arg(f));
}

QList<QSqlRecord> ListModel::run(const QString& sql, QVariantList values, int limit, int offset, bool reversed) const
{
    const Dialect& d = dm().dialect();
    if (d.pageBindsOffsetFirst())
        values << offset << limit;
    else
        values << limit << offset;
    QSqlQuery q = dm().exec(sql + d.pageClause(), values);
    QList<QSqlRecord> rows;
    // The field list is read once: asking the driver for a whole record per row
    // costs more than the row itself on a wide table.
    QSqlRecord fields = q.record();
    if (const_cast<ListModel*>(this)->m_fields.isEmpty())
        const_cast<ListModel*>(this)->m_fields = fields;
    const int n = fields.count();
    rows.reserve(limit);
    while (q.next()) {
        QSqlRecord r = fields;
        for (int i = 0; i < n; ++i)
            r.setValue(i, q.value(i));
        rows << r;
    }
    if (reversed)
        std::reverse(rows.begin(), rows.end());
    return rows;
}

QList<QSqlRecord> ListModel::fetchPage(int page) const
{
    // A page next to one already read starts at that page's boundary row, so that
    // scrolling costs the same at the end of a long list as at its start.
    if (page > 0 && canSeek()) {
        const auto before = m_pages.constFind(page - 1);
        if (before != m_pages.constEnd() && before->size() == kPageSize) {
            QVariantList values = m_query.values();
            const QString cond = after(before->last(), false, values);
            return run(orderedSql(false, cond), values, kPageSize, 0, false);
        }
        const auto next = m_pages.constFind(page + 1);
        if (next != m_pages.constEnd() && !next->isEmpty()) {
            QVariantList values = m_query.values();
            const QString cond = after(next->first(), true, values);
            return run(orderedSql(true, cond), values, kPageSize, 0, true);
        }
    }
    // A page in the second half is read from the end, in the opposite order.
    const int offset = page * kPageSize;
    if (canReverse() && offset > m_count / 2) {
        int fromEnd = m_count - offset - kPageSize;
        int limit = kPageSize;
        if (fromEnd < 0) {
            limit += fromEnd;
            fromEnd = 0;
        }
        if (limit <= 0)
            return {};
        return run(orderedSql(true), m_query.values(), limit, fromEnd, true);
    }
    return run(orderedSql(), m_query.values(), kPageSize, offset, false);
}

int ListModel::rowOfId(const QVariant& id) const
{
    if (m_query.isEmpty() || !id.isValid())
        return -1;
    for (auto it = m_pages.constBegin(); it != m_pages.constEnd(); ++it)
        for (int i = 0; i < it->size(); ++i)
            if (it->at(i).value(QStringLiteral("id")) == id)
                return it.key() * kPageSize + i;
    if (!canSeek()) {
        // An order of the list's own: the first pages, read as the grid would.
        const int limit = std::min(m_count, 10 * kPageSize);
        for (int r = 0; r < limit; ++r)
            if (value(r, QStringLiteral("id")) == id)
                return r;
        return -1;
    }
    // The record as the list reads it (with its sorted value), then the rows
    // before it in the grid's order, counted.
    QVariantList values = m_query.values();
    values << id;
    const auto rec = dm().firstRow(m_query.select() + ' ' + m_query.from() + m_query.whereSql() + QStringLiteral(" and ") +
                                       m_query.idColumn() + QStringLiteral("=?"),
                                   values);
    if (!rec)
        return -1;
    values = m_query.values();
    const QString before = after(*rec, true, values);
    const int r = dm().scalar(QStringLiteral("select count(*) ") + m_query.from() + m_query.whereSql() +
                                  QStringLiteral(" and (") + before + ')',
                              values)
                      .toInt();
    return r < m_count ? r : -1;
}

const QSqlRecord* ListModel::row(int r) const
{
    if (r < 0 || r >= m_count)
        return nullptr;
    const int page = r / kPageSize;
    auto it = m_pages.find(page);
    if (it == m_pages.end()) {
        QList<QSqlRecord> rows;
        try {
            rows = fetchPage(page);
        } catch (const DbError&) {
            return nullptr;  // logged by the data module; the row shows empty
        }
        it = m_pages.insert(page, rows);
        m_pageAge << page;
        while (m_pageAge.size() > kKeptPages)
            m_pages.remove(m_pageAge.takeFirst());
        if (noteAmounts(rows))
            Q_EMIT const_cast<ListModel*>(this)->amountsWidened();
    }
    const int at = r % kPageSize;
    return at < it->size() ? &it->at(at) : nullptr;
}

QSqlRecord ListModel::record(int r) const
{
    const QSqlRecord* rec = row(r);
    return rec ? *rec : QSqlRecord();
}

QVariant ListModel::value(int r, const QString& field) const
{
    const QSqlRecord* rec = row(r);
    return rec ? rec->value(field) : QVariant();
}

QStringList ListModel::fieldNames() const
{
    QStringList out;
    for (int i = 0; i < m_fields.count(); ++i)
        out << m_fields.fieldName(i);
    return out;
}

void ListModel::sortByField(const QString& field, Qt::SortOrder order)
{
    beginResetModel();
    m_sortField = field;
    m_sortOrder = order;
    m_pages.clear();
    m_pageAge.clear();
    endResetModel();
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, std::max(0, int(m_columns.size()) - 1));
}

void ListModel::forEachRow(const std::function<void(const QSqlRecord&)>& visit) const
{
    if (m_query.isEmpty())
        return;
    dm().forEachRow(orderedSql(), m_query.values(), visit);
}

bool ListModel::forEachRow(const QString& label, const std::function<void(const QSqlRecord&)>& visit) const
{
    if (m_query.isEmpty())
        return true;
    return readRows(label, orderedSql(), m_query.values(), visit, m_count);
}

std::unique_ptr<Database::RowReader> ListModel::rowReader() const
{
    if (m_query.isEmpty())
        return nullptr;
    return std::make_unique<Database::RowReader>(dm(), orderedSql(), m_query.values());
}

bool readRows(const QString& label, const QString& sql, const QVariantList& values,
              const std::function<void(const QSqlRecord&)>& visit, qint64 total)
{
    const std::unique_ptr<ProgressView> progress = dialogs().progress(label, total);
    qint64 done = 0;
    try {
        dm().forEachRow(sql, values, [&](const QSqlRecord& r) {
            visit(r);
            if (!progress->advance(++done))
                throw ReadCancelled();
        });
    } catch (const ReadCancelled&) {
        return false;
    }
    return true;
}

QString ListModel::display(const QVariant& v, ColumnKind kind)
{
    if (v.isNull())
        return {};
    const int type = v.metaType().id();
    const bool numeric = type == QMetaType::Double || type == QMetaType::Float || type == QMetaType::Int ||
                         type == QMetaType::LongLong || type == QMetaType::UInt || type == QMetaType::ULongLong;
    if (kind == ColumnKind::Money) {
        bool ok = false;
        const double d = v.toString().toDouble(&ok);
        return ok ? formatAmount(qint64(std::llround(d))) : v.toString();
    }
    if ((kind == ColumnKind::Auto || kind == ColumnKind::Number) && numeric) {
        if (type == QMetaType::Double || type == QMetaType::Float) {
            QString s = QString::number(v.toDouble(), 'f', 4);
            while (s.contains('.') && (s.endsWith('0') || s.endsWith('.')))
                s.chop(1);
            return s;
        }
        return v.toString();
    }
    return v.toString();
}

int ListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_count;
}

int ListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.column() >= m_columns.size())
        return {};
    if (role == Qt::DisplayRole) {
        const QSqlRecord* rec = row(index.row());
        if (!rec)
            return {};
        const GridColumn& c = m_columns[index.column()];
        const QString shown = display(rec->value(c.field), kindOf(index.column()));
        return c.shown ? c.shown(shown) : shown;
    }
    if (role == Qt::ForegroundRole && m_rowColor) {
        const QSqlRecord* rec = row(index.row());
        if (rec) {
            const QColor c = m_rowColor(*rec);
            if (c.isValid())
                return c;
        }
    }
    return {};
}

QVariant ListModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, o, role);
    const GridColumn& c = m_columns[section];
    if (role == Qt::DisplayRole)
        return c.caption;
    if (role == Qt::FontRole && !m_sortField.isEmpty() && c.field == m_sortField) {
        QFont f;
        f.setBold(true);
        return f;
    }
    if (role == Qt::ForegroundRole && c.titleColor.isValid())
        return c.titleColor;
    return {};
}

namespace {
// A cell in Latin letters only (a file's ".jpg", "Browse") reads left to
// right inside the right-to-left row: a left-to-right mark before it keeps a
// leading dot at its left ("jpg." otherwise).
class GridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale& locale) const override
    {
        const QString t = QStyledItemDelegate::displayText(value, locale);
        return isLatinCaption(t) ? QChar(0x200E) + t : t;
    }
};
} // namespace

DBGrid::DBGrid(QWidget* parent) : QTableView(parent), m_model(new ListModel(this))
{
    setModel(m_model);
    setItemDelegate(new GridDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    verticalHeader()->setDefaultSectionSize(24);
    verticalHeader()->setVisible(false);
    horizontalHeader()->setSectionsClickable(true);
    // A double click on a title's edge measures a sample too.
    horizontalHeader()->setResizeContentsPrecision(kSizingRows);
    // The header's own least width comes from the font's widest glyph, which
    // for the Persian fonts is about a hundred pixels; titles set the width.
    horizontalHeader()->setMinimumSectionSize(24);
    horizontalHeader()->setHighlightSections(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &DBGrid::titleClick);
    connect(this, &QTableView::clicked, this, [this](const QModelIndex& i) { Q_EMIT rowClicked(i.row()); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        for (int c = 0; c < m_model->columns().size(); ++c)
            setColumnHidden(c, m_model->columns()[c].hidden);
        if (m_sizeOnFirstRows > 0 && m_model->rowCount() > 0) {
            resizeColumnsToContents();
            for (int c = 0; c < m_model->columnCount(); ++c)
                setColumnWidth(c, std::min(columnWidth(c) + 8, m_sizeOnFirstRows));
            m_sizeOnFirstRows = 0;
        }
        fitTitles();
        fitAmounts();
        if (m_counter)
            m_counter->setText(QString::number(m_model->totalCount()));
    });
    connect(m_model, &QAbstractItemModel::headerDataChanged, this, &DBGrid::fitTitles);
    // A page read while the grid paints: widened once the painting is done.
    connect(m_model, &ListModel::amountsWidened, this, &DBGrid::fitAmounts, Qt::QueuedConnection);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (size > 0 && horizontalHeader()->sectionResizeMode(column) == QHeaderView::Interactive)
            if (const int least = amountWidth(column); size < least)
                horizontalHeader()->resizeSection(column, least);
    });
}

int DBGrid::amountWidth(int column) const
{
    const QString widest = m_model->isMoney(column) ? m_model->widestAmount(column) : QString();
    if (widest.isEmpty())
        return 0;
    // Measured as the grid's cells are drawn: the style's margins around the text.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.text = widest;
    option.features |= QStyleOptionViewItem::HasDisplay;
    return style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).width() + (showGrid() ? 1 : 0);
}

void DBGrid::fitAmounts()
{
    QHeaderView* h = horizontalHeader();
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (isColumnHidden(c) || h->sectionResizeMode(c) != QHeaderView::Interactive)
            continue;
        if (const int least = amountWidth(c); columnWidth(c) < least)
            setColumnWidth(c, least);
    }
}

void DBGrid::fitTitles()
{
    QHeaderView* h = horizontalHeader();
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (isColumnHidden(c) || h->sectionResizeMode(c) != QHeaderView::Interactive)
            continue;
        const int title = h->sectionSizeHint(c);
        if (columnWidth(c) < title)
            setColumnWidth(c, title);
    }
}

void DBGrid::showEvent(QShowEvent* e)
{
    QTableView::showEvent(e);
    // The font is final once the grid is shown.
    fitTitles();
    fitAmounts();
}

bool DBGrid::selectId(const QVariant& id)
{
    int r = -1;
    try {
        r = m_model->rowOfId(id);
    } catch (const DbError&) {
        return false;  // logged by the data module; the current row stays
    }
    if (r < 0)
        return false;
    const QModelIndex i = m_model->index(r, 0);
    setCurrentIndex(i);
    scrollTo(i);
    return true;
}

void DBGrid::refreshKeepingRow()
{
    const int row = currentRow();
    const QVariant id = row >= 0 ? m_model->value(row, QStringLiteral("id")) : QVariant();
    m_model->refresh();
    if (id.isValid())
        selectId(id);
}

void DBGrid::setCounter(QLabel* counter)
{
    m_counter = counter;
}

void DBGrid::sizeColumnsOnFirstRows(int maxWidth)
{
    m_sizeOnFirstRows = maxWidth;
}

int DBGrid::currentRow() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

QSqlRecord DBGrid::currentRecord() const
{
    const int r = currentRow();
    return r < 0 ? QSqlRecord() : m_model->record(r);
}

void DBGrid::resizeColumnsToContents()
{
    ensurePolished();
    const int rows = std::min(m_model->rowCount(), std::min(kSizingRows, int(ListModel::kPageSize)));
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (isColumnHidden(c))
            continue;
        int width = horizontalHeader()->sectionSizeHint(c);
        for (int r = 0; r < rows; ++r)
            width = std::max(width, sizeHintForIndex(m_model->index(r, c)).width() + (showGrid() ? 1 : 0));
        setColumnWidth(c, width);
    }
}

void DBGrid::titleClick(int column)
{
    if (column < 0 || column >= m_model->columns().size())
        return;
    const QString field = m_model->columns()[column].field;
    const bool descending = m_model->sortField() == field && m_model->sortOrder() == Qt::AscendingOrder;
    m_model->sortByField(field, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

} // namespace tavrin
