#include "criteria.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace tavrin {

namespace {
void applyState(QCheckBox* box, QWidget* field)
{
    const bool on = box->isChecked();
    field->setEnabled(on);
    field->setStyleSheet(on ? QStringLiteral("background-color: yellow;") : QString());
    if (on && box->isVisible())
        field->setFocus();
}
} // namespace

void bindCriterion(QCheckBox* box, QWidget* field)
{
    applyState(box, field);
    QObject::connect(box, &QCheckBox::toggled, field, [box, field] { applyState(box, field); });
}

QString fieldText(const QWidget* field)
{
    if (auto e = qobject_cast<const QLineEdit*>(field))
        return e->text();
    if (auto c = qobject_cast<const QComboBox*>(field))
        return c->currentText();
    if (auto p = qobject_cast<const QPlainTextEdit*>(field))
        return p->toPlainText();
    return {};
}

void setFieldText(QWidget* field, const QString& text)
{
    if (auto e = qobject_cast<QLineEdit*>(field)) {
        e->setText(text);
    } else if (auto c = qobject_cast<QComboBox*>(field)) {
        if (c->isEditable())
            c->setEditText(text);
        else
            c->setCurrentIndex(c->findText(text));
    } else if (auto p = qobject_cast<QPlainTextEdit*>(field)) {
        p->setPlainText(text);
    }
}

void clearCriteria(const QList<QCheckBox*>& boxes)
{
    for (QCheckBox* b : boxes)
        b->setChecked(false);
}

} // namespace tavrin
