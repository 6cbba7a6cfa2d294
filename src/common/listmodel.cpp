#include "listmodel.h"

#include "monedit.h"

#include "db/database.h"

#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QLocale>
#include <QSqlField>

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
    endResetModel();
}

void ListModel::setQuery(const ListQuery& q)
{
    const int count = dm().scalar(q.countSql(), q.values()).toInt();
    beginResetModel();
    m_query = q;
    m_count = count;
    m_pages.clear();
    m_pageAge.clear();
    m_fields = QSqlRecord();
    endResetModel();
    // The first page also tells the field names, even of an empty result.
    if (!m_query.isEmpty()) {
        const auto first = fetchPage(0);
        m_pages.insert(0, first);
        m_pageAge << 0;
    }
}

void ListModel::refresh()
{
    if (!m_query.isEmpty())
        setQuery(m_query);
}

void ListModel::clear()
{
    beginResetModel();
    m_query = ListQuery();
    m_count = 0;
    m_pages.clear();
    m_pageAge.clear();
    m_fields = QSqlRecord();
    endResetModel();
}

QString ListModel::orderedSql() const
{
    QString sql = m_query.select() + ' ' + m_query.from() + m_query.whereSql();
    QStringList order;
    if (!m_sortField.isEmpty() && m_fields.indexOf(m_sortField) >= 0)
        // By position: field names of a join may be ambiguous, positions are not.
        order << QStringLiteral("%1 %2").arg(m_fields.indexOf(m_sortField) + 1)
                     .arg(m_sortOrder == Qt::AscendingOrder ? QStringLiteral("asc") : QStringLiteral("desc"));
    else if (!m_query.order().isEmpty())
        order << m_query.order();
    order << m_query.idColumn();
    return sql + QStringLiteral(" order by ") + order.join(',');
}

QList<QSqlRecord> ListModel::fetchPage(int page) const
{
    const Dialect& d = dm().dialect();
    QVariantList values = m_query.values();
    if (d.pageBindsOffsetFirst())
        values << page * kPageSize << kPageSize;
    else
        values << kPageSize << page * kPageSize;
    QSqlQuery q = dm().exec(orderedSql() + d.pageClause(), values);
    QList<QSqlRecord> rows;
    if (const_cast<ListModel*>(this)->m_fields.isEmpty())
        const_cast<ListModel*>(this)->m_fields = q.record();
    while (q.next())
        rows << q.record();
    return rows;
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
    const int chunk = 2000;
    const Dialect& d = dm().dialect();
    for (int offset = 0;; offset += chunk) {
        QVariantList values = m_query.values();
        if (d.pageBindsOffsetFirst())
            values << offset << chunk;
        else
            values << chunk << offset;
        QSqlQuery q = dm().exec(orderedSql() + d.pageClause(), values);
        int n = 0;
        while (q.next()) {
            visit(q.record());
            ++n;
        }
        if (n < chunk)
            break;
    }
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
        return display(rec->value(c.field), c.kind);
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

DBGrid::DBGrid(QWidget* parent) : QTableView(parent), m_model(new ListModel(this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    verticalHeader()->setDefaultSectionSize(24);
    verticalHeader()->setVisible(false);
    horizontalHeader()->setSectionsClickable(true);
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
        if (m_counter)
            m_counter->setText(QString::number(m_model->totalCount()));
    });
    connect(m_model, &QAbstractItemModel::headerDataChanged, this, &DBGrid::fitTitles);
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
}

bool DBGrid::selectId(const QVariant& id)
{
    const int limit = std::min(m_model->rowCount(), 10 * ListModel::kPageSize);
    for (int r = 0; r < limit; ++r) {
        if (m_model->value(r, QStringLiteral("id")) == id) {
            const QModelIndex i = m_model->index(r, 0);
            setCurrentIndex(i);
            scrollTo(i);
            return true;
        }
    }
    return false;
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

void DBGrid::titleClick(int column)
{
    if (column < 0 || column >= m_model->columns().size())
        return;
    const QString field = m_model->columns()[column].field;
    const bool descending = m_model->sortField() == field && m_model->sortOrder() == Qt::AscendingOrder;
    m_model->sortByField(field, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

} // namespace tavrin
