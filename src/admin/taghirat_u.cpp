#include "taghirat_u.h"

#include "log_u.h"

#include "common/criteria.h"
#include "common/dialogs.h"
#include "common/history.h"
#include "common/history_view.h"
#include "common/jalali.h"
#include "common/listmodel.h"
#include "common/rights.h"
#include "db/database.h"
#include "documents/tablereport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QSqlField>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

namespace tavrin {

const QString Ttaghirat::kSearchFailed = QStringLiteral("خطا در خواندن سابقه تغييرات");
const QString Ttaghirat::kPrintFailed = QStringLiteral("خطا در چاپ سابقه تغييرات");

namespace {
const QString kAll = QStringLiteral("همه");

// The grid's record and field columns, drawn from the whole row.
class HistoryCellDelegate : public QStyledItemDelegate {
public:
    HistoryCellDelegate(const Ttaghirat* window, QObject* parent) : QStyledItemDelegate(parent), m_window(window) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = m_window->cellText(index.row(), index.column());
    }

private:
    const Ttaghirat* m_window;
};

QString recordText(const QString& table, const QVariant& id)
{
    return history::tableCaption(table) + QLatin1Char(' ') + text(id);
}
} // namespace

const QList<QPair<QString, QString>>& Ttaghirat::shownColumns()
{
    static const QList<QPair<QString, QString>> columns = {
        {QStringLiteral("tarikh"), QStringLiteral("تاريخ")},
        {QStringLiteral("saat"), QStringLiteral("ساعت")},
        {QStringLiteral("karbar"), QStringLiteral("کاربر")},
        {QStringLiteral("rec"), QStringLiteral("رکورد")},
        {QStringLiteral("fld"), QStringLiteral("فيلد")},
        {QStringLiteral("old_val"), QStringLiteral("مقدار قبلي")},
        {QStringLiteral("new_val"), QStringLiteral("مقدار جديد")},
        {QStringLiteral("amal"), QStringLiteral("عمليات")},
    };
    return columns;
}

QVariantMap Ttaghirat::shownRow(const QSqlRecord& r)
{
    const QString table = text(r.value(QStringLiteral("tbl")));
    const QString field = text(r.value(QStringLiteral("field")));
    return {
        {QStringLiteral("tarikh"), text(r.value(QStringLiteral("tarikh")))},
        {QStringLiteral("saat"), text(r.value(QStringLiteral("saat")))},
        {QStringLiteral("karbar"), text(r.value(QStringLiteral("karbar")))},
        {QStringLiteral("rec"), recordText(table, r.value(QStringLiteral("rec_id")))},
        {QStringLiteral("fld"), history::fieldCaption(table, field)},
        {QStringLiteral("old_val"), history::shownValue(table, field, text(r.value(QStringLiteral("old_val"))))},
        {QStringLiteral("new_val"), history::shownValue(table, field, text(r.value(QStringLiteral("new_val"))))},
        {QStringLiteral("amal"), history::actionCaption(text(r.value(QStringLiteral("amal"))))},
    };
}

