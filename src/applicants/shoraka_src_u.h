#pragma once
// The search of partners across applicants: the partners of every
// applicant, by surname and national code, exported to Excel.
#include "applicants/applicant_windows.h"

#include "common/windows.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class DBGrid;

// The partners of every applicant, by surname and national code.
class Tshoraka_src : public TWindow {
    Q_OBJECT
public:
    Tshoraka_src();
    // Criteria and count cleared; the list's height less 20 pixels.
    void open(const applicants::ApplicantContext& c);
    DBGrid* grid() const { return DBGrid1; }

public Q_SLOTS:
    void src_btnClick();
    void N1Click();   // Excel

private:
    QList<QCheckBox*> m_boxes;
    QLineEdit *lname = nullptr, *nation = nullptr;
    QPushButton* src_btn = nullptr;
    QLabel* cnt = nullptr;
    DBGrid* DBGrid1 = nullptr;
};

} // namespace tavrin
