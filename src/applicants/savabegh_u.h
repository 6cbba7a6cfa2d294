#pragma once
// An applicant's checklist "تکميل پرونده متقاضي": the organisation's
// standard documents present in his paper file, the missing ones, and the
// types recorded or removed (removing asks the delete password).
#include "applicants/applicant_windows.h"
#include "applicants/child_widgets.h"

#include "common/windows.h"

class QListWidget;
class QPushButton;

namespace tavrin {

class DBGrid;

class Tsavabegh : public TWindow {
    Q_OBJECT
public:
    Tsavabegh();

    // Header, the present documents, the missing ones and the full check list.
    void open(const applicants::ApplicantContext& c);
    DBGrid* grid() const { return DBGrid1; }

public Q_SLOTS:
    void BitBtn1Click();   // record the ticked types
    void N1Click();        // remove the current present type

private:
    void refresh();

    qint64 m_customerId = 0;
    child::Header m_header;
    DBGrid* DBGrid1 = nullptr;
    QListWidget *ListBox1 = nullptr, *CheckListBox1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
};

} // namespace tavrin
