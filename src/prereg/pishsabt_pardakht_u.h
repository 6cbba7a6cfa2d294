#pragma once
// The deposits of one pre-registration: entered one at a time, listed with
// the person's totals, deleted back into the entry fields, exported.
#include "common/windows.h"
#include "prereg/deposits.h"

#include <QHash>
#include <QSqlRecord>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class DBGrid;

class Tpishsabt_pardakht : public TWindow {
    Q_OBJECT
public:
    Tpishsabt_pardakht();

    // The "pardakht" rights: insert enables ins_btn, delete the pop-up's N1.
    void applyRights(const Rights& pardakht) override;
    // Shows the person's name and place, totals and deposits and resets the
    // entry fields (amounts "0").  Throws DbError.
    void preparePerson(const QSqlRecord& person);

    prereg::DepositValues values() const;
    void setValues(const prereg::DepositValues& values);
    QWidget* field(const QString& column) const { return m_fields.value(column); }
    DBGrid* grid() const { return DBGrid1; }
    qint64 personId() const { return m_person; }

public Q_SLOTS:
    void ins_btnClick();
    void N1Click();  // delete the current deposit into the entry fields
    void N2Click();  // Excel
    void refreshTotals();

Q_SIGNALS:
    // The person had been deleted by someone else.
    void personGone();

private:
    void refreshList();

    QHash<QString, QWidget*> m_fields;
    QComboBox *pardakht_typ, *hesab_no, *norvad_bank;
    QLineEdit *mablagh, *vosol;
    QLabel *ostan, *shahrestan, *flname, *mablagh_3harfi, *vosol_3harfi, *mablagh_sum, *vosol_sum, *mande;
    QPushButton* ins_btn;
    QAction *N1, *N2;
    DBGrid* DBGrid1;
    qint64 m_person = 0;
    QString m_ostan;
};

} // namespace tavrin
