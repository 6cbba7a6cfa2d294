#pragma once
// The dependants "افراد تحت تکفل" of an applicant, or of one of his partners.
// The search of dependants across applicants is Ttakafol_src
// (takafol_src_u.h).
#include "applicants/applicant_windows.h"
#include "applicants/child_widgets.h"
#include "applicants/person_form.h"

#include "common/windows.h"

#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class DBGrid;

class Ttakafol_frm : public TWindow {
    Q_OBJECT
public:
    Ttakafol_frm();

    // The applicant's own dependants (the hidden box shoraka_id ticked): every
    // field cleared, "تحت تکفل" preset to "هست".
    void openForApplicant(const applicants::ApplicantContext& c);
    // The dependants of one of the applicant's partners (the box cleared), the
    // fields cleared as for the applicant's.
    void openForPartner(const QSqlRecord& customer, const QSqlRecord& partner, const Rights& rights, int height);

    child::PersonForm& form() { return *m_form; }
    DBGrid* grid() const { return DBGrid1; }
    qint64 partnerId() const { return m_partnerId; }

public Q_SLOTS:
    void ins_btnClick();
    void N1Click();   // delete the current dependant
    void nesbatChange();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void prepare(const QSqlRecord& customer, const Rights& rights, int height);
    void refresh();

    qint64 m_customerId = 0;
    qint64 m_partnerId = 0;
    Rights m_rights;
    child::Header m_header;
    std::unique_ptr<child::PersonForm> m_form;
    QCheckBox* shoraka_id = nullptr;
    QPushButton* ins_btn = nullptr;
    DBGrid* DBGrid1 = nullptr;
    QAction* N1 = nullptr;
};

} // namespace tavrin
