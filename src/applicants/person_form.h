#pragma once
// The entry form of a person (a partner or a dependant): one field per column,
// four captions and fields to a row from the right, each field named after its
// column and limited to the column's length.
#include "applicants/partners_logic.h"

#include <QHash>
#include <QStringList>

class QGridLayout;
class QGroupBox;
class QWidget;

namespace tavrin::child {

class PersonForm {
public:
    enum class Kind { Text, Digits, Real, Date, Choice, FixedChoice };
    struct FieldDef {
        QString column;
        Kind kind = Kind::Text;
        QStringList choices = {};   // the fixed choices of a FixedChoice
    };

    // table: the columns' table (lengths); caption: the caption of a column.
    PersonForm(QWidget* parent, const QString& table, const QList<FieldDef>& fields,
               QString (*caption)(const QString&));

    QGroupBox* box() const { return m_box; }
    QWidget* field(const QString& column) const { return m_fields.value(column); }
    // The fields in the form's order (right to left, top to bottom).
    const QList<QWidget*>& order() const { return m_order; }

    partners::PersonValues values() const;
    void setValues(const partners::PersonValues& v);
    // Empties the given columns (every column when none are given).
    void clear(const QStringList& columns = {});
    // Fills the choices of a pick list, keeping its text.
    void setChoices(const QString& column, const QStringList& items);

private:
    QGroupBox* m_box = nullptr;
    QHash<QString, QWidget*> m_fields;
    QList<QWidget*> m_order;
};

} // namespace tavrin::child
