#pragma once
// An applicant's paper file: the electronic file "پرونده الکترونيک متقاضي"
// (scanned documents kept whole, uploaded, saved back to disk and opened,
// deleted with the delete password).  The checklist of his paper file is
// Tsavabegh (savabegh_u.h).
#include "applicants/applicant_windows.h"
#include "applicants/child_widgets.h"

#include "common/windows.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace tavrin {

class DBGrid;

class Tcustomers_pic : public TWindow {
    Q_OBJECT
public:
    Tcustomers_pic();

    void applyRights(const Rights& r) override;
    // Header, the applicant's documents, the description cleared, the light red.
    void open(const applicants::ApplicantContext& c);
    DBGrid* grid() const { return DBGrid1; }

public Q_SLOTS:
    void ins_btnClick();                // upload a file
    void DBGrid1CellClick();            // save the current document to disk
    void N1Click();                     // delete the current document

private:
    void refresh();
    void setLight(bool green);

    qint64 m_customerId = 0;
    Rights m_rights;
    child::Header m_header;
    QComboBox* cmt = nullptr;
    QPushButton* ins_btn = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLabel* Shape1 = nullptr;
    DBGrid* DBGrid1 = nullptr;
    QAction* N1 = nullptr;
};

} // namespace tavrin
