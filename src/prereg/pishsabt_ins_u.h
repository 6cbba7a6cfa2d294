#pragma once
// The pre-registration entry window: a new person, or an edit of the person
// selected in the pre-registration list.
#include "common/windows.h"
#include "prereg/pishsabt_logic.h"

#include <QHash>
#include <QSqlRecord>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tavrin {

class Tpishsabt_ins : public TWindow {
    Q_OBJECT
public:
    Tpishsabt_ins();

    // Empties the window for a new person, registration date today.
    void prepareNew();
    // Fills the window from a stored person.
    void prepareEdit(const QSqlRecord& person);

    // The fields as the save reads them, by column name.
    prereg::PersonValues values() const;
    void setValues(const prereg::PersonValues& values);
    // A field by its column name.
    QWidget* field(const QString& column) const { return m_fields.value(column); }
    qint64 editedId() const { return m_id; }

public Q_SLOTS:
    void ins_btnClick();
    void edit_btnClick();
    // Choosing a province refills the counties.
    void ostanChange();

Q_SIGNALS:
    // A person was saved (the list shows it).
    void saved(qint64 id);
    // The edited person had been deleted by someone else (the list refreshes).
    void gone();

private:
    void fillLists();
    void showRefusal(const Outcome& r);
    void useSaveButton(QPushButton* b);
    // A save another user overtook: offers to show the person as stored now.
    void askToReload(const QString& message);

    QHash<QString, QWidget*> m_fields;
    QComboBox *ostan, *shahrestan;
    QPushButton *ins_btn, *edit_btn;
    qint64 m_id = 0;
    prereg::PersonValues m_before;  // the person as the window was filled
};

} // namespace tavrin
