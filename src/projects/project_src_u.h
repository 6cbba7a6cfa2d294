#pragma once
// The project list: searches projects and shows the selected project's units,
// storage rooms and parking spaces; the hub from which projects are entered,
// edited, deleted, exported and printed.
#include "common/listquery.h"
#include "common/windows.h"
#include "projects/projects_logic.h"

#include <QVariantMap>

#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;

namespace tavrin {

class DBGrid;
class ProjectItemsPanel;

class Tproject_src : public TWindow {
    Q_OBJECT
public:
    Tproject_src();

    // The "prj" rights: insert, edit and delete enable N1, N2 and N3.
    void applyRights(const Rights& prj) override;
    // The "vahed" rights (when the user has such a row): insert enables N7, N8
    // and N9; the lists' pop-ups follow them too.
    void applyItemRights(const Rights& vahed);
    // The "tashilat" rights: view enables N21 "تسهيلات"; the others go to the
    // facilities window when it opens.
    void applyFacilityRights(const Rights& tashilat);
    // Clears the filters, refills their pick lists and runs the search.
    void prepareToShow() override;

    DBGrid* grid() const { return DBGrid1; }
    ProjectItemsPanel* panel(int kind) const;
    // The totals of the last search (c, vk, vc, vf, m, ac, pc).
    const QVariantMap& totals() const { return m_totals; }
    // The search statement of the ticked filters.
    ListQuery searchQuery() const;
    // The project of the grid's current row (empty without one).
    QSqlRecord currentProject() const;
    // The printed project list of the current result (what N43 previews).
    QList<QVariantMap> printRows() const;
    QAction* menuAction(const QString& name) const;

    // The applicant list of a project ("ليست متقاضيان اين پروژه", N30) lives
    // above the projects; the program registers it at start-up, and N30 is
    // enabled once it is there.
    using ApplicantsOpener = std::function<void(const QSqlRecord& project)>;
    static void setApplicantsOpener(ApplicantsOpener open);

public Q_SLOTS:
    void src_btnClick();
    void DBGrid1CellClick();
    void N1Click();   // new project
    void N2Click();   // edit project
    void N3Click();   // delete project
    void N5Click();   // Excel
    void N20Click();  // print the unit list
    void N43Click();  // print the project list
    void N44Click();  // the web page
    void N6Click();   // close
    void N30Click();  // the applicants of the current project
    void N21Click();  // the facilities of the project
    void ostanChange();

private:
    void buildMenus();
    void refreshAfterSave(qint64 id);
    void refreshTotals();
    void loadPanels(const QSqlRecord& project);

    QMenuBar* m_menuBar;
    QAction *N1, *N2, *N3, *N21, *N7, *N8, *N9, *N5, *N20, *N43, *N44, *N6, *N30;
    QCheckBox *CheckBox10, *CheckBox11, *CheckBox12, *CheckBox2, *CheckBox13;
    QComboBox *ostan, *shahrestan, *prj_typ, *st_tavrin;
    QLineEdit* prj_name;
    QPushButton* src_btn;
    QLabel *cnt, *vahed_cnt, *anbari_cnt, *parking_cnt;
    DBGrid* DBGrid1;
    ProjectItemsPanel *m_units, *m_storage, *m_parking;
    QVariantMap m_totals;
    Rights m_facilityRights;
    bool m_sized = false;
};

} // namespace tavrin
