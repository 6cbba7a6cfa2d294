#pragma once
// The payment search "گزارشات پرداخت ها": payments of many applicants by
// applicant and payment criteria, with the applicants' totals, the payments'
// totals and the balance, sorted by a title click and exported to Excel.
#include "applicants/applicant_windows.h"
#include "applicants/payments_logic.h"

#include "common/windows.h"

#include <QHash>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class DBGrid;

class Tpardakht_src : public TWindow {
    Q_OBJECT
public:
    Tpardakht_src();

    // Criteria and totals cleared, pick lists filled, the list's height less 20 pixels.
    void open(const applicants::ApplicantContext& c);
    payments::SearchCriteria criteria() const;
    DBGrid* grid() const { return DBGrid1; }

public Q_SLOTS:
    void src_btnClick();
    void N1Click();   // Excel
    void ostanChange();

private:
    void clearTotals();

    QList<QCheckBox*> m_boxes;
    QComboBox *ostan = nullptr, *shahrestan = nullptr, *prj_name = nullptr, *pardakht_typ = nullptr, *norvad_bank = nullptr;
    QLineEdit *shenase = nullptr, *nation = nullptr, *lname = nullptr, *dat1 = nullptr, *dat2 = nullptr, *hesab_no = nullptr,
              *num = nullptr;
    QHash<QString, QLabel*> m_totals;
    QPushButton* src_btn = nullptr;
    DBGrid* DBGrid1 = nullptr;
};

} // namespace tavrin
