#include "applicants/person_form.h"

#include "applicants/child_widgets.h"

#include "common/criteria.h"
#include "common/monedit.h"
#include "common/nationcode.h"
#include "common/windows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace tavrin::child {

PersonForm::PersonForm(QWidget* parent, const QString& table, const QList<FieldDef>& fields,
                       QString (*caption)(const QString&))
{
    m_box = new QGroupBox(parent);
    auto* g = new QGridLayout(m_box);
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(5);
    int i = 0;
    for (const FieldDef& f : fields) {
        const QByteArray name = f.column.toLatin1();
        QWidget* w = nullptr;
        switch (f.kind) {
        case Kind::Text:
            w = textField(m_box, name.constData(), table);
            break;
        case Kind::Digits: {
            QLineEdit* e = textField(m_box, name.constData(), table);
            installDigitFilter(e);
            w = e;
            break;
        }
        case Kind::Real: {
            auto* e = new TRealEdit(m_box);
            e->setObjectName(f.column);
            e->setMaxLength(8);
            alignDigitField(e);
            w = e;
            break;
        }
        case Kind::Date:
            w = makeDateEdit(m_box, f.column);
            break;
        case Kind::Choice:
            w = pickList(m_box, name.constData(), table);
            break;
        case Kind::FixedChoice: {
            QComboBox* c = makeCombo(m_box, f.column, false);
            c->addItems(f.choices);
            c->setCurrentIndex(-1);
            w = c;
            break;
        }
        }
        w->setMinimumWidth(130);
        const int row = i / 4, col = (i % 4) * 2;
        g->addWidget(makeLabel(m_box, caption(f.column)), row, col, Qt::AlignLeft | Qt::AlignVCenter);
        g->addWidget(w, row, col + 1);
        g->setColumnStretch(col + 1, 1);
        m_fields.insert(f.column, w);
        m_order << w;
        ++i;
    }
    for (int k = 1; k < m_order.size(); ++k)
        QWidget::setTabOrder(m_order[k - 1], m_order[k]);
}

partners::PersonValues PersonForm::values() const
{
    partners::PersonValues out;
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it) {
        // A date field's text is the empty date mask when nothing was typed.
        if (auto* d = qobject_cast<TDateEdit*>(it.value()))
            out.insert(it.key(), d->dateText());
        else
            out.insert(it.key(), fieldText(it.value()));
    }
    return out;
}

void PersonForm::setValues(const partners::PersonValues& v)
{
    for (auto it = v.cbegin(); it != v.cend(); ++it) {
        QWidget* w = m_fields.value(it.key());
        if (auto* c = qobject_cast<QComboBox*>(w))
            setComboText(c, it.value());
        else if (w)
            setFieldText(w, it.value());
    }
}

void PersonForm::clear(const QStringList& columns)
{
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it)
        if (columns.isEmpty() || columns.contains(it.key())) {
            if (auto* c = qobject_cast<QComboBox*>(it.value()))
                setComboText(c, QString());
            else
                setFieldText(it.value(), QString());
        }
}

void PersonForm::setChoices(const QString& column, const QStringList& items)
{
    if (auto* c = qobject_cast<QComboBox*>(m_fields.value(column)))
        fillKeepingText(c, items);
}

} // namespace tavrin::child
