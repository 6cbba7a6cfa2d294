#pragma once
// The unit-loan window "تسهيلات يک واحد": the loans one unit receives from
// its project's facilities.  The facility is chosen by bank, then credit
// source, then date (facilities with a received amount only); its share per
// unit is proposed as the loan and may be changed before it is added.
#include "common/windows.h"
#include "facilities_logic.h"

#include <QSqlRecord>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class DBGrid;
class TMonEdit;

class Tvahed_vam : public TWindow {
    Q_OBJECT
public:
    Tvahed_vam();

    // Opens the loans of a unit (a vahedha row) of the project.
    void prepare(const QSqlRecord& project, const QSqlRecord& unit);

    const QSqlRecord& project() const { return m_project; }
    qint64 unitId() const { return m_unitId; }
    // The facility chosen (0 when none is).
    qint64 chosenFacility() const;

    QLineEdit *ostan, *shahrestan, *prj_name, *bolok, *shenase;
    QComboBox *bank, *etebar_loc, *dat1;
    TMonEdit* vam;
    QLineEdit* tashilat_id;  // hidden: the chosen facility's id
    QLabel* vam_sum;
    QPushButton* ins_btn;
    DBGrid* DBGrid1;
    QAction* N1;

public Q_SLOTS:
    void bankChange();
    void etebar_locChange();
    void dat1Change();
    void ins_btnClick();
    void N1Click();  // delete the selected loan

Q_SIGNALS:
    // A loan was added or deleted (the unit's total changed).
    void loansChanged();

private:
    void refreshLoans();
    void resetChoice();
    void fillSources();  // credit sources of the chosen bank, none chosen
    void fillDates();    // facilities of the chosen bank and source, none chosen

    QSqlRecord m_project;
    qint64 m_unitId = 0;
};

} // namespace tavrin
