#pragma once
// The applicant list "ليست متقاضيان": searches the applicants of the user's
// counties, and from its current row opens the applicant record, the windows
// of the applicant (dependants, payments, documents, storage and parking,
// partners; see applicant_windows.h) and the printed documents; deletes
// applicants, exports the list to Excel, prints it and writes the mobile
// numbers for text messages.
#include "applicants/customers_logic.h"
#include "common/windows.h"

#include <QSqlRecord>

#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;

namespace tavrin {

class DBGrid;

class Tcustomers_src : public TWindow {
    Q_OBJECT
public:
    Tcustomers_src();

    // The "customers" rights: insert enables "ثبت جديد", edit both "ويرايش"
    // entries, delete "حذف".
    void applyRights(const Rights& r) override;
    // Clears the criteria (only "تاريخ انتقال/فروش" ticked, with "="), refills
    // the pick lists and runs the search.
    void prepareToShow() override;
    // The applicants of a project (the project list's "ليست متقاضيان اين پروژه").
    void showProject(const QSqlRecord& project);

    DBGrid* grid() const { return DBGrid1; }
    // The grid's current applicant: its id (0 without a current row) and its row as listed.
    qint64 currentCustomerId() const;
    QSqlRecord currentCustomer() const;
    // Shows the list again after an applicant was saved, changed by another
    // window or deleted, keeping (or moving to) that applicant's row.
    void refreshCustomer(qint64 id);
    // Shows the list again after a new applicant was saved, on his row: the
    // end of the list with the rows added since the search, without counting
    // the whole list again (ListModel::refreshAfterInsert).
    void showAdded(qint64 id);
    void showRow(int row, int before);
    // The ticked criteria.
    applicants::Criteria criteria() const;
    QAction* menuAction(const QString& name) const;
    // Enables the entries whose windows are registered (applicant_windows.h).
    void enableRegisteredEntries();

public Q_SLOTS:
    void src_btnClick();
    void N1Click();    // new applicant
    void N2Click();    // edit (also the grid's pop-up N28)
    void N5Click();    // delete
    void N8Click();    // Excel
    void N20Click();   // printed list
    void SMS1Click();  // the mobile numbers file
    void N50Click();   // national-code enquiry
    void N10Click();   // close
    void ostanChange();
    // The window registered for an entry, for the current row.
    void openEntry(const QString& entry);

private:
    void buildMenus();
    void fillLists();
    void fillProjectNames();
    void resetCriteria();

    QMenuBar* m_menuBar = nullptr;
    QAction *N1 = nullptr, *N2 = nullptr, *N28 = nullptr, *N5 = nullptr;
    QList<QAction*> m_entries;   // entries opened through the registered windows
    QList<QCheckBox*> m_boxes;   // in the order of the criteria
    QComboBox *ostan = nullptr, *shahrestan = nullptr, *prj_name = nullptr, *tabaghe = nullptr, *karbari = nullptr;
    QComboBox *status = nullptr, *gender = nullptr, *typ = nullptr;
    QComboBox *prot_no_combo = nullptr, *sanad_no_combo = nullptr, *transport_dat_combo = nullptr;
    QLineEdit *nation = nullptr, *lname = nullptr, *bolok = nullptr, *shenase = nullptr, *prot_no = nullptr;
    QLineEdit *sanad_no = nullptr, *transport_dat = nullptr, *reg_user = nullptr;
    QPushButton* src_btn = nullptr;
    QLabel* cnt = nullptr;
    DBGrid* DBGrid1 = nullptr;
    Rights m_rights;
    bool m_sized = false;
};

// The units list's "ثبت متقاضي": the record window, in its new mode, for a free
// unit of an active project, when the user has the insert and view rights of
// the page "customers" (as stored now, not as the lists read them).
void newApplicantForUnit(const QSqlRecord& project, const QSqlRecord& unit);
// The project list's "ليست متقاضيان اين پروژه": the applicant list on the
// project's applicants, with the rights of the page "customers"; fit sizes the
// list before it shows.
void showProjectApplicants(const QSqlRecord& project, const std::function<void(QWidget*)>& fit = {});

} // namespace tavrin
