#pragma once
// The country-division entry window "ثبت/ويرايش آبادي" (Tabadiha_ins).
#include "divisions.h"

#include "common/fieldcheck.h"
#include "common/windows.h"

class QComboBox;
class QPushButton;

namespace tavrin {

class Tabadiha_ins : public TWindow {
    Q_OBJECT
public:
    Tabadiha_ins();

    QComboBox *ostan, *shahrestan, *shahr, *bakhsh, *dehestan, *rosta, *cod;
    QPushButton* ins_btn;   // "ثبت": a new settlement
    QPushButton* edit_btn;  // "ويرايش": the settlement being edited

    // Empty fields, "ثبت" shown and "ويرايش" hidden.
    void startInsert();
    // The row's values in the fields, "ويرايش" shown and "ثبت" hidden.
    void startEdit(const Division& d);
    // The values of the fields.
    Division fields() const;
    // The row being edited (0 for a new one).
    qint64 editedId() const { return m_id; }

public Q_SLOTS:
    void ins_btnClick();
    void edit_btnClick();

private:
    QList<QComboBox*> levels() const;
    // Fills the list of level (1..6) from the values above it.
    void fillLevel(int level);
    void levelChanged(int level);
    bool checkFields();
    void showRefusal(const FieldRefusal& r);
    qint64 m_id = 0;
    QString m_oldCod;
};

} // namespace tavrin
