#pragma once
// The search of assigned spaces across applicants "پارکينگ و انباري ها":
// the parking spaces and storage rooms of every applicant, each list
// exported to Excel.
#include "applicants/applicant_windows.h"
#include "applicants/assignments_logic.h"
#include "applicants/child_widgets.h"

#include "common/windows.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class DBGrid;

// The assigned parking spaces and storage rooms of every applicant.
class Tparking_src : public TWindow {
    Q_OBJECT
public:
    Tparking_src();
    // Criteria and counts cleared, pick lists filled; the list's height less 20 pixels.
    void open(const applicants::ApplicantContext& c);
    assignments::SearchCriteria criteria() const;
    DBGrid* grid(bool parking) const { return parking ? DBGrid1 : DBGrid2; }

public Q_SLOTS:
    void src_btnClick();
    void N1Click();   // Excel of the parking spaces
    void N2Click();   // Excel of the storage rooms

private:
    QList<QCheckBox*> m_boxes;
    QComboBox *shahrestan = nullptr, *prj_name = nullptr;
    QLineEdit *num_p = nullptr, *num_a = nullptr;
    QLabel *cnt1 = nullptr, *cnt2 = nullptr;
    QPushButton* src_btn = nullptr;
    DBGrid *DBGrid1 = nullptr, *DBGrid2 = nullptr;
};

} // namespace tavrin
