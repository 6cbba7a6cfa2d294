#include "listmodel.h"

#include "dialogs.h"
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

struct ListModel::FirstPage {
    QList<QSqlRecord> rows;
    QSqlRecord fields;
    int count = 0;
    QVariantMap totals;
};

ListModel::FirstPage ListModel::fetchFirstPage(const ListQuery& q, const QSqlRecord& fields) const
{
    // with tavrin_totals as (select count(*), <totals> <from> <where>)
    // <select>, (select count from tavrin_totals), ... <from> <where> <order> <page>
    // The extra fields come last, so the select's positions stay as they are.
    const QList<QPair<QString, QString>>& totals = q.totals();
    QString head = QStringLiteral("with tavrin_totals as (select count(*) as tavrin_count");
    QString extra = QStringLiteral(", (select tavrin_count from tavrin_totals) as tavrin_count");
    for (int i = 0; i < totals.size(); ++i) {
        head += QStringLiteral(", %1 as tavrin_total%2").arg(totals[i].second).arg(i);
        extra += QStringLiteral(", (select tavrin_total%1 from tavrin_totals) as tavrin_total%1").arg(i);
    }
    const Dialect& d = dm().dialect();
    const QString sql = head + ' ' + q.from() + q.whereSql() + QStringLiteral(") ") + q.select() + extra + ' ' +
                        q.from() + q.whereSql() + orderClause(q, fields) + d.pageClause();
    QVariantList values = q.values() + q.values();
    if (d.pageBindsOffsetFirst())
        values << 0 << kPageSize;
    else
        values << kPageSize << 0;
    QSqlQuery query = dm().exec(sql, values);
    const int own = query.record().count() - 1 - int(totals.size());
    const auto strip = [own](QSqlRecord r) {
        while (r.count() > own)
            r.remove(r.count() - 1);
        return r;
    };
    FirstPage first;
    first.fields = strip(query.record());
    for (int i = 0; i < totals.size(); ++i)
        first.totals.insert(totals[i].first, QVariant());
    while (query.next()) {
        const QSqlRecord r = query.record();
        if (first.rows.isEmpty()) {
            first.count = r.value(own).toInt();
            for (int i = 0; i < totals.size(); ++i)
                first.totals.insert(totals[i].first, r.value(own + 1 + i));
        }
        first.rows << strip(r);
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
    m_totals = first.totals;
    m_fields = first.fields;
    m_pages.clear();
    m_pageAge.clear();
    m_pages.insert(0, first.rows);
    m_pageAge << 0;
    endResetModel();
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
    m_totals.clear();
    m_pages.clear();
    m_pageAge.clear();
    m_fields = QSqlRecord();
    endResetModel();
}

QString ListModel::orderClause(const ListQuery& q, const QSqlRecord& fields) const
{
    QStringList order;
    if (!m_sortField.isEmpty() && fields.indexOf(m_sortField) >= 0)
        // By position: field names of a join may be ambiguous, positions are not.
        order << QStringLiteral("%1 %2").arg(fields.indexOf(m_sortField) + 1)
                     .arg(m_sortOrder == Qt::AscendingOrder ? QStringLiteral("asc") : QStringLiteral("desc"));
    else if (!q.order().isEmpty())
        order << q.order();
    order << q.idColumn();
    return QStringLiteral(" order by ") + order.join(',');
}

QString ListModel::orderedSql() const
{
    return m_query.select() + ' ' + m_query.from() + m_query.whereSql() + orderClause(m_query, m_fields);
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
    dm().forEachRow(orderedSql(), m_query.values(), visit);
}

bool ListModel::forEachRow(const QString& label, const std::function<void(const QSqlRecord&)>& visit) const
{
    const std::unique_ptr<ProgressView> progress = dialogs().progress(label, m_count);
    qint64 done = 0;
    try {
        forEachRow([&](const QSqlRecord& r) {
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
