#pragma once
// The search of dependants across applicants: the dependants of every
// applicant, by surname, relation and national code, exported to Excel.
#include "applicants/applicant_windows.h"

#include "common/windows.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class DBGrid;

// The dependants of every applicant, by surname, relation and national code.
class Ttakafol_src : public TWindow {
    Q_OBJECT
public:
    Ttakafol_src();
    // Criteria and count cleared, the relation choices filled; the list's height less 20 pixels.
    void open(const applicants::ApplicantContext& c);
    DBGrid* grid() const { return DBGrid1; }

public Q_SLOTS:
    void src_btnClick();
    void N1Click();   // Excel

private:
    QList<QCheckBox*> m_boxes;
    QLineEdit *lname = nullptr, *nation = nullptr;
    QComboBox* nesbat = nullptr;
    QPushButton* src_btn = nullptr;
    QLabel* cnt = nullptr;
    DBGrid* DBGrid1 = nullptr;
};

} // namespace tavrin
