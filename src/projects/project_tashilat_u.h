#pragma once
// The facilities window "تسهيلات پروژه": the bank facilities and credits of
// one project, entered and edited in the form above their list.  A click on a
// facility shows what its unit loans use and what remains of its received
// amount.
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
class TRealEdit;

class Tproject_tashilat : public TWindow {
    Q_OBJECT
public:
    Tproject_tashilat();

    // The "tashilat" rights: insert enables "ثبت", edit "ويرايش" (button and
    // pop-up), delete the pop-up "حذف".
    void applyRights(const Rights& tashilat) override;
    // Opens the project's facilities with an empty form for a new one.
    void prepare(const QSqlRecord& project);

    facilities::FacilityForm form() const;
    const QSqlRecord& project() const { return m_project; }
    // The facility being edited (0 while a new one is entered).
    qint64 editedId() const { return m_editedId; }

    // The project (read-only)
    QLineEdit *prj_name, *ostan, *shahrestan;
    // The facility
    QComboBox *prot_typ, *bank, *etebar_loc;
    QLineEdit *mablagh, *daryafti;
    QLabel *mablagh_3harfi, *daryafti_3harfi;
    QLineEdit *takhsis_dat, *dat1, *dat2, *tamdid_dat;
    TRealEdit* darsad;
    QLineEdit *vahed_cnt, *cmt;
    QLabel *mablaghCaption, *dat1Caption;
    QPushButton *ins_btn, *edit_btn;
    // The list and what the clicked facility's loans use
    DBGrid* DBGrid1;
    QAction *N3, *N1, *N2;
    QLabel *vahed_tashilat_sum, *mande;

public Q_SLOTS:
    // Applies the contract type's form rules.
    void prot_typChange();
    void ins_btnClick();
    void edit_btnClick();
    void N3Click();  // load the selected facility for editing
    void N1Click();  // delete the selected facility
    void N2Click();  // Excel
    void DBGrid1CellClick();

private:
    void fillLists();
    void clearForm();
    void setInsertMode(bool insert);
    void refreshList();
    void updateGroupedLabels();
    void showForm(const facilities::FacilityForm& f);
    void focusField(const QString& name);
    qint64 currentId() const;

    // A save another user overtook: offers to show the facility as stored now.
    void askToReload(const Outcome& r);

    QSqlRecord m_project;
    qint64 m_editedId = 0;
    QSqlRecord m_read;  // the facility being edited as the form showed it
    Rights m_rights;
};

} // namespace tavrin
