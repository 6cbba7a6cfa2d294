#pragma once
// The three lower lists of the project window (units, storage rooms, parking
// spaces) with their filters, counters and pop-up menus, and the entry windows
// they open.  The project window embeds them and hands them the selected
// project; they do the rest.
#include "common/listquery.h"
#include "common/rights.h"
#include "common/xlsxexport.h"

#include <QSqlRecord>
#include <QWidget>

#include <functional>

class QLabel;

namespace tavrin {

class DBGrid;
class TProjectSpaceWindow;
namespace spaces {
struct SpaceKind;
}

// Which lower list a panel shows.
enum class ProjectItems { Units, StorageRooms, ParkingSpaces };

class ProjectItemsPanel : public QWidget {
    Q_OBJECT
public:
    explicit ProjectItemsPanel(ProjectItems kind, QWidget* parent = nullptr);
    ~ProjectItemsPanel() override;

    ProjectItems kind() const { return m_kind; }
    // The project whose items are listed (an empty record clears the list).
    void setProject(const QSqlRecord& project);
    // The same project read again after a save of the project itself, which
    // changes none of its items: the list stays as it is.
    void setProjectKeepingList(const QSqlRecord& project) { m_project = project; }
    const QSqlRecord& project() const { return m_project; }
    // Runs the list's search again with its filters (throws nothing; failures are reported).
    void search();
    // Clears the filters (when the project window opens).
    void clearFilters();
    // The "vahed" page rights: insert enables the new-item entry of the project
    // window (see newItems) and the units' pop-up "تخصيص وام" (N34); edit and
    // delete the pop-up "ويرايش" and "حذف".  The units' "ثبت متقاضي" (N23) is
    // enabled once its opener is registered (setNewApplicantOpener).
    void applyRights(const Rights& vahed);

    // The applicant record lives above the projects: the program registers the
    // opener of "ثبت متقاضي" (a new applicant for the current unit) at start-up.
    using NewApplicantOpener = std::function<void(const QSqlRecord& project, const QSqlRecord& unit)>;
    static void setNewApplicantOpener(NewApplicantOpener open);

    DBGrid* grid() const;
    // The counter label of the project window that shows this list's count
    // (`vahed_cnt`, `anbari_cnt`, `parking_cnt`); the panel keeps it current.
    void setCounter(QLabel* counter);
    // Adds a widget at the end of the filter row (the counter and its caption).
    void addToFilterRow(QWidget* w);

    // Whether the "vahed" rights allow new items (newItems does nothing otherwise).
    bool canInsert() const;
    // The list's search statement with the ticked filters.
    ListQuery listQuery() const;

public Q_SLOTS:
    // The project window's menus "واحدها", "انباري ها", "پارکينگ ها": key in new
    // items for the current project (does nothing without a project).
    void newItems();
    // The pop-up actions of the list's current row (need the edit / delete right).
    void editItem();
    void deleteItem();
    // Excel export of the list as shown (its filters and order).
    void exportItems();
    // Units panel: the printed unit list of the project window's "چاپ" menu
    // (entry N20 "واحدها"), over the list as shown.
    void printUnits();

    // The handlers under their names in the project window's forms.
    void N12Click();      // units: edit
    void N13Click();      // units: delete
    void N14Click();      // units: Excel
    void N34Click();      // units: the loans of the selected unit
    void N17Click();      // storage rooms: edit
    void N10Click();      // storage rooms: delete
    void N15Click();      // storage rooms: Excel
    void N18Click();      // parking spaces: edit
    void N11Click();      // parking spaces: delete
    void N16Click();      // parking spaces: Excel
    void N23Click();      // units: a new applicant for the unit
    void BitBtn1Click();  // units: filter
    void BitBtn2Click();  // storage rooms: filter
    void BitBtn3Click();  // parking spaces: filter

Q_SIGNALS:
    // Items were added, edited or deleted (the project window refreshes its totals).
    void itemsChanged();

private Q_SLOTS:
    void refreshAfterChange();

private:
    bool hasProject() const;
    const spaces::SpaceKind& spaceKind() const;
    TProjectSpaceWindow& spaceWindow() const;

    struct Impl;
    ProjectItems m_kind;
    QSqlRecord m_project;
    Impl* d;
};

// Column titles of the Excel exports of the lists.
HeaderMap unitExcelHeaders();
HeaderMap spaceExcelHeaders(bool parking);
// The unit list's column titles (column, title): the record history shows a
// unit's fields by them.
QList<QPair<QString, QString>> unitColumnCaptions();

} // namespace tavrin