Ttaghirat::Ttaghirat() : TWindow(QStringLiteral("Ttaghirat"), history::windowCaption())
{
    rec_lbl = makeLabel(this, QString(), QStringLiteral("rec_lbl"));
    QFont bold = rec_lbl->font();
    bold.setBold(true);
    rec_lbl->setFont(bold);

    CheckBox1 = new QCheckBox(QStringLiteral("فيلد"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox2 = new QCheckBox(QStringLiteral("تاريخ"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    field = makeCombo(this, QStringLiteral("field"), false);
    field->setMinimumWidth(220);
    dat1 = makeDateEdit(this, QStringLiteral("dat1"));
    dat2 = makeDateEdit(this, QStringLiteral("dat2"));
    bindCriterion(CheckBox1, field);
    bindCriterion(CheckBox2, dat2);
    bindCriterion(CheckBox2, dat1);

    src_btn = makeButton(this, QStringLiteral("src_btn"), QStringLiteral("جستجو"));
    src_btn->setMinimumWidth(90);
    src_btn->setDefault(true);
    connect(src_btn, &QPushButton::clicked, this, &Ttaghirat::src_btnClick);
    for (QWidget* f : std::initializer_list<QWidget*>{dat1, dat2})
        enterClicks(f, src_btn);
    cnt = makeLabel(this, QString(), QStringLiteral("cnt"));
    cnt->setMinimumWidth(70);
    cnt->setAlignment(Qt::AlignCenter);
    cnt->setFrameShape(QFrame::StyledPanel);
    cnt->setFont(bold);

    const auto tool = [this](const char* name, const QString& caption, QStyle::StandardPixmap icon) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setIcon(style()->standardIcon(icon));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        return b;
    };
    SpeedButton1 = tool("SpeedButton1", QStringLiteral("اکسل"), QStyle::SP_DialogSaveButton);
    SpeedButton2 = tool("SpeedButton2", QStringLiteral("چاپ"), QStyle::SP_FileDialogDetailedView);
    connect(SpeedButton1, &QToolButton::clicked, this, &Ttaghirat::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &Ttaghirat::SpeedButton2Click);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    QList<GridColumn> columns;
    for (const auto& [name, caption] : shownColumns()) {
        // The grid reads the stored row: the record and field columns are
        // drawn by the delegate from it, the action in words.
        const QString stored = name == QLatin1String("rec") ? QStringLiteral("rec_id")
                               : name == QLatin1String("fld") ? QStringLiteral("field")
                                                              : name;
        GridColumn c {stored, caption, ColumnKind::Text};
        if (name == QLatin1String("amal"))
            c.shown = [](const QString& v) { return history::actionCaption(v); };
        columns << c;
    }
    DBGrid1->listModel()->setColumns(columns);
    DBGrid1->setCounter(cnt);
    auto* delegate = new HistoryCellDelegate(this, DBGrid1);
    for (int c = 3; c <= 6; ++c)   // record, field, old and new value
        DBGrid1->setItemDelegateForColumn(c, delegate);
    const int widths[] = {85, 70, 110, 130, 210, 210, 210, 70};
    for (int c = 0; c < 8; ++c)
        DBGrid1->setColumnWidth(c, widths[c]);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);

    auto* filters = new QHBoxLayout;
    filters->setSpacing(8);
    filters->addWidget(CheckBox1);
    filters->addWidget(field);
    filters->addSpacing(12);
    filters->addWidget(CheckBox2);
    filters->addWidget(dat1);
    filters->addWidget(makeLabel(this, QStringLiteral("تـــــــــــــا")));
    filters->addWidget(dat2);
    filters->addStretch();
    filters->addWidget(src_btn);
    filters->addWidget(cnt);

    auto* actions = new QHBoxLayout;
    actions->addWidget(SpeedButton1);
    actions->addWidget(SpeedButton2);
    actions->addStretch();

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(10, 10, 10, 10);
    top->addWidget(rec_lbl);
    top->addLayout(filters);
    top->addWidget(DBGrid1, 1);
    top->addLayout(actions);
    resize(1180, 600);
}

void Ttaghirat::openFor(const QString& table, qint64 id, const QString& label)
{
    if (!pageRights(QString::fromLatin1(history::kPageKey)))
        return;
    Ttaghirat& w = tavrin::window<Ttaghirat>();
    w.showRecord(table, id, label);
    w.showModal();
}

void Ttaghirat::showRecord(const QString& table, qint64 id, const QString& label)
{
    m_table = table;
    m_id = id;
    QString line = recordText(table, id);
    if (!label.trimmed().isEmpty())
        line += QStringLiteral(": ") + label.trimmed();
    m_label = line;
    rec_lbl->setText(line);
    CheckBox1->setChecked(false);
    CheckBox2->setChecked(false);
    const QString today = jalali::today();
    dat1->setText(today);
    dat2->setText(today);
    DBGrid1->listModel()->clear();
    cnt->clear();
    try {
        fillFields();
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
        return;
    }
    src_btnClick();
}

void Ttaghirat::fillFields()
{
    field->clear();
    field->addItem(kAll, QStringList());
    QVariantList values;
    const QString where = history::recordCondition(m_table, m_id, values);
    // Fields of several tables with one caption (a payment's and a unit's
    // amount may read alike) are one choice.
    QMap<QString, QStringList> byCaption;
    QSqlQuery q = dm().exec(QStringLiteral("select distinct tbl,field from taghirat where ") + where, values);
    while (q.next()) {
        const QString table = text(q.value(0)), column = text(q.value(1));
        byCaption[history::fieldCaption(table, column)] << table << column;
    }
    for (auto it = byCaption.cbegin(); it != byCaption.cend(); ++it)
        field->addItem(it.key(), it.value());
}

std::optional<ListQuery> Ttaghirat::query()
{
    ListQuery q(QStringLiteral("select *"), QStringLiteral("from taghirat"));
    QVariantList values;
    const QString where = history::recordCondition(m_table, m_id, values);
    q.where(where, values);
    const QStringList pairs = field->currentData().toStringList();
    if (CheckBox1->isChecked() && !pairs.isEmpty()) {
        QStringList any;
        QVariantList bound;
        for (qsizetype i = 0; i + 1 < pairs.size(); i += 2) {
            any << QStringLiteral("(tbl=? and field=?)");
            bound << pairs.at(i) << pairs.at(i + 1);
        }
        q.where(QLatin1Char('(') + any.join(QStringLiteral(" or ")) + QLatin1Char(')'), bound);
    }
    if (CheckBox2->isChecked()) {
        for (QLineEdit* e : {dat1, dat2}) {
            if (!jalali::wholeDate(e->displayText())) {
                dialogs().warning(Tlog::kDateIncomplete);
                e->setFocus();
                return std::nullopt;
            }
        }
        q.where(QStringLiteral("tarikh>=? and tarikh<=?"),
                {*jalali::wholeDate(dat1->displayText()), *jalali::wholeDate(dat2->displayText())});
    }
    // Newest first: the ids follow the order the changes were committed in.
    q.orderBy(QStringLiteral("id desc"));
    return q;
}

void Ttaghirat::src_btnClick()
{
    const std::optional<ListQuery> q = query();
    if (!q)
        return;
    try {
        DBGrid1->listModel()->setQuery(*q);
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
    }
}

QString Ttaghirat::cellText(int row, int column) const
{
    const ListModel* m = DBGrid1->listModel();
    if (column < 0 || column >= m->columns().size())
        return {};
    const QString stored = m->columns().at(column).field;
    if (stored == QLatin1String("rec_id") || stored == QLatin1String("field") || stored == QLatin1String("old_val") ||
        stored == QLatin1String("new_val")) {
        const QSqlRecord r = m->record(row);
        if (r.isEmpty())
            return {};
        const QString table = text(r.value(QStringLiteral("tbl")));
        const QString field = text(r.value(QStringLiteral("field")));
        if (stored == QLatin1String("field"))
            return history::fieldCaption(table, field);
        if (stored == QLatin1String("rec_id"))
            return recordText(table, r.value(QStringLiteral("rec_id")));
        return history::shownValue(table, field, text(r.value(stored)));
    }
    return m->data(m->index(row, column), Qt::DisplayRole).toString();
}

void Ttaghirat::SpeedButton1Click()
{
    const ListModel* m = DBGrid1->listModel();
    if (m->query().isEmpty())
        return;
    QStringList names;
    HeaderMap headers;
    QSqlRecord shown;
    for (const auto& [name, caption] : shownColumns()) {
        names << name;
        headers.insert(name, caption);
        shown.append(QSqlField(name, QMetaType(QMetaType::QString)));
    }
    exportListToExcel(QStringLiteral("taghirat"), names, headers, [&](const RecordVisitor& visit) {
        m->forEachRow([&](const QSqlRecord& r) {
            const QVariantMap row = shownRow(r);
            for (const QString& n : std::as_const(names))
                shown.setValue(n, row.value(n));
            visit(shown);
        });
    });
}

std::optional<doc::Document> Ttaghirat::document() const
{
    using namespace doc;
    const PageSetup setup {Paper::A4, Orientation::Landscape, QMarginsF(10, 10, 10, 8)};
    const QRectF content = setup.contentRect();
    Band header(19);
    header.text(QRectF(content.left(), 0, content.width(), 9), history::windowCaption(),
                TextStyle().pt(14).bold().centre());
    header.field(QStringLiteral("rec"), QRectF(content.left(), 10, content.width(), 7), TextStyle().pt(11).bold().right());
    TableReport report(setup);
    report.pageHeader(header).pageFooter(TableReport::pageNumberFooter(setup, 6)).rowNumber(QStringLiteral("رديف"), 10);
    const double widths[] = {20, 16, 30, 34, 42, 52, 52, 18};
    int i = 0;
    for (const auto& [name, caption] : shownColumns()) {
        // Texts (user, record, field, values) from the right, dates, times and actions centred.
        const bool texts = i >= 2 && i <= 6;
        Column c(caption, name, widths[i++], texts ? Qt::AlignRight : Qt::AlignHCenter);
        if (name == QLatin1String("old_val") || name == QLatin1String("new_val") || name == QLatin1String("fld"))
            c.wrapped();
        report.column(c);
    }
    TableReport::Filler filler(report, {{QStringLiteral("rec"), m_label}});
    const ListModel* m = DBGrid1->listModel();
    if (!m->forEachRow(kReadingList, [&filler](const QSqlRecord& r) { filler.add(shownRow(r)); }))
        return std::nullopt;
    return filler.finish();
}

void Ttaghirat::SpeedButton2Click()
{
    if (DBGrid1->listModel()->query().isEmpty())
        return;
    try {
        if (const std::optional<doc::Document> d = document())
            d->showPreview(history::windowCaption());
    } catch (const DbError& e) {
        reportFailure(kPrintFailed, e);
    }
}

} // namespace tavrin
