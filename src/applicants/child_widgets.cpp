#include "applicants/child_widgets.h"

#include "applicants/child_texts.h"
#include "applicants/partners_logic.h"

#include "common/bidi.h"
#include "common/criteria.h"
#include "common/dialogs.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "common/monedit.h"
#include "common/nationcode.h"
#include "common/windows.h"
#include "db/database.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>

namespace tavrin::child {

namespace {
QLabel* headerValue(QWidget* parent, const char* name)
{
    QLabel* l = makeLabel(parent, QString(), QString::fromLatin1(name));
    l->setStyleSheet(QStringLiteral("color: #1a4f9c; font-weight: bold;"));
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

// A value keeps its own order in the right-to-left window.  After Persian
// letters the parts of "فاز 2-1" would be laid out as separate numbers, right
// to left ("1-2"): such a stretch is isolated.  A value without Persian
// letters (a unit "1-1-2") already reads in its own order and is shown as
// stored, so that copying it gives the stored text.
void showValue(QLabel* label, const QString& value)
{
    label->setText(bidi::isolatedForRightToLeft(value));
}
} // namespace

Header makeHeader(QWidget* parent)
{
    Header h;
    h.box = new QGroupBox(parent);
    auto* l = new QHBoxLayout(h.box);
    l->setContentsMargins(8, 4, 8, 4);
    h.ostan = headerValue(h.box, "ostan");
    h.shahrestan = headerValue(h.box, "shahrestan");
    h.prj_name = headerValue(h.box, "prj_name");
    h.shenase = headerValue(h.box, "shenase");
    h.flname = headerValue(h.box, "flname");
    const std::pair<QString, QLabel*> parts[] = {{childtext::kProvince + QLatin1Char(':'), h.ostan},
                                                 {childtext::kCounty + QLatin1Char(':'), h.shahrestan},
                                                 {childtext::kProjectName + QLatin1Char(':'), h.prj_name},
                                                 {childtext::kUnitId + QLatin1Char(':'), h.shenase},
                                                 {childtext::kFullName, h.flname}};
    for (const auto& [caption, value] : parts) {
        l->addWidget(makeLabel(h.box, caption));
        l->addWidget(value);
        l->addSpacing(14);
    }
    l->addStretch();
    return h;
}

void Header::show(const QSqlRecord& c)
{
    showValue(ostan, text(c.value(QStringLiteral("ostan"))));
    showValue(shahrestan, text(c.value(QStringLiteral("shahrestan"))));
    showValue(prj_name, text(c.value(QStringLiteral("prj_name"))));
    showValue(shenase, text(c.value(QStringLiteral("shenase"))));
    showValue(flname, fullName(c));
}

void Header::showName(const QString& name)
{
    showValue(flname, name);
}

QString fullName(const QSqlRecord& row)
{
    return text(row.value(QStringLiteral("fname"))) + QLatin1Char(' ') + text(row.value(QStringLiteral("lname")));
}

QLineEdit* amountField(QWidget* parent, const char* name)
{
    QLineEdit* e = makeEdit(parent, QString::fromLatin1(name), kAmountFieldLength);
    installDigitFilter(e);
    e->setFixedWidth(140);
    return e;
}

QLabel* groupedLabel(QWidget* parent, const char* name)
{
    return makeGroupedLabel(parent, name, 120);
}

void showGrouped(QLabel* label, const QString& digits)
{
    const QString g = groupAmount(digits);
    label->setText(g.isEmpty() ? QStringLiteral("0") : g);
}

QComboBox* pickList(QWidget* parent, const char* name, const QString& table)
{
    QComboBox* c = makeCombo(parent, QString::fromLatin1(name));
    if (const int len = columnLength(table, QString::fromLatin1(name)))
        c->lineEdit()->setMaxLength(len);
    c->setMinimumWidth(140);
    return c;
}

QLineEdit* textField(QWidget* parent, const char* name, const QString& table)
{
    return makeEdit(parent, QString::fromLatin1(name), columnLength(table, QString::fromLatin1(name)));
}

void fillKeepingText(QComboBox* c, const QStringList& items)
{
    const QString typed = c->currentText();
    const QSignalBlocker block(c);
    fillCombo(c, items);
    setComboText(c, typed);
}

QList<QAction*> gridPopup(DBGrid* grid, const QList<std::pair<const char*, QString>>& entries)
{
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* popup = new QMenu(grid);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    QList<QAction*> out;
    for (const auto& [name, caption] : entries) {
        auto* a = new QAction(caption, popup);
        a->setObjectName(QString::fromLatin1(name));
        popup->addAction(a);
        out << a;
    }
    QObject::connect(grid, &QWidget::customContextMenuRequested, grid, [grid, popup](const QPoint& at) {
        const QModelIndex index = grid->indexAt(at);
        if (index.isValid())
            grid->setCurrentIndex(index);
        popup->popup(grid->viewport()->mapToGlobal(at));
    });
    return out;
}

QList<QCheckBox*> layoutCriteria(QWidget* parent, QGridLayout* grid, const QList<Criterion>& criteria, int perRow)
{
    QList<QCheckBox*> boxes;
    QWidget* previous = nullptr;
    const auto chain = [&previous](QWidget* w) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    };
    int i = 0;
    for (const Criterion& c : criteria) {
        auto* box = new QCheckBox(c.caption, parent);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        auto* cell = new QHBoxLayout;
        cell->setSpacing(4);
        chain(box);
        for (QWidget* f : c.fields) {
            // A caption between two fields ("تا") keeps its own width and takes no focus.
            const bool caption = qobject_cast<QLabel*>(f) != nullptr;
            cell->addWidget(f, caption ? 0 : 1);
            bindCriterion(box, f);
            if (!caption)
                chain(f);
        }
        const int row = i / perRow, col = (i % perRow) * 2;
        grid->addWidget(box, row, col);
        grid->addLayout(cell, row, col + 1);
        grid->setColumnStretch(col + 1, 1);
        boxes << box;
        ++i;
    }
    return boxes;
}

std::optional<QString> ticked(const QCheckBox* box, const QWidget* field)
{
    if (!box->isChecked())
        return std::nullopt;
    return fieldText(field);
}

void fitHeight(QWidget* w, int wanted)
{
    const QScreen* screen = w->screen();
    // The frame's title bar and borders take about 40 pixels of the available height.
    const int room = screen ? screen->availableGeometry().height() - 40 : wanted;
    const int h = std::max(w->minimumSizeHint().height(), std::min(wanted > 0 ? wanted : w->height(), room));
    w->resize(w->width(), h);
}

bool isEnter(const QKeyEvent* e)
{
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

bool inside(const QWidget* w, const QWidget* grid)
{
    for (; w; w = w->parentWidget())
        if (w == grid)
            return true;
    return false;
}

void showList(DBGrid* grid, const ListQuery& q, QLabel* counter)
{
    try {
        grid->listModel()->setQuery(q);
    } catch (const DbError& e) {
        grid->listModel()->clear();
        reportFailure(childtext::kSearchFailed, e);
    }
    if (counter)
        counter->setText(QString::number(grid->listModel()->totalCount()));
}

QList<GridColumn> personColumns(const QStringList& columns, QString (*caption)(const QString&))
{
    QList<GridColumn> out;
    for (const QString& c : columns)
        out << GridColumn {c, caption(c), c == QLatin1String("sahm") ? ColumnKind::Number : ColumnKind::Text};
    out << GridColumn {QStringLiteral("id"), QStringLiteral("id"), ColumnKind::Number, true};
    return out;
}

QList<GridColumn> dependantColumns()
{
    QList<GridColumn> out;
    for (const QString& c : partners::dependantColumns())
        out << GridColumn {c, partners::dependantCaption(c)};
    out << GridColumn {QStringLiteral("id"), QStringLiteral("id"), ColumnKind::Number, true};
    return out;
}

} // namespace tavrin::child
