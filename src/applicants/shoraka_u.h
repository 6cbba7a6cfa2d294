#pragma once
// The partners of one applicant "شرکا" (their shares with his at most six,
// each partner's dependants one click away).  The search of partners across
// applicants is Tshoraka_src (shoraka_src_u.h).
#include "applicants/applicant_windows.h"
#include "applicants/child_widgets.h"
#include "applicants/person_form.h"

#include "common/windows.h"

#include <memory>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class DBGrid;

class Tshoraka : public TWindow {
    Q_OBJECT
public:
    Tshoraka();

    // Header, cleared fields (share "0") and the applicant's partners.  An
    // applicant whose own share is six has no room for partners: the message
    // is shown and false returned (the window is not to be opened).
    bool open(const applicants::ApplicantContext& c);
    child::PersonForm& form() { return *m_form; }
    DBGrid* grid() const { return DBGrid1; }
    qint64 customerId() const { return m_customerId; }

public Q_SLOTS:
    void ins_btnClick();
    void N1Click();   // delete the current partner
    void N2Click();   // the current partner's dependants
    void sahmExit();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void refresh();

    qint64 m_customerId = 0;
    QSqlRecord m_customer;
    std::function<void()> m_changed;
    child::Header m_header;
    std::unique_ptr<child::PersonForm> m_form;
    QPushButton* ins_btn = nullptr;
    DBGrid* DBGrid1 = nullptr;
    QAction *N1 = nullptr, *N2 = nullptr;
};

} // namespace tavrin
