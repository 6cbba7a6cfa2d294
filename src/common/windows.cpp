#include "windows.h"

#include "dialogs.h"

#include "db/schema.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <map>

namespace tavrin {

namespace {
std::map<std::type_index, QPointer<QDialog>>& registry()
{
    static std::map<std::type_index, QPointer<QDialog>> r;
    return r;
}
} // namespace

TWindow::TWindow(const QString& name, const QString& caption, QWidget* parent) : QDialog(parent)
{
    setObjectName(name);
    setWindowTitle(caption);
    setLayoutDirection(Qt::RightToLeft);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
}

int TWindow::showModal()
{
    return dialogs().exec(this);
}

namespace detail {
QDialog* findWindow(std::type_index type)
{
    auto it = registry().find(type);
    return it == registry().end() ? nullptr : it->second.data();
}

void keepWindow(std::type_index type, QDialog* w)
{
    registry()[type] = w;
}
} // namespace detail

void destroyWindows()
{
    auto windows = std::move(registry());
    registry().clear();
    for (auto& [type, w] : windows)
        delete w.data();
}

QLineEdit* makeEdit(QWidget* parent, const QString& name, int maxLength)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    return e;
}

QComboBox* makeCombo(QWidget* parent, const QString& name, bool editable)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(editable);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMaxVisibleItems(20);
    return c;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel* makeLabel(QWidget* parent, const QString& text, const QString& name)
{
    auto* l = new QLabel(text, parent);
    if (!name.isEmpty())
        l->setObjectName(name);
    return l;
}

int columnLength(const QString& table, const QString& column)
{
    const TableDef* t = schema().table(table);
    const ColumnDef* c = t ? t->column(column) : nullptr;
    return c && c->type == ColType::Text ? c->length : 0;
}

} // namespace tavrin
