#pragma once
// The three lower lists of the project window (units, storage rooms, parking
// spaces) with their filters, counters and pop-up menus, and the entry windows
// they open.  The project window embeds them and hands them the selected
// project; they do the rest.
#include "common/rights.h"

#include <QSqlRecord>
#include <QWidget>

class QLabel;

namespace tavrin {

class DBGrid;

// Which lower list a panel shows.
enum class ProjectItems { Units, StorageRooms, ParkingSpaces };

class ProjectItemsPanel : public QWidget {
    Q_OBJECT
public:
    explicit ProjectItemsPanel(ProjectItems kind, QWidget* parent = nullptr);

    ProjectItems kind() const { return m_kind; }
    // The project whose items are listed (an empty record clears the list).
    void setProject(const QSqlRecord& project);
    const QSqlRecord& project() const { return m_project; }
    // Runs the list's search again with its filters (throws nothing; failures are reported).
    void search();
    // Clears the filters (when the project window opens).
    void clearFilters();
    // The "vahed" page rights: insert enables the new-item entry of the project
    // window (see newItems) and the pop-up "تخصيص وام"; edit and delete the
    // pop-up "ويرايش" and "حذف".
    void applyRights(const Rights& vahed);

    DBGrid* grid() const;
    // The counter label of the project window that shows this list's count
    // (`vahed_cnt`, `anbari_cnt`, `parking_cnt`); the panel keeps it current.
    void setCounter(QLabel* counter);

public Q_SLOTS:
    // The project window's menus "واحدها", "انباري ها", "پارکينگ ها": key in new
    // items for the current project (does nothing without a project).
    void newItems();

Q_SIGNALS:
    // Items were added, edited or deleted (the project window refreshes its totals).
    void itemsChanged();

private:
    struct Impl;
    ProjectItems m_kind;
    QSqlRecord m_project;
    Impl* d;
};

} // namespace tavrin
